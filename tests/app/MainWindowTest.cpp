// The main window offscreen: start state, mode switching at the refresh, Form.ini, the end of the
// run while the line is busy, and the demo line identified through the window's own task loop.
#include "app/DemoProject.h"
#include "config/ui/TFCfg.h"
#include "config/ui/texts.h"
#include "device/ui/TFLink.h"
#include "events/ui/TBBFrm.h"
#include "project/BusyState.h"
#include "project/TaskTexts.h"
#include "project/ui/FormIni.h"
#include "project/ui/ProjectTreeView.h"
#include "project/ui/TFAbout.h"
#include "project/ui/TFormMainIDE.h"
#include "project/ui/texts.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtEndian>
#include <gtest/gtest.h>

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

class MainWindow : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFormMainIDE> window;

    void create(std::function<void()> afterFirstTick = {}) {
        TFormMainIDE::Options o;
        o.programDir = programDir.path();
        o.dialogs = &dialogs;
        o.afterFirstTick = std::move(afterFirstTick);
        window = std::make_unique<TFormMainIDE>(o);
        window->sysTimer().stop(); // the test drives the refresh itself
        window->show();
    }
};

TEST_F(MainWindow, StartsWithTheEmptyProjectAndTheConfigurationWindow) {
    create();
    window->RefreshTick();

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
    EXPECT_TRUE(window->shownModeWindow()->parentWidget()->isMaximized());
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

TEST_F(MainWindow, ModeButtonsTakeEffectAtTheNextRefresh) {
    create();
    window->RefreshTick();
    struct Case {
        int button;
        QString panel;
        QWidget* shown;
    };
    const Case cases[] = {
        {1, QStringLiteral("События"), window->eventViewer()},
        {2, QStringLiteral("Визуализация"), nullptr}, // the live monitor is not built yet
        {0, QStringLiteral("Конфигурация"), window->configWindow()},
    };
    for (const Case& c : cases) {
        QWidget* before = window->shownModeWindow();
        window->modeButton(c.button)->click();
        EXPECT_EQ(window->shownModeWindow(), before);
        window->RefreshTick();
        EXPECT_EQ(window->statusText(2), c.panel);
        EXPECT_EQ(window->shownModeWindow(), c.shown);
    }
}

TEST_F(MainWindow, StatusPanelsKeepTheirWidthsSideBySideInANarrowWindow) {
    create();
    window->project().model.ActiveProtocol = kProtocolModbus; // the longest second panel
    window->resize(400, 500);
    window->RefreshTick();
    QApplication::processEvents();
    window->statusBar()->layout()->activate();
    for (int i = 0; i < 7; ++i) {
        const QLabel* panel = window->statusPanel(i);
        EXPECT_EQ(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()) + 15) << i;
        if (i > 0) {
            const QLabel* left = window->statusPanel(i - 1);
            EXPECT_GE(panel->x(), left->x() + left->width()) << "panel " << i << " over panel " << i - 1;
        }
    }
}

TEST_F(MainWindow, SaveButtonWritesTheImageOnlyInTheConfigurationMode) {
    create();
    window->RefreshTick();
    const QString cfg = programDir.filePath(QStringLiteral("a.bin"));
    window->WorkingConfigFile = cfg;
    window->RefreshTick();
    EXPECT_TRUE(window->saveButtonEnabled());

    // In the events mode the bar shows an event file, which the image must never overwrite.
    window->WorkingEventsFile = programDir.filePath(QStringLiteral("e.blb"));
    window->modeButton(1)->click();
    window->RefreshTick();
    EXPECT_EQ(window->workingFileText(), window->WorkingEventsFile);
    EXPECT_FALSE(window->saveButtonEnabled());

    window->modeButton(0)->click();
    window->RefreshTick();
    {
        BusyGuard busy;
        window->RefreshTick();
        EXPECT_FALSE(window->saveButtonEnabled());
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

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.left(28));
    f.close();
    EXPECT_FALSE(readFormIni(path));
    EXPECT_FALSE(readFormIni(dir.filePath(QStringLiteral("none.ini"))));
    EXPECT_FALSE(writeFormIni(dir.filePath(QStringLiteral("no/such/dir/Form.ini")), g));
}

TEST_F(MainWindow, EndOfRunWritesFormIniAndWaitsForTheLine) {
    create();
    window->RefreshTick();
    {
        BusyGuard busy;
        EXPECT_FALSE(window->close());
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(QFileInfo::exists(window->formIniPath()));
    }
    // The close asked for during the operation follows once it has finished.
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    const auto stored = readFormIni(window->formIniPath());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->width, window->currentGeometry().width);

    // A program directory that cannot take Form.ini does not hold the program open.
    TFormMainIDE::Options o;
    o.programDir = programDir.filePath(QStringLiteral("missing/dir"));
    o.dialogs = &dialogs;
    TFormMainIDE other(o);
    other.show();
    EXPECT_TRUE(other.close());
}

TEST_F(MainWindow, MarkAndLinkWindowFromTheTree) {
    create();
    window->RefreshTick();
    Project& project = window->project();
    project.model.MasterCount = 1;
    project.RebuildTree();
    project.CollapseToDevices();
    window->tree()->sync();

    // While the line is busy a double click only opens or closes the node.
    {
        BusyGuard busy;
        window->tree()->doubleClick(window->tree()->itemForCode(2));
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(project.MarkCode, 0);

    dialogs.yesNo = {true};
    window->tree()->doubleClick(window->tree()->itemForCode(2));
    QApplication::processEvents();
    EXPECT_EQ(project.MarkCode, 2);
    EXPECT_FALSE(window->tree()->itemForCode(2)->icon(0).isNull());

    window->tree()->doubleClick(window->tree()->itemForCode(3)); // "Связь" of the master
    QApplication::processEvents();
    EXPECT_TRUE(window->linkWindow()->isVisible());
    EXPECT_EQ(window->linkWindow()->windowTitle(), QStringLiteral("Cвязь с Имя мастера 1"));
    EXPECT_FALSE(window->linkWindow()->pages()->isTabVisible(0));
}

TEST_F(MainWindow, DemoMasterIsIdentifiedByTheWindowsTaskLoop) {
    testing::ManualClock pacing;
    QString error;
    auto demo = DemoProject::start(error);
    ASSERT_TRUE(demo) << error.toStdString();
    create([&] {
        Project& p = window->project();
        ASSERT_TRUE(p.openProjectFile(demo->projectPath()));
        p.MarkCode = node_code::kMasterDevice;
        p.repaintTree();
        p.ApplyMarkedLink();
    });
    window->RefreshTick();
    EXPECT_TRUE(window->tasksTimer().isActive());

    window->tasks().TimerTasksTimer();
    window->RefreshTick();

    EXPECT_TRUE(window->project().LinkUp);
    EXPECT_EQ(window->statusText(3),
              QStringLiteral("   Vextor вер.2,01:3, панель вер. 1,05, конфигурация вер. 2,00   "));
    EXPECT_TRUE(window->logText().contains(demo->projectPath()));
    EXPECT_FALSE(window->zarnetPort.isOpen());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
}

} // namespace
} // namespace vextor
