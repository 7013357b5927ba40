// The main window offscreen: start state, mode switching at the refresh, Form.ini, and the window
// with its line worker on the demo's virtual line: identification, renames, lists and tool bar across
// ticks, transfers and the end of the run during an event read.
#include "app/MainWindow.h"
#include "app/AboutBox.h"
#include "app/DemoProject.h"
#include "app/FormIni.h"
#include "app/ProgressWindow.h"
#include "app/StatusPanel.h"
#include "app/ToolIcons.h"
#include "app/texts.h"
#include "config/ConfigDiff.h"
#include "config/ConfigDump.h"
#include "config/ConfigFile.h"
#include "config/ui/ConfigDiffWindow.h"
#include "config/ui/ConfigDumpWindow.h"
#include "config/ui/ConfigWindow.h"
#include "config/ui/sensors/SensorsPage.h"
#include "config/ui/texts.h"
#include "device/texts.h"
#include "device/ui/DeviceWindow.h"
#include "device/ui/ServicePages.h"
#include "monitor/ui/MonitorWindow.h"
#include "monitor/ui/ServicePanels.h"

#include "events/ui/EventViewer.h"
#include "line/BusyState.h"
#include "line/TaskTexts.h"
#include "link/ModbusParams.h"
#include "link/ZarnetCommands.h"
#include "link/ui/TrafficWindow.h"
#include "project/ui/LinkDetailsWindow.h"
#include "project/ui/LinkSettingsWindow.h"
#include "project/ui/ProjectTreeView.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"
#include <QCheckBox>
#include <QLineSeries>
#include <QMenu>
#include <QPlainTextEdit>
#include <QValueAxis>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace vextor {
namespace {

namespace t = main_texts;

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "main_window_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    QTemporaryDir settingsDir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    void create(std::function<void()> afterFirstTick = {}, UserDialogs* own = nullptr) {
        MainWindow::Options o;
        o.programDir = programDir.path();
        o.settingsDir = settingsDir.path();
        o.dialogs = own ? own : &dialogs;
        o.afterFirstTick = std::move(afterFirstTick);
        o.taskTickMs = 40;
        window = std::make_unique<MainWindow>(o);
        window->refreshTimer().stop(); // the test drives the refresh itself
        window->show();
    }
};

TEST_F(MainWindowTest, StartsWithTheEmptyProjectAndTheConfigurationWindow) {
    create();
    window->refresh();

    ProjectTreeView* tree = window->tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Project1.prj"));
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
    EXPECT_TRUE(window->logText().isEmpty());
    EXPECT_EQ(window->statusText(0), QStringLiteral("COM1"));
    EXPECT_EQ(window->statusText(1), QStringLiteral("Zarnet - 3"));
    EXPECT_EQ(window->statusText(2), QStringLiteral("Конфигурация"));
    EXPECT_EQ(window->statusText(4), task_texts::kNoLink);
    EXPECT_EQ(window->shownModeWindow(), window->configWindow());
    QWidget* frame = window->shownModeWindow();
    while (frame && !qobject_cast<QMdiSubWindow*>(frame))
        frame = frame->parentWidget();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(window->workingFileText(), t::kNoConfigFile);
    EXPECT_FALSE(window->saveButtonEnabled());
    EXPECT_TRUE(window->aboutBox()->isVisible());
    EXPECT_TRUE(window->windowTitle().startsWith(t::kCaptionHead));

    // The configuration window's frame: the inner tabs in their order, "Ведомые" never shown.
    QTabWidget* tabs = window->configWindow()->userTabs();
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->isTabVisible(i))
            captions << tabs->tabText(i);
    EXPECT_EQ(captions,
              (QStringList{"Датчики", "A In/Out", "D In/Out", " СПВ ", " СОт ", " СГВС ", " Технол. Процесс",
                           " Рекуперация ", "ДУ приводов ", " Общие ", "БУ и Ф", "Календарь"}));
}

// The window shows at once because it builds only its own frame; the first refresh shows the
// configuration window and the about box, and every other window is built when first asked for and
// then kept.
TEST_F(MainWindowTest, BuildsOnlyItsFrameAtStartAndEachWindowOnceOnFirstUse) {
    create();
    EXPECT_FALSE(window->configWindowBuilt());
    EXPECT_FALSE(window->aboutBoxBuilt());
    EXPECT_FALSE(window->eventViewerBuilt());
    EXPECT_FALSE(window->monitorWindowBuilt());
    EXPECT_FALSE(window->deviceWindowBuilt());
    EXPECT_FALSE(window->linkWindowBuilt());
    EXPECT_FALSE(window->progressWindowBuilt());

    window->refresh();
    EXPECT_TRUE(window->configWindowBuilt());
    EXPECT_TRUE(window->aboutBoxBuilt());
    EXPECT_FALSE(window->eventViewerBuilt());
    EXPECT_FALSE(window->monitorWindowBuilt());

    window->modeButton(1)->click();
    window->refresh();
    ASSERT_TRUE(window->eventViewerBuilt());
    QWidget* viewer = window->shownModeWindow();
    EXPECT_EQ(viewer, window->eventViewer());
    window->modeButton(0)->click();
    window->refresh();
    window->modeButton(1)->click();
    window->refresh();
    EXPECT_EQ(window->shownModeWindow(), viewer) << "the event viewer is built once for the run";
    EXPECT_FALSE(window->monitorWindowBuilt());

    window->modeButton(3)->click();
    ASSERT_TRUE(window->linkWindowBuilt());
    EXPECT_TRUE(window->linkWindow()->isVisible());
}

TEST_F(MainWindowTest, ModeButtonsTakeEffectAtTheNextRefresh) {
    create();
    window->refresh();
    struct Case {
        int button;
        QString panel;
        QWidget* shown;
    };
    const Case cases[] = {
        {1, QStringLiteral("События"), window->eventViewer()},
        {2, QStringLiteral("Визуализация"), window->monitorWindow()},
        {0, QStringLiteral("Конфигурация"), window->configWindow()},
    };
    for (const Case& c : cases) {
        QWidget* before = window->shownModeWindow();
        window->modeButton(c.button)->click();
        EXPECT_EQ(window->shownModeWindow(), before);
        window->refresh();
        EXPECT_EQ(window->statusText(2), c.panel);
        EXPECT_EQ(window->shownModeWindow(), c.shown);
    }
}

TEST_F(MainWindowTest, StatusPanelsKeepTheirWidthsSideBySideInANarrowWindow) {
    create();
    window->project().model.ActiveProtocol = kProtocolModbus; // the longest second panel
    window->resize(400, 500);
    window->refresh();
    QApplication::processEvents();
    window->statusBar()->layout()->activate();
    for (int i = 0; i < 7; ++i) {
        const StatusPanel* panel = window->statusPanel(i);
        EXPECT_EQ(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()) + 15) << i;
        if (i > 0) {
            const StatusPanel* left = window->statusPanel(i - 1);
            EXPECT_GE(panel->x(), left->x() + left->width()) << "panel " << i << " over panel " << i - 1;
        }
    }
}

TEST_F(MainWindowTest, SaveButtonWritesTheImageOnlyInTheConfigurationMode) {
    create();
    window->refresh();
    const QString cfg = programDir.filePath(QStringLiteral("a.bin"));
    window->WorkingConfigFile = cfg;
    window->refresh();
    EXPECT_TRUE(window->saveButtonEnabled());

    // In the events mode the bar shows an event file, which the image must never overwrite.
    window->WorkingEventsFile = programDir.filePath(QStringLiteral("e.blb"));
    window->modeButton(1)->click();
    window->refresh();
    EXPECT_EQ(window->workingFileText(), window->WorkingEventsFile);
    EXPECT_FALSE(window->saveButtonEnabled());

    window->modeButton(0)->click();
    window->refresh();
    {
        BusyGuard busy;
        window->refresh();
        EXPECT_FALSE(window->saveButtonEnabled());
    }
}

// A working-area window lives for the whole run: its close button hides it until a mode button shows
// it again, and it offers no minimise or restore that the refresh would undo.
TEST_F(MainWindowTest, ClosingAModeWindowHidesItUntilAModeIsChosenAgain) {
    create();
    window->refresh();
    for (int button : {0, 1}) {
        window->modeButton(button)->click();
        window->refresh();
        QWidget* shown = window->shownModeWindow();
        ASSERT_NE(shown, nullptr);
        QPointer<QMdiSubWindow> frame;
        for (QWidget* w = shown; w && !frame; w = w->parentWidget())
            frame = qobject_cast<QMdiSubWindow*>(w);
        ASSERT_TRUE(frame);
        EXPECT_FALSE(frame->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);

        frame->close();
        QCoreApplication::processEvents();
        window->refresh();
        window->refresh();
        ASSERT_TRUE(frame) << "the window was deleted";
        EXPECT_FALSE(frame->isVisible());
        EXPECT_EQ(window->shownModeWindow(), nullptr);

        window->modeButton(button)->click();
        window->refresh();
        EXPECT_EQ(window->shownModeWindow(), shown);
        EXPECT_TRUE(frame->isMaximized());
    }
}

// Without a Form.ini the window opens maximised; its normal place lies inside the screen with room
// for the frame's title bar above it.
TEST_F(MainWindowTest, FirstStartIsMaximisedWithItsNormalPlaceInsideTheScreen) {
    create();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    const FormGeometry g = window->firstStartGeometry();
    const QRect avail = window->screen()->availableGeometry();
    EXPECT_EQ(g.state, 2);
    EXPECT_GE(g.top, avail.top() + 20);
    EXPECT_GE(g.left, avail.left());
    EXPECT_LE(g.left + g.width, avail.right() + 1);
    EXPECT_LE(g.top + g.height, avail.bottom() + 1);
}

// Closing the program after a rename asks first; Отмена keeps it open with the rename.
TEST_F(MainWindowTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
    create();
    window->refresh();
    dialogs.yesNo.push_back(true);
    window->project().addMaster();
    dialogs.shown.clear();
    dialogs.yesNoCancel.push_back(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("Сохранить изменения проекта?")});
    dialogs.yesNoCancel.push_back(Answer::No);
    EXPECT_TRUE(window->close());
}

// The service page shows the marked controller's record, not its own defaults; over Modbus only the
// switch back can be pressed.
TEST_F(MainWindowTest, ServicePageShowsTheMarkedControllersRecord) {
    create();
    window->refresh();
    Project& project = window->project();
    project.model.MasterCount = 1;
    project.model.Master.ZarnetAddress = 1;
    project.model.Master.ModbusAddress = 7;
    project.model.Master.MbParams = 0xB2; // 19200, even parity, the exponent first
    project.RebuildTree();
    project.MarkCode = 2;
    window->refresh();
    ServicePages* pages = window->servicePages();
    EXPECT_EQ(pages->zarnetAddress()->text(), QStringLiteral("1"));
    EXPECT_EQ(pages->modbusAddress()->text(), QStringLiteral("7"));
    EXPECT_EQ(pages->speedList()->currentText(), QStringLiteral("19200"));
    EXPECT_EQ(pages->frameList()->currentIndex(), 3);
    EXPECT_EQ(pages->floatChoice()->checkedId(), 1);
    EXPECT_FALSE(pages->zarnetPage()->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_TRUE(pages->modbusPage()->testAttribute(Qt::WA_ForceDisabled));

    project.model.Master.Protocol = kProtocolModbus;
    window->refresh();
    EXPECT_TRUE(pages->zarnetPage()->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_FALSE(pages->modbusPage()->testAttribute(Qt::WA_ForceDisabled));
}

// A long device name is shown whole: the tree panel grows for it, as far as a third of the window.
TEST_F(MainWindowTest, TreePanelGrowsForTheLongestName) {
    create();
    window->resize(1600, 900);
    window->refresh();
    const int before = window->currentGeometry().treePanelWidth;
    Project& project = window->project();
    project.model.MasterCount = 1;
    project.model.Master.Name = QStringLiteral("Приточная установка корпуса Б, третий этаж, ось 12");
    project.RebuildTree();
    window->refresh();
    const int needed = window->tree()->namesWidth();
    const int after = window->currentGeometry().treePanelWidth;
    EXPECT_GT(after, before);
    EXPECT_GE(after, std::min(needed, 1600 / 3 - 40));
}

// The toolbar's and mode buttons' pictures are drawn at whatever size is asked for, device pixels
// included, fill their square without spilling over it, and a disabled button shows them greyed.
TEST(ToolIcons, DrawnAtTheSizeAskedAndGreyedWhenDisabled) {
    const auto covered = [](const QImage& image) {
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0;
        return double(opaque) / (image.width() * image.height());
    };
    for (ToolIcon which : {ToolIcon::OpenProject, ToolIcon::Save, ToolIcon::Configuration, ToolIcon::Events,
                           ToolIcon::Monitor, ToolIcon::Link, ToolIcon::Device}) {
        SCOPED_TRACE(static_cast<int>(which));
        const QIcon icon = toolIcon(which);
        for (int side : {16, 24, 32, 48}) {
            const QImage image = icon.pixmap(side, side).toImage();
            ASSERT_EQ(image.size(), QSize(side, side));
            EXPECT_GT(covered(image), 0.2) << side;
            EXPECT_LT(covered(image), 0.95) << side;
        }
        EXPECT_EQ(icon.pixmap(QSize(32, 32), 2.0).toImage().size(), QSize(64, 64));
        EXPECT_NE(icon.pixmap(32, QIcon::Disabled).toImage(), icon.pixmap(32).toImage());
    }
}

TEST(FormIni, RoundTripClampAndShortFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Form.ini"));
    const FormGeometry g{700, 40, 30, 1000, 90, 260, 120, 2};
    ASSERT_TRUE(writeFormIni(path, g));
    EXPECT_EQ(QFileInfo(path).size(), 29);
    EXPECT_EQ(readFormIni(path), g);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    qToLittleEndian<int32_t>(-300, bytes.data() + 4); // left
    qToLittleEndian<int32_t>(0, bytes.data() + 24);   // log height
    f.seek(0);
    f.write(bytes);
    f.close();
    const auto clamped = readFormIni(path);
    ASSERT_TRUE(clamped);
    EXPECT_EQ(clamped->left, 5);
    EXPECT_EQ(clamped->logHeight, 5);
    EXPECT_EQ(clamped->width, 1000);

    // Sizes near the type's limits would overflow the window's sums of them; an unknown state is
    // the normal one.
    qToLittleEndian<int32_t>(INT32_MAX, bytes.data() + 16); // mode panel
    qToLittleEndian<int32_t>(INT32_MAX, bytes.data() + 20); // tree panel
    bytes[28] = 7;
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    const auto capped = readFormIni(path);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->modePanelWidth, kFormIniMaximum);
    EXPECT_EQ(capped->treePanelWidth, kFormIniMaximum);
    EXPECT_EQ(capped->state, 0);

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.left(28));
    f.close();
    EXPECT_FALSE(readFormIni(path));
    EXPECT_FALSE(readFormIni(dir.filePath(QStringLiteral("none.ini"))));
    EXPECT_FALSE(writeFormIni(dir.filePath(QStringLiteral("no/such/dir/Form.ini")), g));
}

TEST_F(MainWindowTest, EndOfRunWritesFormIni) {
    create();
    window->refresh();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->formIniPath(), QDir(settingsDir.path()).filePath(QStringLiteral("Form.ini")));
    const auto stored = readFormIni(window->formIniPath());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->width, window->currentGeometry().width);
    // Nothing is written beside the program: once installed, its folder is read-only.
    EXPECT_FALSE(QFileInfo::exists(programDir.filePath(QStringLiteral("Form.ini"))));

    // A settings folder that cannot be made does not hold the program open.
    QFile blocker(programDir.filePath(QStringLiteral("a-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MainWindow::Options o;
    o.programDir = programDir.path();
    o.settingsDir = blocker.fileName() + QStringLiteral("/vextor");
    o.dialogs = &dialogs;
    MainWindow other(o);
    other.show();
    EXPECT_TRUE(other.close());
}

// The user's own Form.ini wins; one beside the program is read while the user has none; either way
// the window opens inside the screen, however large the remembered size.
TEST_F(MainWindowTest, FormIniFromTheUserFirstAndTheWindowFitsTheScreen) {
    const FormGeometry beside{500, 10, 10, 780, 80, 230, 100, 0};
    ASSERT_TRUE(writeFormIni(programDir.filePath(QStringLiteral("Form.ini")), beside));
    create();
    EXPECT_EQ(window->currentGeometry().width, 780);
    window.reset();

    const FormGeometry own{5000, 0, 0, 7000, 80, 230, 100, 0};
    ASSERT_TRUE(writeFormIni(QDir(settingsDir.path()).filePath(QStringLiteral("Form.ini")), own));
    create();
    const QRect screen = window->screen()->availableGeometry();
    const QRect placed = window->geometry();
    EXPECT_LE(placed.width(), screen.width());
    EXPECT_LE(placed.height(), screen.height());
    EXPECT_GT(placed.width(), screen.width() / 2);
}

TEST_F(MainWindowTest, MarkAndLinkWindowFromTheTree) {
    create();
    window->refresh();
    Project& project = window->project();
    project.model.MasterCount = 1;
    project.RebuildTree();
    project.CollapseToDevices();
    window->tree()->sync();

    // Also while an operation waits on the line: the mark is never held by it.
    {
        BusyGuard busy;
        dialogs.yesNo = {true};
        window->tree()->doubleClick(window->tree()->itemForCode(2));
        QApplication::processEvents();
    }
    EXPECT_EQ(project.MarkCode, 2);
    EXPECT_FALSE(window->tree()->itemForCode(2)->icon(0).isNull());

    window->tree()->doubleClick(window->tree()->itemForCode(3)); // "Связь" of the master
    QApplication::processEvents();
    EXPECT_TRUE(window->linkWindow()->isVisible());
    EXPECT_EQ(window->linkWindow()->windowTitle(), QStringLiteral("Cвязь с Имя мастера 1"));
    EXPECT_FALSE(window->linkWindow()->pages()->isTabVisible(0));
}

// The hidden corner of the link details window opens the image as annotated text; "Считать" builds
// it anew from the image as it is now.
TEST_F(MainWindowTest, HiddenCornerOpensTheImageDumpAndReadRebuildsIt) {
    create();
    window->refresh();
    ConfigDumpWindow* dump = window->dumpWindow();
    ASSERT_NE(dump, nullptr);
    EXPECT_FALSE(dump->isVisible());

    QWidget* corner = window->linkMore()->hiddenCorner();
    const QPointF at(corner->width() / 2.0, corner->height() / 2.0);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, corner->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(corner, &click);
    EXPECT_TRUE(dump->isVisible());
    EXPECT_EQ(dump->text(), configurationDumpLines(window->image).join('\n'));
    EXPECT_TRUE(dump->text().contains("\n66 - ArrSensors[0].KindSensor = 255\n"));

    // A changed image shows only after "Считать", and a second press gives the same text again.
    window->image.Zarnet_Modbus = 85;
    EXPECT_FALSE(dump->text().contains("4 - Zarnet_Modbus = 55"));
    dump->readButton()->click();
    const QString once = dump->text();
    dump->readButton()->click();
    EXPECT_EQ(dump->text(), once);
    EXPECT_TRUE(once.contains("\n4 - Zarnet_Modbus = 55\n"));
    EXPECT_EQ(once.count("Zarnet_Modbus"), 1);
    EXPECT_EQ(dump->readButton()->text(), QStringLiteral("Считать"));
}

// "Сравнить с файлом..." on the configuration file node shows the core's records as they are, one row
// each, under headers that name the two sides; the configuration window's hidden menu does the same.
TEST_F(MainWindowTest, CompareWithFileShowsTheCoresRecords) {
    create();
    window->refresh();
    Project& project = window->project();
    project.model.MasterCount = 1;
    project.RebuildTree();
    ProjectTreeView* tree = window->tree();
    tree->sync();

    QTemporaryDir dir;
    const QString file = dir.filePath("plant.bin");
    ConfigImage other = window->image;
    other.PresetTempAir = 22.5f;
    other.AdrNumDut[4] = {3, 6};
    other.Calendars[1][0] = 0xF0;
    ASSERT_TRUE(saveConfigurationFile(other, file).success);
    window->image.ArrSensors[1] = {0, 0, 0.0f, 0.0f, 0.0f, {4, 3, 0, 0}};
    const std::vector<ConfigDifference> expected =
        compareWithFileBytes(window->image, configurationFileBytes(other));
    ASSERT_GE(expected.size(), 5u);

    const int configNode = 4;
    tree->setCurrentItem(tree->itemForCode(configNode));
    const auto items = tree->popupForCurrent();
    const auto compare = std::find_if(items.begin(), items.end(),
                                      [](const MenuItem& i) { return i.caption == "Сравнить с файлом..."; });
    ASSERT_NE(compare, items.end());
    dialogs.openFiles = {file};
    tree->runMenuItem(*compare);

    ConfigDiffWindow* diff = window->diffWindow();
    ASSERT_NE(diff, nullptr);
    EXPECT_TRUE(diff->isVisible());
    QTableWidget* table = diff->table();
    QStringList headers;
    for (int c = 0; c < table->columnCount(); ++c)
        headers << table->horizontalHeaderItem(c)->text();
    EXPECT_EQ(headers, (QStringList{"Вкладка", "Параметр", "Открытая конфигурация", "plant.bin"}));
    ASSERT_EQ(table->rowCount(), static_cast<int>(expected.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        const ConfigDifference& d = expected[static_cast<size_t>(r)];
        EXPECT_EQ(table->item(r, 0)->text(), d.section) << r;
        EXPECT_EQ(table->item(r, 1)->text(), d.name) << r;
        EXPECT_EQ(table->item(r, 2)->text(), d.valueA) << r;
        EXPECT_EQ(table->item(r, 3)->text(), d.valueB) << r;
    }

    // The same file once the image holds it: no rows, only the message; the old rows stay.
    window->image = other;
    dialogs.openFiles = {file};
    window->configWindow()->compareWithFileAction()->trigger();
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("Конфигурации совпадают."));
    EXPECT_EQ(table->rowCount(), static_cast<int>(expected.size()));
}

// The two group nodes of a device share one code; each item still stands for its own node, and a
// double click opens that one only.
TEST_F(MainWindowTest, TreeItemsFindTheirNodesByCodeGroupsIncluded) {
    create();
    window->refresh();
    Project& project = window->project();
    project.model.MasterCount = 1;
    project.RebuildTree();
    project.CollapseToDevices();
    ProjectTreeView* tree = window->tree();
    tree->sync();

    QTreeWidgetItem* configFile = tree->itemForCode(4);
    QTreeWidgetItem* eventsFile = tree->itemForCode(5);
    ASSERT_TRUE(configFile && eventsFile);
    QTreeWidgetItem* configGroup = configFile->parent();
    QTreeWidgetItem* eventsGroup = eventsFile->parent();
    EXPECT_EQ(tree->nodeOf(configGroup), project.tree.findCode(4)->parent);
    EXPECT_EQ(tree->nodeOf(eventsGroup), project.tree.findCode(5)->parent);
    EXPECT_EQ(tree->nodeOf(tree->itemForCode(2)), project.tree.findCode(2));

    tree->doubleClick(eventsGroup);
    QApplication::processEvents();
    EXPECT_TRUE(project.tree.findCode(5)->parent->expanded);
    EXPECT_FALSE(project.tree.findCode(4)->parent->expanded);
    EXPECT_TRUE(tree->itemForCode(5)->parent()->isExpanded());
    EXPECT_FALSE(tree->itemForCode(4)->parent()->isExpanded());
}

// The window with its line on the demo's virtual line, the master marked and identified.
class LinkedWindow : public MainWindowTest {
protected:
    std::unique_ptr<DemoProject> demo;
    // Tests that want the line's pauses to pass at once set this before the window starts its line;
    // it goes only after the line thread has ended (TearDown), as the clock seam requires.
    std::optional<testing::NoPauseClock> pacing;

    void SetUp() override {
        QString error;
        demo = DemoProject::start(error);
        ASSERT_TRUE(demo) << error.toStdString();
    }
    void TearDown() override {
        window.reset(); // the line thread ends before the virtual line and the clock
        pacing.reset();
        demo.reset();
    }

    void link(UserDialogs* own = nullptr) {
        create(
            [this] {
                Project& p = window->project();
                ASSERT_TRUE(p.openProjectFile(demo->projectPath()));
                p.MarkCode = node_code::kMasterDevice;
                p.repaintTree();
                p.ApplyMarkedLink();
            },
            own);
        window->refresh();
        ASSERT_TRUE(testing::waitFor([&] { return window->project().LinkUp; }))
            << dialogs.shown.join('|').toStdString();
    }
    // Waits for n further ticks of the line, with the window's refresh running meanwhile.
    void ticks(uint64_t n) {
        const uint64_t until = window->line().ticks() + n;
        ASSERT_TRUE(testing::waitFor([&] {
            window->refresh();
            return window->line().ticks() >= until;
        }));
    }
    void runPopup(int code, const QString& caption) {
        Project& p = window->project();
        for (const MenuItem& item : p.popupItems(p.tree.findCode(code)))
            if (item.caption == caption) {
                window->tree()->setCurrentItem(window->tree()->itemForCode(code));
                window->tree()->runMenuItem(item);
                return;
            }
        FAIL() << "no popup item " << caption.toStdString();
    }
    bool shown(const QString& text) const { return dialogs.shown.contains(text); }
};

TEST_F(LinkedWindow, DemoMasterIsIdentifiedOnTheLineThread) {
    pacing.emplace();
    link();
    window->refresh();
    EXPECT_EQ(window->statusText(3),
              QStringLiteral("   Vextor вер.2,01:3, панель вер. 1,05, конфигурация вер. 2,00   "));
    EXPECT_TRUE(window->logText().contains(demo->projectPath()));
    EXPECT_FALSE(window->busy()) << "an identification is no user operation";
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
    // The demo's pseudo-terminal has no low-latency mode: the link details say so, the line works.
    EXPECT_EQ(window->linkMore()->lowLatencyText(),
              QStringLiteral("Zarnet: драйвер не поддерживает; ModBus: порт ещё не открывался"));

    // A service operation runs on the line and brings its result back as a value.
    std::optional<JobResult<std::optional<uint16_t>>> delay;
    window->line().submit<std::optional<uint16_t>>(
        TaskTurn::ReadReplyDelay,
        [](LineAccess& line) -> std::optional<uint16_t> {
            uint16_t ms = 0;
            return ReadReplyDelay(line.link, ms) ? std::optional<uint16_t>(ms) : std::nullopt;
        },
        [&](const JobResult<std::optional<uint16_t>>& result) { delay = result; });
    ASSERT_TRUE(testing::waitFor([&] { return delay.has_value(); }));
    ASSERT_TRUE(delay->ran());
    EXPECT_TRUE(delay->value->has_value());
    EXPECT_TRUE(testing::waitFor([&] { return !window->busy(); }));
}

// The traffic window is made on first use, from "Связь. Дополнительно." or from the menu beside the link
// settings, and shows the frames of the line's ticks from then on.
TEST_F(LinkedWindow, TrafficWindowIsMadeOnFirstUseAndShowsTheTicksFrames) {
    pacing.emplace();
    link();
    EXPECT_EQ(window->trafficWindow(), nullptr);
    window->linkMore()->trafficButton()->click();
    TrafficWindow* traffic = window->trafficWindow();
    ASSERT_NE(traffic, nullptr);
    EXPECT_TRUE(traffic->isVisible());
    FrameTableModel& frames = traffic->model();
    ASSERT_TRUE(testing::waitFor([&] { return frames.rowCount() >= 2; }));
    EXPECT_EQ(frameCommandText(frames.frame(0)), "GetDeviceVersion");
    EXPECT_EQ(frames.frame(1).verdict, FrameVerdict::Good);

    traffic->close();
    QAction* menuEntry = nullptr;
    for (QAction* menu : window->menuBar()->actions())
        if (menu->text() == QStringLiteral("Режим работы"))
            for (QAction* a : menu->menu()->actions())
                if (a->text() == QStringLiteral("Обмен"))
                    menuEntry = a;
    ASSERT_NE(menuEntry, nullptr);
    menuEntry->trigger();
    EXPECT_EQ(window->trafficWindow(), traffic);
    EXPECT_TRUE(traffic->isVisible());
}

// The service page's buttons run their operations on the line thread; the results come back to the
// page, the messages to the window's dialogs, and the project keeps the Modbus settings read.
TEST_F(LinkedWindow, ServicePageReadsTheControllersSettingsOverTheLine) {
    pacing.emplace();
    link();
    window->refresh();
    ServicePages* pages = window->servicePages();
    ASSERT_NE(pages, nullptr);
    EXPECT_TRUE(pages->zarnetPage()->isEnabled()) << "the page works while the link is up";

    pages->speedList()->setCurrentIndex(3);
    pages->modbusAddress()->setText(QStringLiteral("99"));
    pages->button(device_texts::kModbusGroup, device_texts::kReadFromDevice)->click();
    EXPECT_TRUE(window->busy());
    ASSERT_TRUE(testing::waitFor([&] { return shown(device_texts::kReadDone); }))
        << dialogs.shown.join('|').toStdString();
    const DeviceRecord& master = window->project().model.Master;
    EXPECT_EQ(pages->speedList()->currentIndex(), mbBaudIndex(master.MbParams));
    EXPECT_EQ(pages->modbusAddress()->text(), QString::number(master.ModbusAddress));
    EXPECT_NE(pages->modbusAddress()->text(), "99");

    pages->replyDelay()->setText(QStringLiteral("-"));
    pages->button(device_texts::kReplyDelayGroup, device_texts::kRead)->click();
    ASSERT_TRUE(testing::waitFor([&] { return pages->replyDelay()->text() != "-"; }));
    bool number = false;
    pages->replyDelay()->text().toInt(&number);
    EXPECT_TRUE(number) << pages->replyDelay()->text().toStdString();
    EXPECT_TRUE(testing::waitFor([&] { return !window->busy(); }));
}

TEST_F(LinkedWindow, RenameSurvivesTicksTakesTheNameOnlyAndACancelStaysCancelled) {
    pacing.emplace();
    link();
    ProjectTreeView* tree = window->tree();
    runPopup(node_code::kMasterDevice, QStringLiteral("Редактировать"));
    auto* editor = qobject_cast<QLineEdit*>(tree->renameEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Приточная установка")) << "the name without its kind";
    editor->setText(QStringLiteral("ПВ-1"));

    ticks(5);
    ASSERT_EQ(tree->renameEditor(), editor);
    EXPECT_EQ(editor->text(), QStringLiteral("ПВ-1"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    auto itemText = [&] { return tree->itemForCode(node_code::kMasterDevice)->text(0); };
    EXPECT_TRUE(testing::waitFor([&] { return itemText() == QStringLiteral("ПВ-1 (Vextor Мастер)"); }, 2000))
        << itemText().toStdString();
    EXPECT_EQ(window->project().model.Master.Name, QStringLiteral("ПВ-1"));

    // Escape: the full text is back and a later, unrelated question opens no editor.
    runPopup(node_code::kMasterDevice, QStringLiteral("Редактировать"));
    editor = qobject_cast<QLineEdit*>(tree->renameEditor());
    ASSERT_NE(editor, nullptr);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor, &escape);
    EXPECT_TRUE(testing::waitFor([&] { return tree->renameEditor() == nullptr; }, 2000));
    EXPECT_EQ(itemText(), QStringLiteral("ПВ-1 (Vextor Мастер)"));
    dialogs.yesNo = {false};
    runPopup(node_code::kRoot, QStringLiteral("Добавить Vextor ведомый"));
    ticks(2);
    EXPECT_EQ(tree->renameEditor(), nullptr);
    EXPECT_EQ(window->project().model.Master.Name, QStringLiteral("ПВ-1"));
}

TEST_F(LinkedWindow, FilterListAndToolBarStayAsTheyAreDuringTwentyTicks) {
    pacing.emplace();
    link();
    auto* filter = qobject_cast<QComboBox*>(window->filterBox());
    ASSERT_NE(filter, nullptr);
    int actionChanges = 0;
    for (QAction* a : window->projectCommands())
        QObject::connect(a, &QAction::changed, [&] { ++actionChanges; });
    // The maximized mode window adds its own title to the main window's: the refresh must not
    // take that for a changed project title and rename the window every tick.
    int titleChanges = 0;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&] { ++titleChanges; });
    filter->showPopup();
    ASSERT_TRUE(filter->view()->isVisible());

    ticks(20);

    EXPECT_TRUE(filter->view()->isVisible()) << "the list stays open";
    EXPECT_TRUE(filter->isEnabled());
    for (QAction* a : window->projectCommands())
        EXPECT_TRUE(a->isEnabled());
    EXPECT_EQ(actionChanges, 0);
    EXPECT_EQ(titleChanges, 0);
    filter->hidePopup();
}

TEST_F(LinkedWindow, ConfigurationReadReplacesTheImageAndEveryTabShowsIt) {
    pacing.emplace();
    link();
    // The project's record names another Modbus address than the controller holds (2).
    window->project().model.Master.ModbusAddress = 7;
    window->refresh();
    EXPECT_EQ(window->servicePages()->modbusAddress()->text(), QStringLiteral("7"));
    window->image.ArrSensors[0].Rbegin = 1.0f;
    window->configWindow()->configurationChanged(kAllConfigViews);

    runPopup(node_code::kMasterDevice + 2, QStringLiteral("Считать из прибора"));
    EXPECT_TRUE(window->busy());
    EXPECT_TRUE(window->configWindow()->transferRunning()) << "no apply while the image is replaced";
    // A new project would drop the read, so its commands stay.
    for (QAction* a : window->projectCommands())
        EXPECT_TRUE(a->isEnabled());
    ASSERT_TRUE(testing::waitFor([&] { return shown(task_texts::kConfigRead); }))
        << dialogs.shown.join('|').toStdString();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));

    EXPECT_EQ(window->image.ArrSensors[0].Rbegin, 1000.0f);
    ConfigWindow* cfg = window->configWindow();
    SensorsPage* sensors = cfg->tab(cfg_texts::kSensors)->findChild<SensorsPage*>();
    ASSERT_NE(sensors, nullptr);
    EXPECT_EQ(sensors->cell(0, 2), "R0 = 1000,00  ; 2-х проводная; Rлинии = 2,20");
    // The read fills the service page's Modbus fields from the controller's MB_Address and MB_Params.
    EXPECT_EQ(window->servicePages()->modbusAddress()->text(), QStringLiteral("2"));
    EXPECT_EQ(window->servicePages()->speedList()->currentText(), QStringLiteral("9600"));
    EXPECT_FALSE(cfg->transferRunning());
    for (QAction* a : window->projectCommands())
        EXPECT_TRUE(a->isEnabled());
}

TEST_F(LinkedWindow, WriteSendsTheImageAsItWasWhenQueued) {
    pacing.emplace();
    link();
    window->image.ArrSensors[4].Rline = 42.5f;
    runPopup(node_code::kMasterDevice + 2, QStringLiteral("Записать в прибор"));
    window->image.ArrSensors[4].Rline = 99.0f; // edited while the write runs
    ASSERT_TRUE(testing::waitFor([&] { return shown(task_texts::kConfigWritten); }))
        << dialogs.shown.join('|').toStdString();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));

    runPopup(node_code::kMasterDevice + 2, QStringLiteral("Считать из прибора"));
    ASSERT_TRUE(testing::waitFor([&] { return shown(task_texts::kConfigRead); }));
    EXPECT_EQ(window->image.ArrSensors[4].Rline, 42.5f);
}

// A window first built while the link is up shows it, as one built at start would have been told.
TEST_F(LinkedWindow, AWindowBuiltAfterTheLinkCameUpShowsIt) {
    link();
    ASSERT_FALSE(window->monitorWindowBuilt());
    monitor::MonitorWindow* mon = window->monitorWindow();
    EXPECT_TRUE(mon->startAction()->isEnabled());
}

// The device window in the application: its commands run as direct jobs between the ticks of the
// task loop that serves the marked master on the same port, and lead to the configuration and event
// windows.
// The live monitor in the application against the demo's virtual controller: "Старт" fills the
// values, lamps and chart, events come in, the recording writes the rows the chart shows, and a reset
// from the service page asks to stop the monitor first.
TEST_F(LinkedWindow, LiveMonitorPollsRecordsAndStops) {
    pacing.emplace();
    link();
    window->modeButton(2)->click();
    window->refresh();
    monitor::MonitorWindow* mon = window->monitorWindow();
    ASSERT_EQ(window->shownModeWindow(), mon);
    EXPECT_TRUE(mon->startAction()->isEnabled());
    EXPECT_FALSE(mon->stopAction()->isEnabled());
    for (int k : {0, 1})
        mon->analogInBox(k)->setChecked(true);
    mon->analogOutBox(0)->setChecked(true);
    for (int k = 0; k < 6; ++k) {
        mon->discreteInBox(k)->setChecked(true);
        mon->discreteOutBox(k)->setChecked(true);
    }
    const QString csv = programDir.filePath(QStringLiteral("plant.csv"));
    dialogs.saveFiles = {csv};
    mon->recordAction()->trigger();
    EXPECT_EQ(mon->recordAction()->text(), QStringLiteral("Остановить запись"));

    mon->startAction()->trigger();
    EXPECT_TRUE(window->liveMonitor()->running());
    EXPECT_FALSE(mon->startAction()->isEnabled());
    EXPECT_TRUE(mon->activity()->isVisible());
    ASSERT_TRUE(testing::waitFor([&] { return mon->series(1)->count() >= 3; }, 20000));
    EXPECT_FALSE(mon->analogInField(0)->text().isEmpty());
    EXPECT_TRUE(mon->analogInField(0)->text().contains(QLatin1Char(','))) << "a decimal comma";
    EXPECT_FALSE(mon->analogOutField(0)->text().isEmpty());
    EXPECT_TRUE(mon->analogInField(2)->text().isEmpty()) << "an unticked channel is not read";
    EXPECT_EQ(mon->series(3)->count(), 0);
    // With no Colors.ini only the first analog input is plotted, the axis 0 to 100.
    EXPECT_TRUE(mon->series(1)->isVisible());
    EXPECT_FALSE(mon->series(2)->isVisible());
    EXPECT_EQ(mon->valueAxis()->max(), 100.0);
    // The lamps show what the line read: lime for an input that is on, red for an output.
    const monitor::MonitorView& view = window->liveMonitor()->view;
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(mon->discreteInLamp(k)->property("lamp").toInt(), int(view.discreteInLamp[size_t(k)]));
        EXPECT_EQ(mon->discreteOutLamp(k)->property("lamp").toInt(), int(view.discreteOutLamp[size_t(k)]));
    }
    // A restart of the controller is an event of its log: the monitor's event poll brings it.
    window->line().submit<bool>(
        TaskTurn::Reset, [](LineAccess& a) { return ResetDevice(a.link); }, [](const JobResult<bool>&) {});
    EXPECT_TRUE(testing::waitFor([&] { return !mon->eventList()->toPlainText().isEmpty(); }, 20000));

    // A reset from the service page must stop the monitor first: No keeps it running.
    dialogs.yesNo = {false};
    QPushButton* reset = window->servicePages()->button(QString(), device_texts::kResetDevice);
    ASSERT_NE(reset, nullptr);
    reset->click();
    EXPECT_TRUE(shown(task_texts::kAskStopVisual));
    EXPECT_TRUE(window->liveMonitor()->running());

    mon->stopAction()->trigger();
    EXPECT_FALSE(window->liveMonitor()->running());
    EXPECT_TRUE(mon->startAction()->isEnabled());
    const int points = mon->series(1)->count();
    mon->recordAction()->trigger(); // the recording ends
    // The chart as a picture.
    const QString png = programDir.filePath(QStringLiteral("chart.png"));
    dialogs.saveFiles = {png};
    mon->saveChartAction()->trigger();
    QFile picture(png);
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_TRUE(picture.read(8).startsWith("\x89PNG"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().trimmed().split('\n');
    ASSERT_GE(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith("time,T 1,T 2,")) << rows[0].constData();
    // Every chart point is a row; a point delivered after "Стоп" may still have come in.
    EXPECT_GE(rows.size() - 1, points - 1);
    EXPECT_LE(rows.size() - 1, points);
}

// The monitor's service menus, offered to a service engineer: a discrete output set by hand from its
// panel reaches the controller and comes back on the monitor's lamp; "Старт" closes the menus.
TEST_F(LinkedWindow, ServiceMenuOutputShowsOnTheMonitor) {
    pacing.emplace();
    qputenv("VEXTOR_SERVICE_MENUS", "1");
    link();
    qunsetenv("VEXTOR_SERVICE_MENUS");
    window->modeButton(2)->click();
    window->refresh();
    monitor::MonitorWindow* mon = window->monitorWindow();
    monitor::ServicePanels* panels = window->monitorServicePanels();
    for (QAction* a : panels->menuActions())
        EXPECT_TRUE(a->isVisible());
    panels->item(QStringLiteral("Дискретным..."))->trigger();
    QGroupBox* panel = panels->openPanel();
    ASSERT_NE(panel, nullptr);
    panel->findChild<QLineEdit*>(QStringLiteral("address"))->setText(QStringLiteral("0"));
    panel->findChild<QLineEdit*>(QStringLiteral("number"))->setText(QStringLiteral("4"));
    panel->findChild<QCheckBox*>()->setChecked(true);
    for (QPushButton* b : panel->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Выполнить"))
            b->click();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));

    mon->discreteOutBox(3)->setChecked(true);
    mon->startAction()->trigger();
    for (QAction* a : panels->menuActions())
        EXPECT_FALSE(a->isEnabled()) << "the menus rest while the monitor runs";
    ASSERT_TRUE(testing::waitFor(
        [&] { return window->liveMonitor()->view.discreteOutLamp[3] == monitor::Lamp::Red; }, 20000));
    EXPECT_TRUE(mon->discreteOutLamp(3)->styleSheet().contains(QStringLiteral("#ff0000")));
    mon->stopAction()->trigger();
    for (QAction* a : panels->menuActions())
        EXPECT_TRUE(a->isEnabled());
}

TEST_F(LinkedWindow, DeviceWindowWorksBesideTheTaskLoopOnTheSamePort) {
    pacing.emplace();
    link();
    window->modeButton(4)->click();
    window->refresh();
    DeviceWindow* device = window->deviceWindow();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(window->shownModeWindow(), device);
    EXPECT_EQ(window->statusText(2), QStringLiteral("ВН"));
    EXPECT_EQ(device->windowTitle(), QStringLiteral("Vextor (v2.00 и выше)     Порт  COM1"));
    QAction* configuration = device->action(device_texts::kMenuConfiguration);
    ASSERT_NE(configuration, nullptr);
    EXPECT_FALSE(configuration->isEnabled());
    EXPECT_FALSE(device->action(device_texts::kMenuReset)->isEnabled());

    dialogs.inputs = {QStringLiteral("3")};
    device->action(device_texts::kAddressAsk)->trigger();
    EXPECT_TRUE(window->busy()) << "a direct job is a user operation";
    ASSERT_TRUE(testing::waitFor([&] { return device->identityLabel()->isVisible(); }))
        << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(device->identityLabel()->text(), QStringLiteral("Vextor  v2,01:3    Адрес - 3"));
    EXPECT_TRUE(configuration->isEnabled());
    EXPECT_FALSE(device->action(device_texts::kMenuPort)->isEnabled());

    // The delay group: opened, written, read back while the task loop goes on ticking.
    device->action(device_texts::kReplyDelayItem)->trigger();
    EXPECT_TRUE(device->delayGroup()->isVisible());
    device->delayEdit()->setText(QStringLiteral("4"));
    device->delayEdit()->textEdited(QStringLiteral("4"));
    device->button(device_texts::kDelayWrite)->click();
    ASSERT_TRUE(testing::waitFor([&] { return device->sentLabel()->isVisible(); }));
    EXPECT_EQ(device->sentLabel()->text(), device_texts::kSent);
    device->delayEdit()->setText(QString());
    ticks(2);
    device->button(device_texts::kDelayRead)->click();
    ASSERT_TRUE(testing::waitFor([&] { return device->delayEdit()->text() == QStringLiteral("4"); }));
    EXPECT_TRUE(window->project().LinkUp) << "the task loop kept its link";

    // The clock group opens beside it; a click on a group closes that group.
    device->action(device_texts::kClockItem)->trigger();
    EXPECT_TRUE(device->clockGroup()->isVisible());
    device->button(device_texts::kReadFromDevice)->click();
    ASSERT_TRUE(testing::waitFor([&] { return device->dateEdit()->text().size() == 8; }));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4),
                      device->delayGroup()->mapToGlobal(QPointF(4, 4)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(device->delayGroup(), &press);
    EXPECT_FALSE(device->delayGroup()->isVisible());
    EXPECT_FALSE(device->sentLabel()->isVisible());
    EXPECT_TRUE(device->clockGroup()->isVisible());

    // "Get" reads the status and leads to the live monitor.
    device->action(device_texts::kGet)->trigger();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));
    window->refresh();
    EXPECT_EQ(window->shownModeWindow(), window->monitorWindow());
    window->modeButton(4)->click();
    window->refresh();

    // "Параметры" reads the configuration and leads to the editor.
    window->image.ArrSensors[0].Rbegin = 1.0f;
    device->action(device_texts::kParameters)->trigger();
    EXPECT_TRUE(device->readingLabel()->isVisible());
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));
    EXPECT_FALSE(device->readingLabel()->isVisible());
    EXPECT_EQ(window->image.ArrSensors[0].Rbegin, 1000.0f);
    window->refresh();
    EXPECT_EQ(window->shownModeWindow(), window->configWindow());

    // "Modbus Address", then "Modbus": the event log into a file, shown in the event viewer.
    window->modeButton(4)->click();
    window->refresh();
    dialogs.inputs = {QStringLiteral("2")};
    device->action(device_texts::kModbusAddressItem)->trigger();
    ASSERT_TRUE(device->action(device_texts::kMenuModbus)->isEnabled());
    const QString events = programDir.filePath(QStringLiteral("direct.blb"));
    dialogs.saveFiles = {events};
    device->action(device_texts::kMenuModbus)->trigger();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));
    EXPECT_EQ(QFileInfo(events).size(), 682 * 9);
    window->refresh();
    EXPECT_EQ(window->shownModeWindow(), window->eventViewer());
    EXPECT_FALSE(device->eventPanel()->isVisible());
}

TEST_F(LinkedWindow, ExitDuringAnEventReadStopsItAndKeepsThePartialFile) {
    // Real pauses: the read takes many seconds, so the exit comes in its middle.
    link();
    const QString path = demo->directory() + QStringLiteral("/events.blb");
    dialogs.saveFiles.push_back(path);
    runPopup(node_code::kMasterDevice + 3, QStringLiteral("Считать из прибора"));
    ASSERT_TRUE(testing::waitFor([&] {
        return window->progressWindow()->stepText().startsWith(QStringLiteral("Количество перезапросов"));
    }));
    testing::waitFor([] { return false; }, 400); // some records arrive
    dialogs.shown.clear();

    // The master's record names the event file chosen for the read: the project asks to be saved.
    dialogs.yesNoCancel.push_back(Answer::No);
    EXPECT_TRUE(window->close());

    QFile file(path);
    ASSERT_TRUE(file.exists());
    EXPECT_GT(file.size(), 0);
    EXPECT_LT(file.size(), 682 * 9);
    EXPECT_EQ(file.size() % 9, 0);
    QApplication::processEvents();
    // Only the save question: the stopped read tells nothing.
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("Сохранить изменения проекта?")});
}

// The user closes the program while the line waits for the answer to its message.
struct ClosingDialogs : ScriptedDialogs {
    std::function<void()> onMessage;
    void message(const QString& text) override {
        ScriptedDialogs::message(text);
        // Once only; the function may not be replaced while it runs.
        if (auto f = std::exchange(onMessage, nullptr))
            f();
    }
};

TEST_F(LinkedWindow, AQuestionPendingOnTheLineDoesNotHoldTheExit) {
    pacing.emplace();
    ClosingDialogs closing;
    link(&closing);
    bool closed = false;
    closing.onMessage = [&] { closed = window->close(); };
    runPopup(node_code::kMasterDevice + 2, QStringLiteral("Считать из прибора"));
    ASSERT_TRUE(testing::waitFor([&] { return closed; }));
    EXPECT_TRUE(closing.shown.contains(task_texts::kConfigRead));
    EXPECT_TRUE(window->line().stopping());
}

// The marked controller stops answering and a read waits for it. Neither holds the engineer: new
// link settings reach the line at its next tick and the read then runs; marking another controller
// drops the read with its message and links that one.
TEST_F(LinkedWindow, AReadWaitingForASilentControllerHoldsNeitherTheLinkSettingsNorTheMark) {
    pacing.emplace();
    link();
    Project& p = window->project();
    auto silence = [&] {
        p.model.Master.ZarnetAddress = 50; // a wrong address typed in the link settings
        ASSERT_TRUE(testing::waitFor([&] {
            window->refresh();
            return !p.LinkUp;
        }));
        window->session().queueTask(LineTask::ReadConfig);
        ticks(2);
        ASSERT_TRUE(window->busy());
    };
    ASSERT_NO_FATAL_FAILURE(silence());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();

    p.model.Master.ZarnetAddress = DemoProject::kMasterAddress;
    ASSERT_TRUE(testing::waitFor([&] {
        window->refresh();
        return shown(QStringLiteral("     Конфигурация прочитана!     "));
    })) << dialogs.shown.join('|').toStdString();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));

    ASSERT_NO_FATAL_FAILURE(silence());
    dialogs.shown.clear();
    const int slave = deviceNodeCode(DeviceSlot{DeviceKind::Slave, 1});
    dialogs.yesNo = {true};
    window->tree()->doubleClick(window->tree()->itemForCode(slave));
    ASSERT_TRUE(testing::waitFor([&] {
        window->refresh();
        return p.LinkUp && !window->busy();
    })) << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(p.MarkCode, slave);
    EXPECT_EQ(window->lineStatus().markCode, slave);
    ASSERT_TRUE(testing::waitFor([&] { return dialogs.shown.size() == 2; }));
    EXPECT_TRUE(dialogs.shown[0].startsWith(QStringLiteral("Установить метку на прибор  ")));
    EXPECT_EQ(dialogs.shown[1], QStringLiteral("     Ошибка чтения конфигурации!     "));
}

// A new project drops what waits for the old one's controller; while a configuration write runs the
// engineer is told to wait for its end, and the project stays.
TEST_F(LinkedWindow, ANewProjectDropsAWaitingReadAndWaitsForARunningWrite) {
    link();
    Project& p = window->project();
    QAction* open = window->projectCommands().at(1);
    ASSERT_EQ(open->text(), QStringLiteral("Открыть"));

    runPopup(node_code::kMasterDevice + 2, QStringLiteral("Записать в прибор"));
    ASSERT_TRUE(testing::waitFor([&] { return window->session().writingConfiguration(); }));
    dialogs.openFiles = {demo->projectPath()};
    open->trigger();
    EXPECT_EQ(dialogs.shown,
              QStringList{QStringLiteral("Идёт запись конфигурации в прибор.\n"
                                         "Открыть или создать проект можно после её окончания.")});
    EXPECT_EQ(dialogs.openFiles.size(), 1u) << "no project dialog while the write runs";
    EXPECT_EQ(p.MarkCode, node_code::kMasterDevice);
    ASSERT_TRUE(testing::waitFor([&] { return shown(QStringLiteral("Конфигурация записана!")); }))
        << dialogs.shown.join('|').toStdString();
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy(); }));

    p.model.Master.ZarnetAddress = 50;
    ASSERT_TRUE(testing::waitFor([&] {
        window->refresh();
        return !p.LinkUp;
    }));
    window->session().queueTask(LineTask::ReadConfig);
    ticks(1);
    dialogs.shown.clear();
    dialogs.yesNoCancel = {Answer::No}; // the wrong address is not saved
    open->trigger();
    EXPECT_EQ(p.MarkCode, 0);
    EXPECT_EQ(p.model.Master.ZarnetAddress, DemoProject::kMasterAddress) << "the project was opened again";
    ASSERT_TRUE(testing::waitFor([&] { return !window->busy() && dialogs.shown.size() == 3; }))
        << dialogs.shown.join('|').toStdString();
    EXPECT_EQ(dialogs.shown,
              (QStringList{QStringLiteral("Сохранить изменения проекта?"), QStringLiteral("Открыть"),
                           QStringLiteral("     Ошибка чтения конфигурации!     ")}));
}

} // namespace
} // namespace vextor
