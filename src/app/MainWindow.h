#pragma once
// The main window: the frame of the whole program. It owns the run's shared objects (the
// configuration image, the project and the line session, whose worker runs the ports, the link and
// the task loop on the line's own thread), and keeps status bar, shown mode window and the line's
// target in step with the model through the one-second refresh. Nothing here waits for the line:
// the worker's answers arrive as queued calls.
// At start it builds only its own frame, so that it shows at once; every other window is built the
// first time it is needed and then kept for the run. What a window shows of the run's state (link up,
// a transfer running, the link errors) is held here meanwhile and given to the window when it is built.
// The form TFormMainIDE.
#include "FormIni.h"
#include "StatusBarPresenter.h"
#include "app/FileCommands.h"
#include "config/ConfigImage.h"
#include "line/BusyState.h"
#include "line/ImageLinkBinding.h"
#include "line/LineSession.h"
#include "link/NumericConversions.h"
#include "monitor/ChartSettings.h"
#include "project/Project.h"
#include "project/ProjectLog.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QToolButton;

namespace vextor {

class ProjectTreeView;
class QtUserDialogs;
class StatusPanel;
class EventViewer;
class AboutBox;
class ConfigWindow;
class LinkSettingsWindow;
class LinkDetailsWindow;
class TrafficWindow;
class ServiceLine;
class ServicePanel;
class ServicePages;
class DeviceLine;
class DeviceConsole;
class DeviceWindow;
namespace monitor {
class ChartSettingsWindow;
class ControllerAccess;
class LiveMonitor;
class MonitorLine;
class MonitorWindow;
class ServiceMenus;
class ServicePanels;
} // namespace monitor
class ConfigDiffWindow;
class ConfigDumpWindow;
class ProgressWindow;

class MainWindow : public QMainWindow, public ProjectLog {
public:
    struct Options {
        QString programDir; // where the default project path lives (and an old Form.ini may)
        // Where Form.ini is kept: the user's configuration directory unless given, so an installed
        // program needs no write access to its folder and each user has a layout of their own.
        QString settingsDir;
        UserDialogs* dialogs = nullptr; // the Qt dialogs unless given
        // Runs once, right after the first refresh reset the project (the demo opens its project).
        std::function<void()> afterFirstTick;
        int taskTickMs = 1000; // the line's task timer
    };

    explicit MainWindow(Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The run's shared objects.
    ConfigImage image;

    Project& project() { return *project_; }
    LineWorker& line() { return session_->worker(); }
    LineSession& session() { return *session_; }
    // What the line last told about the marked controller.
    const LineStatus& lineStatus() const { return session_->status(); }
    // An operation runs on the line (or something else holds the busy state).
    bool busy() const { return BusyState::busy(); }
    UserDialogs& dialogs() { return *dialogs_; }
    FileCommands& files() { return *files_; }

    // Main-window state.
    QString WorkingConfigFile;
    QString WorkingEventsFile;
    QString WorkingVisualFile;

    // The one-second refresh: status bar, shown mode window and the line's target follow the model.
    void refresh();
    // ProjectLog.
    void addLine(const QString& line) override;

    // Windows and controls, for the application and its tests. A window not built yet is built by
    // its getter.
    ProjectTreeView* tree() const { return tree_; }
    ConfigWindow* configWindow();
    EventViewer* eventViewer();
    LinkSettingsWindow* linkWindow();
    LinkDetailsWindow* linkMore();
    // The traffic window, nullptr until it was first opened.
    TrafficWindow* trafficWindow() const { return traffic_; }
    // Opens the traffic window, made (and the line's frames watched) on first use.
    void openTraffic();
    ConfigDumpWindow* dumpWindow();
    ConfigDiffWindow* diffWindow();
    ServicePages* servicePages();
    DeviceWindow* deviceWindow();
    DeviceConsole* deviceConsole() const { return device_.get(); }
    monitor::MonitorWindow* monitorWindow();
    monitor::LiveMonitor* liveMonitor() const { return monitor_.get(); }
    monitor::ChartSettingsWindow* chartSettingsWindow();
    monitor::ServicePanels* monitorServicePanels();
    ProgressWindow* progressWindow();
    AboutBox* aboutBox();
    // Whether a window has been built so far (the others are built on first use).
    bool configWindowBuilt() const { return cfg_ != nullptr; }
    bool eventViewerBuilt() const { return viewer_ != nullptr; }
    bool monitorWindowBuilt() const { return monitorWindow_ != nullptr; }
    bool deviceWindowBuilt() const { return deviceWindow_ != nullptr; }
    bool linkWindowBuilt() const { return linkWindow_ != nullptr; }
    bool progressWindowBuilt() const { return progress_ != nullptr; }
    bool aboutBoxBuilt() const { return about_ != nullptr; }
    QString statusText(int panel) const;
    const StatusPanel* statusPanel(int panel) const { return panels_.at(panel); }
    QString logText() const;
    QString workingFileText() const;
    bool saveButtonEnabled() const;
    // The mode window in front, nullptr when the client area is empty.
    QWidget* shownModeWindow() const;
    QToolButton* modeButton(int i) const { return modeButtons_.at(i); }
    QTimer& refreshTimer() { return refreshTimer_; }
    QWidget* filterBox() const;
    QList<QAction*> projectCommands() const { return projectReplacing_; }

    FormGeometry currentGeometry() const;
    void applyGeometry(const FormGeometry& g);
    // Where the window opens when no Form.ini remembers a place.
    FormGeometry firstStartGeometry() const;
    QString formIniPath() const;
    // Colors.ini beside Form.ini, or the defaults.
    monitor::ChartSettings chartSettings();
    // Before an operation that cannot run beside the live monitor: asks to stop it. False: keep it.
    bool confirmStopVisual(const QString& question);
    // The monitor's service menus are offered (VEXTOR_SERVICE_MENUS=1, or serviceMenus=true in the
    // [monitor] section of the settings file).
    static bool serviceMenusShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Options options_;
    std::unique_ptr<QtUserDialogs> ownDialogs_;
    UserDialogs* dialogs_;
    // The tabs' validation messages go to dialogs_ while the window lives.
    std::optional<ValidationDialogsScope> validationDialogs_;
    std::unique_ptr<Project> project_;
    // The active link of the window's project: the device-protocol address here, the Modbus address
    // and line byte in the image, as on the line.
    uint8_t activeZarnetAddress_ = 0;
    ImageLinkBinding binding_{image, activeZarnetAddress_};
    // The line's progress reaches the progress window through this, which builds it at the first step.
    std::unique_ptr<TransferProgress> progressForLine_;
    // Files loaded into the image refill the configuration window through this, which builds it.
    std::unique_ptr<ConfigObserver> configForFiles_;
    std::unique_ptr<FileCommands> files_;
    bool firstTick_ = true;

    // The line.
    std::unique_ptr<LineSession> session_;
    std::unique_ptr<ServiceLine> serviceLine_;
    std::unique_ptr<ServicePanel> service_;
    ServicePages* servicePages_ = nullptr;
    std::unique_ptr<DeviceLine> deviceLine_;
    std::unique_ptr<DeviceConsole> device_;
    std::unique_ptr<monitor::MonitorLine> monitorLine_;
    std::unique_ptr<monitor::LiveMonitor> monitor_;
    std::unique_ptr<monitor::ControllerAccess> controllerAccess_;
    std::unique_ptr<monitor::ServiceMenus> serviceMenus_;
    StatusBarPresenter statusBar_;
    QString shownTitle_;
    bool modeWindowClosed_ = false;
    std::optional<DeviceLink> shownServiceLink_;
    // A configuration transfer replaces or sends the image: the configuration window's editors wait.
    bool transferRunning_ = false;
    // Whether the monitor offers the service menus, decided once at start.
    bool serviceMenusShown_ = false;

    QTimer refreshTimer_;
    QTimer runStringTimer_;
    QTimer aboutTimer_;

    // Windows.
    QMdiArea* mdi_ = nullptr;
    EventViewer* viewer_ = nullptr;
    QMdiSubWindow* viewerSub_ = nullptr;
    LinkSettingsWindow* linkWindow_ = nullptr;
    AboutBox* about_ = nullptr;
    LinkDetailsWindow* linkMore_ = nullptr;
    TrafficWindow* traffic_ = nullptr;
    ConfigDumpWindow* dump_ = nullptr;
    ConfigDiffWindow* diff_ = nullptr;
    ConfigWindow* cfg_ = nullptr;
    QScrollArea* cfgScroll_ = nullptr;
    QMdiSubWindow* cfgSub_ = nullptr;
    QMdiSubWindow* visualSub_ = nullptr;
    DeviceWindow* deviceWindow_ = nullptr;
    monitor::MonitorWindow* monitorWindow_ = nullptr;
    monitor::ChartSettingsWindow* chartWindow_ = nullptr;
    monitor::ServicePanels* servicePanels_ = nullptr;
    QMdiSubWindow* deviceSub_ = nullptr;
    ProgressWindow* progress_ = nullptr;

    // Controls.
    QSplitter* sideSplitter_ = nullptr;
    QSplitter* logSplitter_ = nullptr;
    QWidget* modePanel_ = nullptr;
    QWidget* treePanel_ = nullptr;
    std::array<QToolButton*, 5> modeButtons_{};
    ProjectTreeView* tree_ = nullptr;
    QComboBox* filter_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QLabel* workingFile_ = nullptr;
    QToolButton* saveWorkingFile_ = nullptr;
    QWidget* panelStrip_ = nullptr;
    std::array<StatusPanel*, 7> panels_{};
    QList<QAction*> projectReplacing_;

    void buildMenus();
    void buildToolBar();
    QWidget* buildModePanel();
    QWidget* buildTreePanel();
    QWidget* buildClientArea();
    void buildStatusBar();
    void createCore();
    void setTransferRunning(bool running);
    // The enabled state of the service pages follows the link's protocol.
    void syncServicePages();
    void installProjectHooks();
    void startLine();
    void lineStatusChanged();
    void updateRunString();
    void treeRequest(const TreeRequest& request);
    void setPanel(int panel, const QString& text);

    void setWorkMode(uint8_t mode);
    QMdiSubWindow* addModeWindow(QWidget* content);
    void showModeWindow();
    void connectionDisplay();
    void fitStatusPanels();
    void busyChanged(bool busy);
    bool refuseWhileBusy() const;
    // Opening or creating a project waits until a configuration write has ended.
    bool refuseWhileWriting();
    void treeChanged();
    void widenTreeForNames();

    // Files from the tree.
    void openConfigFile(const QString& path, int code);
    void openConfigFromFile(int code);
    void saveConfigAsFile(int code);
    void openEventsFile(const QString& path, int code);
    void openEventsFromFile(int code);
    void readEventsFromDevice(int code);
    void saveWorkingFile();
    QString projectDirectory() const;
};

} // namespace vextor
