#include "MainWindow.h"

#include "AboutBox.h"
#include "ProgressWindow.h"
#include "QtUserDialogs.h"
#include "StatusBarPresenter.h"
#include "StatusPanel.h"
#include "ToolIcons.h"
#include "config/ConfigFile.h"
#include "config/ui/ConfigDiffWindow.h"
#include "config/ui/ConfigDumpWindow.h"
#include "config/ui/ConfigWindow.h"
#include "config/ui/ConfigWindowFactory.h"
#include "config/ui/texts.h"
#include "device/DeviceConsole.h"
#include "device/ServicePanel.h"
#include "device/ui/DeviceWindow.h"
#include "device/ui/ServicePages.h"
#include "events/ui/EventViewer.h"
#include "line/DeviceTasks.h"
#include "line/TaskTexts.h"
#include "link/ModbusParams.h"
#include "link/SerialPort.h"
#include "link/texts.h"
#include "link/ui/TrafficWindow.h"
#include "monitor/LiveMonitor.h"
#include "monitor/ServiceMenus.h"
#include "monitor/ui/ChartSettingsWindow.h"
#include "monitor/ui/MonitorWindow.h"
#include "monitor/ui/ServicePanels.h"
#include "project/ProjectModel.h"
#include "project/ProjectPaths.h"
#include "project/ProjectReport.h"
#include "project/texts.h"
#include "project/ui/LinkDetailsWindow.h"
#include "project/ui/LinkSettingsWindow.h"
#include "project/ui/ProjectTreeView.h"
#include "texts.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor {

namespace t = main_texts;

namespace {

// The service page's operations run on the line in their turn, on the controller the window has
// marked now; the window counts as busy until the line has answered.
class SessionServiceLine : public ServiceLine {
public:
    SessionServiceLine(LineSession& session, Project& project) : session_(session), project_(project) {}
    void run(TaskTurn turn, std::function<bool(LineAccess&)> op, std::function<void(bool)> done) override {
        session_.submit<bool>(turn, std::move(op), [done = std::move(done)](const JobResult<bool>& r) {
            done(r.ran() && *r.value);
        });
    }
    void queue(LineTask task) override { session_.queueTask(task); }
    std::optional<DeviceLink> markedLink() const override {
        const auto d = project_.markedDevice();
        if (!d)
            return std::nullopt;
        const DeviceRecord& r = project_.model.record(*d);
        return DeviceLink{r.ZarnetAddress, r.ModbusAddress, r.MbParams};
    }
    void storeMarkedLink(const DeviceLink& link) override {
        if (const auto d = project_.markedDevice()) {
            DeviceRecord& r = project_.model.record(*d);
            r.ZarnetAddress = link.zarnetAddress;
            r.ModbusAddress = link.modbusAddress;
            r.MbParams = link.mbParams;
        }
    }

private:
    LineSession& session_;
    Project& project_;
};

// The live monitor's run on the line: its poll job in the monitor's turn of every tick.
class WorkerMonitorLine : public monitor::MonitorLine {
public:
    explicit WorkerMonitorLine(LineWorker& worker) : worker_(worker) {}
    JobTicket start(monitor::PollJobStep step,
                    std::function<void(std::vector<monitor::MonitorRecord>)> deliver,
                    std::function<void(JobOutcome)> ended) override {
        return worker_.submitPeriodic<monitor::MonitorRecord>(TaskTurn::Visual, std::move(step),
                                                              std::move(deliver), std::move(ended));
    }
    void stop(JobTicket ticket) override { worker_.cancel(ticket); }

private:
    LineWorker& worker_;
};

// The device window's commands on the line: direct jobs between ticks, on the project's port.
class SessionDeviceLine : public DeviceLine {
public:
    SessionDeviceLine(LineSession& session, Project& project) : session_(session), project_(project) {}
    void run(const DirectTarget& target, std::function<bool(LineAccess&)> op,
             std::function<void(DirectEnd)> done) override {
        session_.submitDirect<bool>(
            target, std::move(op),
            [done = std::move(done)](const JobResult<bool>& r) { done(directEnd(r)); });
    }
    void readConfiguration(const DirectTarget& target, std::function<void(DirectEnd)> done) override {
        session_.readConfigurationDirect(
            target, [done = std::move(done)](const JobResult<bool>& r) { done(directEnd(r)); });
    }
    std::shared_ptr<TransferProgress> progressOnWindow(TransferProgress& shown) override {
        return session_.worker().progressOnWindow(shown);
    }
    int portNumber() const override { return project_.model.PortNumber; }
    void setPortNumber(int number) override {
        if (project_.model.PortNumber == number)
            return;
        // As the link settings window does: the line reaches the port from the next tick.
        project_.model.PortNumber = static_cast<uint8_t>(number);
    }

private:
    LineSession& session_;
    Project& project_;
};

// The monitor's service menus on the marked controller: a direct job, like the device window's, on
// the project's port and the active address.
class LineControllerAccess : public monitor::ControllerAccess {
public:
    LineControllerAccess(DeviceLine& line, Project& project) : line_(line), project_(project) {}
    void run(std::function<void(ZarnetLink&)> op, std::function<void(bool ran)> done) override {
        DirectTarget target;
        target.portNumber = line_.portNumber();
        target.zarnetAddress = project_.activeZarnetAddress();
        line_.run(
            target,
            [op = std::move(op)](LineAccess& a) {
                op(a.link);
                return true;
            },
            [done = std::move(done)](const DirectEnd& end) {
                if (done)
                    done(end.ran);
            });
    }

private:
    DeviceLine& line_;
    Project& project_;
};

// The line's progress for a window built when the first transfer begins.
class ProgressOnDemand final : public TransferProgress {
public:
    ProgressOnDemand(std::function<TransferProgress&()> build, std::function<ProgressWindow*()> built)
        : build_(std::move(build)), built_(std::move(built)) {}
    void begin(const QString& title, int maximum) override { build_().begin(title, maximum); }
    void step(const QString& line) override { build_().step(line); }
    void setPosition(int position) override { build_().setPosition(position); }
    void end() override {
        // Nothing to hide when no transfer has shown the window yet.
        if (ProgressWindow* w = built_())
            w->end();
    }

private:
    std::function<TransferProgress&()> build_;
    std::function<ProgressWindow*()> built_;
};

// A configuration file loaded into the image is shown in the configuration window, built for it if
// need be.
class ConfigOnDemand final : public ConfigObserver {
public:
    explicit ConfigOnDemand(std::function<ConfigObserver&()> build) : build_(std::move(build)) {}
    void configurationChanged(ConfigViews views) override { build_().configurationChanged(views); }
    void selectFirstRows() override { build_().selectFirstRows(); }
    void showFirstPage() override { build_().showFirstPage(); }
    void setTransferRunning(bool running) override { build_().setTransferRunning(running); }

private:
    std::function<ConfigObserver&()> build_;
};

} // namespace

namespace {

constexpr int kRefreshMs = 1000;
// Five steps a second: the sweep reads as movement, and an idle linked window costs little.
constexpr int kRunStringMs = 200;
constexpr int kAboutMs = 3000;
constexpr int kMinTreeWidth = 230;
constexpr int kMinWorkingAreaWidth = 400;
// The working area the configuration window's pages are laid out for (a 1024 px screen gives it
// this much); the tree panel grows for long names only beyond it.
constexpr int kComfortWorkingAreaWidth = 680;
constexpr int kMinLogHeight = 40;
constexpr int kPanelPadding = 15;
constexpr int kPanelGap = 2;

void setTextIfChanged(QMdiSubWindow* window, const QString& title) {
    if (window->windowTitle() != title)
        window->setWindowTitle(title);
}

void setTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

bool isWorkingPlaceholder(const QString& text) {
    return text == t::kNoConfigFile || text == t::kNoEventsFile || text == t::kNoVisualFile;
}

} // namespace

MainWindow::MainWindow(Options options, QWidget* parent)
    : QMainWindow(parent), WorkingConfigFile(t::kNoConfigFile), WorkingEventsFile(t::kNoEventsFile),
      WorkingVisualFile(t::kNoVisualFile), options_(std::move(options)) {
    if (options_.dialogs) {
        dialogs_ = options_.dialogs;
    } else {
        ownDialogs_ = std::make_unique<QtUserDialogs>();
        ownDialogs_->setParent(this);
        dialogs_ = ownDialogs_.get();
    }
    project_ = std::make_unique<Project>(*dialogs_, this, options_.programDir);
    project_->activeLink = &binding_;
    setWindowTitle(t::kAppTitle);

    buildMenus();
    buildToolBar();
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    logSplitter_ = new QSplitter(Qt::Vertical, central);
    sideSplitter_ = new QSplitter(Qt::Horizontal, logSplitter_);
    modePanel_ = buildModePanel();
    treePanel_ = buildTreePanel();
    sideSplitter_->addWidget(modePanel_);
    sideSplitter_->addWidget(treePanel_);
    sideSplitter_->addWidget(buildClientArea());
    sideSplitter_->setStretchFactor(2, 1);
    // No panel, and above all not the working area, can be dragged out of sight.
    sideSplitter_->setCollapsible(0, false);
    sideSplitter_->setCollapsible(1, false);
    sideSplitter_->setCollapsible(2, false);
    log_ = new QPlainTextEdit(logSplitter_);
    log_->setReadOnly(true);
    logSplitter_->addWidget(sideSplitter_);
    logSplitter_->addWidget(log_);
    logSplitter_->setStretchFactor(0, 1);
    logSplitter_->setCollapsible(0, false);
    logSplitter_->setCollapsible(1, false);
    log_->setMinimumHeight(kMinLogHeight);
    centralLayout->addWidget(logSplitter_);
    setCentralWidget(central);
    buildStatusBar();

    createCore();
    installProjectHooks();
    BusyState::setListener([this](bool busy) { busyChanged(busy); });

    // The design geometry, unless Form.ini remembers another one; a Form.ini beside the program
    // (where older versions kept it) is read once when the user has none yet.
    std::optional<FormGeometry> remembered = readFormIni(formIniPath());
    if (!remembered)
        remembered = readFormIni(QDir(options_.programDir).filePath(kFormIniName));
    applyGeometry(remembered ? *remembered : firstStartGeometry());

    refreshTimer_.setInterval(kRefreshMs);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { refresh(); });
    refreshTimer_.start();
    // The running text only runs while the link is up (see lineStatusChanged).
    runStringTimer_.setInterval(kRunStringMs);
    connect(&runStringTimer_, &QTimer::timeout, this, [this] {
        if (const auto text = statusBar_.runStringTick(project_->LinkUp))
            setPanel(4, *text);
    });
    aboutTimer_.setInterval(kAboutMs);
    aboutTimer_.setSingleShot(true);
    connect(&aboutTimer_, &QTimer::timeout, this, [this] {
        if (about_)
            about_->close();
    });
    aboutTimer_.start();
}

MainWindow::~MainWindow() {
    // The line first: it may still be asking the dialogs or telling the progress window something.
    session_.reset();
    BusyState::setListener({});
}

// ---------------------------------------------------------------- building

void MainWindow::buildMenus() {
    QMenu* projectMenu = menuBar()->addMenu(t::kMenuProject);
    QAction* create = projectMenu->addAction(t::kMenuCreate, this, [this] {
        if (refuseWhileWriting() || !project_->settleUnsavedChanges())
            return;
        project_->CreateProject();
        treeChanged();
    });
    QAction* open = projectMenu->addAction(t::kMenuOpen, this, [this] {
        if (refuseWhileWriting() || !project_->settleUnsavedChanges())
            return;
        project_->OpenProject();
        treeChanged();
    });
    projectMenu->addAction(t::kMenuSave, this, [this] { project_->SaveProject(); });
    projectMenu->addAction(t::kMenuSaveAs, this, [this] {
        project_->SaveProjectAs();
        treeChanged();
    });
    projectMenu->addSeparator();
    projectMenu->addAction(t::kMenuExit, this, [this] { close(); });
    projectReplacing_ = {create, open};

    QMenu* modeMenu = menuBar()->addMenu(t::kMenuMode);
    modeMenu->addAction(t::kModeConfig, this, [this] { setWorkMode(work_mode::kConfiguration); });
    modeMenu->addAction(t::kModeEvents, this, [this] { setWorkMode(work_mode::kEvents); });
    modeMenu->addAction(t::kModeVisual, this, [this] { setWorkMode(work_mode::kMonitor); });
    modeMenu->addAction(t::kModeDeviceMenu, this, [this] { setWorkMode(work_mode::kDevice); });
    modeMenu->addAction(t::kMenuPort, this, [this] { linkWindow()->openPortMode(); });
    modeMenu->addAction(t::kMenuTraffic, this, [this] { openTraffic(); });

    QMenu* settings = menuBar()->addMenu(t::kMenuSettings);
    settings->menuAction()->setVisible(false);
    QMenu* windows = menuBar()->addMenu(t::kMenuWindows);
    windows->addAction(t::kMenuCascade, this, [this] { mdi_->cascadeSubWindows(); });
    windows->addAction(t::kMenuTile, this, [this] { mdi_->tileSubWindows(); });
    windows->addAction(t::kMenuArrange, this, [this] { mdi_->tileSubWindows(); });
    windows->menuAction()->setVisible(false);
    menuBar()->addAction(t::kMenuAbout, this, [this] { aboutBox()->showCentred(); });
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QString());
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* open = bar->addAction(toolIcon(ToolIcon::OpenProject), t::kOpenProject, this, [this] {
        if (refuseWhileWriting() || !project_->settleUnsavedChanges())
            return;
        project_->OpenProject();
        treeChanged();
    });
    bar->addAction(toolIcon(ToolIcon::Save), t::kSaveProject, this, [this] { project_->SaveProject(); });
    projectReplacing_ << open;
}

QWidget* MainWindow::buildModePanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    struct Spec {
        QString caption;
        QString hint;
        ToolIcon icon;
    };
    const Spec specs[5] = {
        {t::kModeConfig, t::kModeConfigHint, ToolIcon::Configuration},
        {t::kModeEvents, t::kModeEventsHint, ToolIcon::Events},
        {t::kModeVisual, QString(), ToolIcon::Monitor},
        {t::kModeLink, t::kModeLinkHint, ToolIcon::Link},
        {t::kModeDevice, QString(), ToolIcon::Device},
    };
    for (int i = 0; i < 5; ++i) {
        auto* b = new QToolButton(panel);
        b->setText(specs[i].caption);
        b->setToolTip(specs[i].hint);
        b->setIcon(toolIcon(specs[i].icon));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        layout->addWidget(b, 0, Qt::AlignHCenter);
        modeButtons_[i] = b;
    }
    modeButtons_[4]->setVisible(false);
    connect(modeButtons_[0], &QToolButton::clicked, this, [this] { setWorkMode(work_mode::kConfiguration); });
    connect(modeButtons_[1], &QToolButton::clicked, this, [this] { setWorkMode(work_mode::kEvents); });
    connect(modeButtons_[2], &QToolButton::clicked, this, [this] { setWorkMode(work_mode::kMonitor); });
    connect(modeButtons_[3], &QToolButton::clicked, this, [this] { linkWindow()->openPortMode(); });
    connect(modeButtons_[4], &QToolButton::clicked, this, [this] { setWorkMode(work_mode::kDevice); });
    // Never narrower than the button column and its margin.
    panel->setMinimumWidth(modeButtons_[0]->sizeHint().width() + 10);
    return panel;
}

QWidget* MainWindow::buildTreePanel() {
    auto* panel = new QWidget;
    panel->setMinimumWidth(kMinTreeWidth);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* actions = new QHBoxLayout;
    actions->addWidget(new QLabel(t::kActions, panel));
    filter_ = new QComboBox(panel);
    filter_->addItems(Project::filterItems());
    filter_->setCurrentIndex(-1);
    actions->addWidget(filter_, 1);
    layout->addLayout(actions);
    tree_ = new ProjectTreeView(*project_, panel);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->isBusy = [] { return BusyState::busy(); };
    tree_->changed = [this] { refresh(); };
    tree_->rebuilt = [this] { widenTreeForNames(); };
    layout->addWidget(tree_, 1);
    layout->addWidget(new QLabel(panel)); // the tree panel's own status line, empty
    connect(filter_, &QComboBox::activated, this, [this](int index) {
        project_->applyFilter(index);
        tree_->sync();
    });
    return panel;
}

QWidget* MainWindow::buildClientArea() {
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(2, 0, 11, 0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(t::kWorkingFile, area));
    saveWorkingFile_ = new QToolButton(area);
    saveWorkingFile_->setIcon(toolIcon(ToolIcon::Save));
    saveWorkingFile_->setAutoRaise(true);
    connect(saveWorkingFile_, &QToolButton::clicked, this, [this] { saveWorkingFile(); });
    bar->addWidget(saveWorkingFile_);
    workingFile_ = new QLabel(t::kNoWorkingFile, area);
    QFont bold = workingFile_->font();
    bold.setBold(true);
    workingFile_->setFont(bold);
    bar->addWidget(workingFile_, 1);
    layout->addLayout(bar);
    mdi_ = new QMdiArea(area);
    layout->addWidget(mdi_, 1);
    area->setMinimumWidth(kMinWorkingAreaWidth);
    return area;
}

void MainWindow::buildStatusBar() {
    // The panels sit side by side at their fitted widths on a strip of their own. When the window is
    // narrower than all seven, the last ones run off its right edge; a layout would instead squeeze
    // their places while each panel keeps its width, and the texts would be drawn over each other.
    panelStrip_ = new QWidget(this);
    panelStrip_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (StatusPanel*& panel : panels_)
        panel = new StatusPanel(panelStrip_);
    panelStrip_->setFixedHeight(panels_[0]->sizeHint().height());
    statusBar()->addWidget(panelStrip_, 1);
}

void MainWindow::createCore() {
    // What runs without a window: the line and the headless cores of the windows, which keep their
    // state until a window is built to show it.
    progressForLine_ = std::make_unique<ProgressOnDemand>(
        [this]() -> TransferProgress& { return *progressWindow(); }, [this] { return progress_; });
    startLine();
    deviceLine_ = std::make_unique<SessionDeviceLine>(*session_, *project_);
    monitorLine_ = std::make_unique<WorkerMonitorLine>(session_->worker());
    monitor_ = std::make_unique<monitor::LiveMonitor>(*monitorLine_);
    // The service menus of the monitor go straight to the marked controller between the ticks.
    controllerAccess_ = std::make_unique<LineControllerAccess>(*deviceLine_, *project_);
    serviceMenus_ = std::make_unique<monitor::ServiceMenus>(*dialogs_, *controllerAccess_);
    serviceMenus_->communicationError = [this] { monitor_->countError(); };
    serviceMenusShown_ = serviceMenusShown();
    serviceLine_ = std::make_unique<SessionServiceLine>(*session_, *project_);
    service_ = std::make_unique<ServicePanel>(*dialogs_, *serviceLine_);
    service_->confirmStopVisual = [this] { return confirmStopVisual(task_texts::kAskStopVisual); };
    service_->linkChanged = [this] {
        project_->ApplyMarkedLink();
        session_->sendTarget();
    };
    device_ = std::make_unique<DeviceConsole>(*dialogs_, *deviceLine_);
    DeviceConsoleHooks& d = device_->hooks;
    d.showConfiguration = [this] { setWorkMode(work_mode::kConfiguration); };
    d.showEvents = [this](const QString& path) { files_->eventsRead(path); };
    d.readProjectEvents = [this] {
        files_->readEventsFromDevice(project_->markedNodeCode(NodeRole::EventsFile));
    };
    d.openEventsFile = [this] { files_->openEventsFromFile(project_->markedNodeCode(NodeRole::EventsFile)); };
    // The status read prepares the chart and shows the live monitor.
    d.showMonitor = [this] {
        monitorWindow()->applyChartSettings(chartSettings());
        setWorkMode(work_mode::kMonitor);
    };
    // The tabs' validation messages go to the same dialogs as everything else.
    validationDialogs_.emplace(dialogs_);

    configForFiles_ =
        std::make_unique<ConfigOnDemand>([this]() -> ConfigObserver& { return *configWindow(); });
    files_ = std::make_unique<FileCommands>(*project_, image, *dialogs_, this, configForFiles_.get(),
                                            WorkingConfigFile, WorkingEventsFile);
    FileCommandHooks& f = files_->hooks;
    f.showEvents = [this](const QString& path) { return eventViewer()->showFile(path); };
    f.setWorkMode = [this](uint8_t mode) { setWorkMode(mode); };
    f.confirmStopVisual = [this] { return confirmStopVisual(task_texts::kAskStopVisualCr); };
    f.queueReadEvents = [this](bool fast) {
        session_->queueTask(fast ? LineTask::ReadEventsFast : LineTask::ReadEvents);
    };
    f.treeChanged = [this] { treeChanged(); };
    f.showDifferences = [this](const std::vector<ConfigDifference>& differences, const QString& path) {
        diffWindow()->showDifferences(differences, cfg_texts::kDiffOpenSide, path);
    };
}

// ---------------------------------------------------------------- windows, each built on first use

EventViewer* MainWindow::eventViewer() {
    if (!viewer_) {
        viewer_ = new EventViewer;
        viewerSub_ = addModeWindow(viewer_);
    }
    return viewer_;
}

LinkSettingsWindow* MainWindow::linkWindow() {
    if (!linkWindow_) {
        linkWindow_ = new LinkSettingsWindow(*project_, *dialogs_, nullptr, this);
        linkWindow_->settings().portChanged = [this] { refresh(); };
        linkWindow_->setMore(linkMore());
    }
    return linkWindow_;
}

LinkDetailsWindow* MainWindow::linkMore() {
    if (!linkMore_) {
        linkMore_ = new LinkDetailsWindow(this);
        linkMore_->setTimeouts(kZarnetTimeouts, kModbusTimeouts);
        const LineStatus& status = session_->status();
        linkMore_->setLinkErrors(status.identFailures);
        linkMore_->setLowLatency(status.zarnetLatency, status.modbusLatency);
        linkMore_->openDump = [this] { dumpWindow()->open(); };
        linkMore_->openTraffic = [this] { openTraffic(); };
    }
    return linkMore_;
}

AboutBox* MainWindow::aboutBox() {
    if (!about_)
        about_ = new AboutBox(this);
    return about_;
}

ConfigDumpWindow* MainWindow::dumpWindow() {
    if (!dump_)
        dump_ = new ConfigDumpWindow(image, this);
    return dump_;
}

ConfigDiffWindow* MainWindow::diffWindow() {
    if (!diff_)
        diff_ = new ConfigDiffWindow(this);
    return diff_;
}

ProgressWindow* MainWindow::progressWindow() {
    if (!progress_)
        progress_ = new ProgressWindow(this);
    return progress_;
}

ConfigWindow* MainWindow::configWindow() {
    if (cfg_)
        return cfg_;
    cfg_ = makeConfigWindow(image, *dialogs_);
    // Where the working area is narrower or lower than the configuration window needs, the window
    // scrolls instead of being cut at the area's edge.
    cfgScroll_ = new QScrollArea;
    cfgScroll_->setWidgetResizable(true);
    cfgScroll_->setFrameShape(QFrame::NoFrame);
    cfgScroll_->setWidget(cfg_);
    cfgScroll_->setWindowTitle(cfg_->windowTitle());
    cfgSub_ = addModeWindow(cfgScroll_);
    servicePages_ = new ServicePages(*service_, this);
    cfg_->addEditor(cfg_texts::kZarnetTab, servicePages_->zarnetPage(), nullptr);
    cfg_->addEditor(cfg_texts::kModbusTab, servicePages_->modbusPage(), nullptr);
    // The configuration window's hidden menu works on the marked controller's configuration file.
    connect(cfg_->readFromFileAction(), &QAction::triggered, this,
            [this] { openConfigFromFile(project_->markedNodeCode(NodeRole::ConfigFile)); });
    connect(cfg_->writeToFileAction(), &QAction::triggered, this,
            [this] { saveConfigAsFile(project_->markedNodeCode(NodeRole::ConfigFile)); });
    connect(cfg_->compareWithFileAction(), &QAction::triggered, this,
            [this] { files_->compareWithFile(project_->markedNodeCode(NodeRole::ConfigFile)); });
    // What the window would have been told so far.
    cfg_->configurationChanged(kAllConfigViews);
    cfg_->setServicePanelsEnabled(project_->LinkUp);
    cfg_->setTransferRunning(transferRunning_);
    syncServicePages();
    return cfg_;
}

ServicePages* MainWindow::servicePages() {
    configWindow();
    return servicePages_;
}

monitor::ChartSettingsWindow* MainWindow::chartSettingsWindow() {
    if (!chartWindow_) {
        chartWindow_ = new monitor::ChartSettingsWindow(
            *dialogs_, monitor::colorsIniPath(QFileInfo(formIniPath()).absolutePath()), this);
        chartWindow_->applied = [this](const monitor::ChartSettings& settings) {
            monitorWindow()->applyChartSettings(settings);
            monitor_->setChartSettings(settings);
        };
    }
    return chartWindow_;
}

monitor::MonitorWindow* MainWindow::monitorWindow() {
    if (monitorWindow_)
        return monitorWindow_;
    monitor::MonitorWindow::Hooks monitorHooks;
    monitorHooks.loadChartSettings = [this] { return chartSettings(); };
    monitorHooks.openChartSettings = [this] {
        monitor::ChartSettingsWindow* w = chartSettingsWindow();
        w->show();
        w->raise();
        w->activateWindow();
    };
    monitorHooks.runningChanged = [this](bool running) { servicePanels_->setEnabled(!running); };
    monitorWindow_ = new monitor::MonitorWindow(*monitor_, *dialogs_, std::move(monitorHooks));
    visualSub_ = addModeWindow(monitorWindow_);
    servicePanels_ = new monitor::ServicePanels(*serviceMenus_, monitorWindow_->panelHost());
    servicePanels_->heldSound = [this] { return image.SoundOn; };
    servicePanels_->soundWritten = [this](uint8_t sound) { image.SoundOn = sound; };
    monitorWindow_->addServiceMenus(servicePanels_->menuActions(), serviceMenusShown_);
    monitorWindow_->setLinkUp(project_->LinkUp);
    return monitorWindow_;
}

monitor::ServicePanels* MainWindow::monitorServicePanels() {
    monitorWindow();
    return servicePanels_;
}

DeviceWindow* MainWindow::deviceWindow() {
    if (!deviceWindow_) {
        deviceWindow_ = new DeviceWindow(*device_);
        deviceSub_ = addModeWindow(deviceWindow_);
    }
    return deviceWindow_;
}

void MainWindow::installProjectHooks() {
    ProjectHooks& h = project_->hooks;
    h.reset = [this] {
        loadDefaultConfiguration(image);
        WorkingConfigFile = t::kNoConfigFile;
        WorkingEventsFile = t::kNoEventsFile;
        WorkingVisualFile = t::kNoVisualFile;
    };
    h.replaced = [this](bool created) {
        // What was queued for the old project's controllers is void.
        if (session_)
            session_->worker().clearTasks();
        if (created) {
            configWindow()->configurationChanged(kAllConfigViews);
            cfg_->selectFirstRows();
        }
    };
    h.focusTree = [this] { tree_->setFocus(); };
    h.request = [this](const TreeRequest& r) { treeRequest(r); };
}

void MainWindow::treeRequest(const TreeRequest& r) {
    switch (r.action) {
    case MenuAction::OpenLinkSettings:
        return linkWindow()->openDevice(r.deviceIndex);
    case MenuAction::ShowConfigFile:
        return openConfigFile(r.path, r.code);
    case MenuAction::ShowEventsFile:
        return openEventsFile(r.path, r.code);
    case MenuAction::ReadConfigFromDevice:
        session_->queueTask(LineTask::ReadConfig);
        return setTransferRunning(true);
    case MenuAction::WriteConfigToDevice:
        session_->queueTask(LineTask::WriteConfig);
        return setTransferRunning(true);
    case MenuAction::OpenConfigFile:
        return openConfigFromFile(r.code);
    case MenuAction::SaveConfigFileAs:
        return saveConfigAsFile(r.code);
    case MenuAction::CompareConfigFile:
        // Reads the open image only, so it need not wait for the line.
        return files_->compareWithFile(r.code);
    case MenuAction::ReadEventsFromDevice:
        return readEventsFromDevice(r.code);
    case MenuAction::OpenEventsFile:
        return openEventsFromFile(r.code);
    case MenuAction::AddMaster:
    case MenuAction::AddSlave:
    case MenuAction::AddSingle:
    case MenuAction::Rename:
    case MenuAction::Delete:
        break; // the project's own
    }
}

void MainWindow::startLine() {
    LineWorker::Options o;
    o.tickMs = options_.taskTickMs;
    session_ = std::make_unique<LineSession>(this, *project_, image, *dialogs_, *progressForLine_, o);
    session_->statusChanged = [this] { lineStatusChanged(); };
    session_->markCleared = [this] { tree_->sync(); };
    session_->busyChanged = [this](bool busy) {
        if (!busy)
            setTransferRunning(false);
    };
    LineListener l;
    l.logLine = [this](const QString& line) { addLine(line); };
    l.configurationRead = [this](const ConfigImage& read, ConfigViews views, bool ok) {
        image = read;
        configWindow()->configurationChanged(views);
        cfg_->selectFirstRows();
        // The service page's Modbus fields show what the controller holds, not the project's copy.
        if (ok)
            service_->showModbusSettings(read.MB_Address, read.MB_Params);
    };
    l.eventsRead = [this](const QString& path) {
        files_->eventsRead(path);
        progressForLine_->end();
        showModeWindow();
    };
    l.transferRunning = [this](bool running) { setTransferRunning(running); };
    session_->worker().addListener(std::move(l));
}

void MainWindow::setTransferRunning(bool running) {
    transferRunning_ = running;
    if (cfg_)
        cfg_->setTransferRunning(running);
}

void MainWindow::lineStatusChanged() {
    if (linkMore_) {
        const LineStatus& status = session_->status();
        linkMore_->setLinkErrors(status.identFailures);
        linkMore_->setLowLatency(status.zarnetLatency, status.modbusLatency);
    }
    updateRunString();
    connectionDisplay();
}

void MainWindow::updateRunString() {
    // The connection text runs only where someone looks at it: while the link is up and the window is
    // the active one. Otherwise it rests at its first step.
    const bool up = project_->LinkUp;
    const bool run = up && isActiveWindow() && !isMinimized();
    if (run && !runStringTimer_.isActive()) {
        statusBar_.restartRunString();
        runStringTimer_.start();
    } else if (!run && runStringTimer_.isActive()) {
        runStringTimer_.stop();
        if (up)
            setPanel(4, StatusBarPresenter::runStringText(1));
    } else if (up && !run) {
        setPanel(4, StatusBarPresenter::runStringText(1));
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowStateChange)
        if (session_)
            updateRunString();
}

// ---------------------------------------------------------------- refresh

void MainWindow::refresh() {
    refreshTimer_.stop();
    const auto restart = qScopeGuard([this] { refreshTimer_.start(); });

    if (firstTick_) {
        firstTick_ = false;
        project_->ResetProject();
        tree_->sync();
        aboutBox()->showCentred();
        // A window built later fills itself from the image.
        if (cfg_)
            cfg_->configurationChanged(kAllConfigViews);
        if (options_.afterFirstTick)
            options_.afterFirstTick();
    }
    const ProjectModel& m = project_->model;
    // Compared with the title last set, not windowTitle(): a maximized sub-window adds its own
    // title to it, and setting it back each second would rename the window twice a second.
    const QString title = t::kCaptionHead + m.ProjectPath;
    if (shownTitle_ != title) {
        shownTitle_ = title;
        setWindowTitle(title);
    }
    device_->portChanged();
    // Also while an operation waits or runs: a new mark or new link settings take effect at the
    // line's next tick. The line drops what waits for the old mark and lets a write run to its end.
    project_->ApplyMarkedLink();
    session_->sendTarget();
    // The service page shows the marked controller's record, anew whenever the mark or the record
    // changed; what a read from the controller brings replaces it until then.
    if (const auto marked = serviceLine_->markedLink(); marked && marked != shownServiceLink_) {
        shownServiceLink_ = marked;
        service_->showMarkedDevice();
    } else if (!marked) {
        shownServiceLink_.reset();
    }

    setPanel(5, StatusBarPresenter::clockPanel(QDateTime::currentDateTime()));
    setPanel(0, StatusBarPresenter::portPanel(m));
    if (const QString link = StatusBarPresenter::linkPanel(*project_); !link.isEmpty())
        setPanel(1, link);
    showModeWindow();
    connectionDisplay();
    if (TreeNode* root = project_->tree.root())
        root->text = fileNamePart(m.ProjectPath);
    // Only what changed: an open rename, the current item and the scroll position stay.
    tree_->sync();
}

void MainWindow::setPanel(int panel, const QString& text) {
    StatusPanel* label = panels_[panel];
    if (label->text() == text)
        return;
    label->setText(text);
    // The running text changes ten times a second at one width: only a new width moves the panels.
    if (label->width() != label->textWidth() + kPanelPadding)
        fitStatusPanels();
}

void MainWindow::setWorkMode(uint8_t mode) {
    project_->model.WorkMode = mode;
    modeWindowClosed_ = false;
}

QMdiSubWindow* MainWindow::addModeWindow(QWidget* content) {
    // A mode window lives for the whole run: its close button hides it until a mode is chosen again,
    // and it offers no minimise or restore, since the working area always shows it maximised.
    QMdiSubWindow* sub =
        mdi_->addSubWindow(content, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->installEventFilter(this);
    sub->hide();
    return sub;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close &&
        (watched == cfgSub_ || watched == viewerSub_ || watched == visualSub_ || watched == deviceSub_)) {
        event->ignore();
        // Closing the device window ends its work on the port: the next link opens it anew.
        if (watched == deviceSub_)
            device_->close();
        static_cast<QWidget*>(watched)->hide();
        modeWindowClosed_ = true;
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showModeWindow() {
    QMdiSubWindow* sub = nullptr;
    if (const QString mode = StatusBarPresenter::modePanel(project_->model.WorkMode); !mode.isEmpty())
        setPanel(2, mode);
    switch (project_->model.WorkMode) {
    case work_mode::kEvents:
        eventViewer();
        sub = viewerSub_;
        setTextIfChanged(viewerSub_, fileNamePart(WorkingEventsFile));
        setTextIfChanged(workingFile_, WorkingEventsFile);
        break;
    case work_mode::kConfiguration:
        configWindow();
        sub = cfgSub_;
        setTextIfChanged(cfgSub_, fileNamePart(WorkingConfigFile));
        setTextIfChanged(workingFile_, WorkingConfigFile);
        break;
    case work_mode::kMonitor:
        monitorWindow();
        sub = visualSub_;
        setTextIfChanged(workingFile_, WorkingVisualFile);
        break;
    case work_mode::kDevice:
        deviceWindow();
        sub = deviceSub_;
        break;
    default:
        break;
    }
    // A mode window the user closed stays closed until a mode is chosen.
    if (modeWindowClosed_)
        sub = nullptr;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        if (w != sub && w->isVisible())
            w->hide();
    if (sub) {
        if (!sub->isVisible() || !sub->isMaximized())
            sub->showMaximized();
        if (mdi_->activeSubWindow() != sub)
            mdi_->setActiveSubWindow(sub);
    }
    // The save button writes the configuration image: only for the configuration's own file.
    const bool canSave = project_->model.WorkMode == work_mode::kConfiguration &&
                         !isWorkingPlaceholder(workingFile_->text()) && !busy();
    if (saveWorkingFile_->isEnabled() != canSave)
        saveWorkingFile_->setEnabled(canSave);
}

void MainWindow::connectionDisplay() {
    const bool up = project_->LinkUp;
    setPanel(3, StatusBarPresenter::identityPanel(up, session_->status()));
    if (!up)
        setPanel(4, StatusBarPresenter::noLinkPanel());
    if (cfg_ && cfg_->servicePanelsEnabled() != up)
        cfg_->setServicePanelsEnabled(up);
    if (monitorWindow_)
        monitorWindow_->setLinkUp(up);
    syncServicePages();
}

void MainWindow::syncServicePages() {
    if (!servicePages_)
        return;
    // Over Modbus a controller answers only the switch back; the device-protocol page waits.
    const bool zarnet = project_->model.ActiveProtocol == kProtocolZarnet;
    for (auto [page, on] :
         {std::pair{servicePages_->zarnetPage(), zarnet}, std::pair{servicePages_->modbusPage(), !zarnet}})
        if (page->testAttribute(Qt::WA_ForceDisabled) == on)
            page->setEnabled(on);
}

void MainWindow::fitStatusPanels() {
    int x = 0;
    for (StatusPanel* panel : panels_) {
        const int width = panel->textWidth() + kPanelPadding;
        panel->setGeometry(x, 0, width, panelStrip_->height());
        x += width + kPanelGap;
    }
}

QString MainWindow::statusText(int panel) const {
    return panels_.at(panel)->text();
}

QString MainWindow::logText() const {
    return log_->toPlainText();
}

QString MainWindow::workingFileText() const {
    return workingFile_->text();
}

bool MainWindow::saveButtonEnabled() const {
    return saveWorkingFile_->isEnabled();
}

QWidget* MainWindow::shownModeWindow() const {
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (!active || !active->isVisible())
        return nullptr;
    return active == cfgSub_ ? cfg_ : active->widget();
}

void MainWindow::addLine(const QString& line) {
    log_->appendPlainText(line);
}

void MainWindow::treeChanged() {
    tree_->sync();
    refresh();
}

void MainWindow::widenTreeForNames() {
    // The tree panel grows to show the longest name whole, up to a third of the window and as far as
    // the working area can spare; it never shrinks below the width the engineer gave it.
    const int needed = tree_->namesWidth() + tree_->frameWidth() * 2 +
                       tree_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    QList<int> sizes = sideSplitter_->sizes();
    if (sizes.size() < 3)
        return;
    // The working area keeps the width the configuration window needs to show a page whole.
    const int keep = std::max(kMinWorkingAreaWidth, kComfortWorkingAreaWidth);
    const int spare = std::max(0, sizes[2] - keep);
    const int target = std::min({needed, width() / 3, sizes[1] + spare});
    if (target <= sizes[1])
        return;
    sizes[2] -= target - sizes[1];
    sizes[1] = target;
    sideSplitter_->setSizes(sizes);
}

// ---------------------------------------------------------------- busy state and end

void MainWindow::busyChanged(bool busy) {
    // Once at the start and once at the end of an operation on the line, never on a routine tick. The
    // project commands stay: a new project drops what waits for the old one.
    filter_->setEnabled(!busy);
    showModeWindow(); // the save button
}

bool MainWindow::refuseWhileBusy() const {
    return BusyState::busy();
}

bool MainWindow::refuseWhileWriting() {
    // A configuration write is never broken off, so a new project would only come after it anyway;
    // the engineer is told why nothing opens instead of waiting for a dialog that comes much later.
    if (!session_->writingConfiguration())
        return false;
    dialogs_->message(t::kWaitForWrite);
    return true;
}

QWidget* MainWindow::filterBox() const {
    return filter_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Renames and new devices are not lost without a word; Отмена keeps the program open.
    if (!project_->settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    refreshTimer_.stop();
    runStringTimer_.stop();
    // The line ends its current exchange; an event read stops before its next request and keeps the
    // records it has in the file; a question it was waiting for is answered with its default.
    session_->worker().stop();
    // A Form.ini that cannot be written is no reason to keep the program open.
    QDir().mkpath(QFileInfo(formIniPath()).absolutePath());
    writeFormIni(formIniPath(), currentGeometry());
    for (QWidget* w : std::initializer_list<QWidget*>{linkWindow_, linkMore_, traffic_, about_, progress_})
        if (w)
            w->close();
    event->accept();
}

void MainWindow::openTraffic() {
    // Made on first use: until then the line gathers no frames at all.
    if (!traffic_) {
        traffic_ = new TrafficWindow(*dialogs_, this);
        session_->worker().watchFrames(
            [window = QPointer<TrafficWindow>(traffic_)](std::vector<LinkFrame> frames) {
                if (window)
                    window->addFrames(std::move(frames));
            },
            FrameTableModel::kDefaultCapacity);
    }
    traffic_->show();
    traffic_->raise();
    traffic_->activateWindow();
}

monitor::ChartSettings MainWindow::chartSettings() {
    return chartSettingsWindow()->loadAndApply();
}

bool MainWindow::serviceMenusShown() {
    // For service engineers only: the manual outputs and the writes into the running configuration
    // act on a plant at once.
    if (qEnvironmentVariableIntValue("VEXTOR_SERVICE_MENUS") == 1)
        return true;
    return QSettings(userSettingsPath(), QSettings::IniFormat)
        .value(QStringLiteral("monitor/serviceMenus"))
        .toBool();
}

bool MainWindow::confirmStopVisual(const QString& question) {
    if (!monitor_->running())
        return true;
    if (!dialogs_->askYesNo(question, QString::fromUtf8(link_texts::kProgramTitle)))
        return false;
    monitor_->stop();
    return true;
}

QString MainWindow::formIniPath() const {
    const QString dir =
        options_.settingsDir.isEmpty() ? QFileInfo(userSettingsPath()).absolutePath() : options_.settingsDir;
    return QDir(dir).filePath(kFormIniName);
}

FormGeometry MainWindow::currentGeometry() const {
    FormGeometry g;
    const QRect r = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    g.height = r.height();
    g.left = r.left();
    g.top = r.top();
    g.width = r.width();
    const QList<int> side = sideSplitter_->sizes();
    g.modePanelWidth = side.value(0);
    g.treePanelWidth = side.value(1);
    g.logHeight = logSplitter_->sizes().value(1);
    g.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    return g;
}

FormGeometry MainWindow::firstStartGeometry() const {
    // Nothing remembered: maximised on the screen the window opens on. Its normal size, for a later
    // restore, is the design size fitted into the screen and centred, with room for the frame and its
    // title bar inside the screen.
    FormGeometry g;
    g.state = 2;
    if (const QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        // A frame's title bar takes height; its side borders take next to no width, and the working
        // area needs every pixel of a narrow screen.
        constexpr int kTitleRoom = 40;
        g.width = std::min(g.width, avail.width());
        g.height = std::min(g.height, avail.height() - kTitleRoom);
        g.left = avail.left() + (avail.width() - g.width) / 2;
        g.top = avail.top() + (avail.height() - g.height) / 2;
    }
    return g;
}

void MainWindow::applyGeometry(const FormGeometry& stored) {
    // A layout remembered on a larger screen (or the design size on a small one) is fitted into the
    // screen this window opens on, so no part of it lies beyond the edge.
    FormGeometry g = stored;
    if (const QScreen* s = screen()) {
        const QRect avail = s->availableGeometry();
        g.width = std::min(g.width, avail.width());
        g.height = std::min(g.height, avail.height());
        g.left = std::clamp(g.left, avail.left(), avail.right() + 1 - g.width);
        g.top = std::clamp(g.top, avail.top(), avail.bottom() + 1 - g.height);
    }
    setGeometry(g.left, g.top, g.width, g.height);
    sideSplitter_->setSizes({g.modePanelWidth, std::max<int>(g.treePanelWidth, kMinTreeWidth),
                             std::max(g.width - g.modePanelWidth - g.treePanelWidth, 100)});
    logSplitter_->setSizes({std::max(g.height - g.logHeight, 100), g.logHeight});
    if (g.state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (g.state == 1)
        setWindowState(Qt::WindowMinimized);
}

// ---------------------------------------------------------------- files from the tree

QString MainWindow::projectDirectory() const {
    return directoryPart(project_->model.ProjectPath);
}

void MainWindow::openConfigFile(const QString& path, int code) {
    if (!refuseWhileBusy())
        files_->openConfigFile(path, code);
}

void MainWindow::openConfigFromFile(int code) {
    if (!refuseWhileBusy())
        files_->openConfigFromFile(code);
}

void MainWindow::saveConfigAsFile(int code) {
    if (!refuseWhileBusy())
        files_->saveConfigAsFile(code);
}

void MainWindow::openEventsFile(const QString& path, int code) {
    files_->openEventsFile(path, code);
}

void MainWindow::openEventsFromFile(int code) {
    files_->openEventsFromFile(code);
}

void MainWindow::readEventsFromDevice(int code) {
    if (!refuseWhileBusy())
        files_->readEventsFromDevice(code);
}

void MainWindow::saveWorkingFile() {
    if (refuseWhileBusy() || project_->model.WorkMode != work_mode::kConfiguration)
        return;
    files_->saveWorkingFile();
}

} // namespace vextor
