// The whole round in the application against a virtual controller on a pseudo-terminal: mark the
// master, read its configuration from the tree, edit a sensor, save it to a file, write it back,
// read the event log into the viewer.
#include "RoundSupport.h"
#include "app/MainWindow.h"
#include "config/ConfigFile.h"
#include "config/ui/ConfigWindow.h"
#include "config/ui/assignment/AssignmentPage.h"
#include "config/ui/sensors/SensorsPage.h"
#include "config/ui/texts.h"
#include "events/ui/EventViewer.h"
#include "events/ui/EventViewerPane.h"
#include "line/TaskTexts.h"
#include "project/ui/ProjectTreeView.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace vextor {
namespace {

using testing::editorIn;
using testing::findItem;
using testing::saveShot;
using testing::VirtualController;

// The controller's own configuration: a thermometer, a current input, a three-wire thermometer
// that takes channel 4, and a few assignments.
ConfigImage controllerImage() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    im.ArrSensors[0] = {0, 2, 1000.0f, 2.2f, 0.0f, {2, 2, 0, 0}};
    im.ArrSensors[1] = {4, 7, -30.0f, 70.0f, 200.0f, {}};
    im.ArrSensors[2] = {0, 1, 100.0f, 1.5f, 0.0f, {3, 0, 0x5A, 0xA5}};
    im.AdrNumAIn[0] = {1, 1};
    im.AdrNumAIn[2] = {1, 3};
    im.AdrNumAOut[0] = {1, 1};
    im.AdrNumDIn[0] = {2, 5};
    im.AdrNumDut[2] = {2, 1};
    return im;
}

TEST(ApplicationRound, ReadEditSaveWriteAndEvents) {
    const ConfigImage original = controllerImage();
    VirtualController controller(original);
    std::string error;
    ASSERT_TRUE(controller.start(error)) << error;
    qputenv("VEXTOR_COM1", controller.path().toLocal8Bit());
    testing::NoPauseClock pacing; // the pauses between requests pass at once; the line is real

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MainWindow::Options o;
    o.programDir = dir.path();
    o.dialogs = &dialogs;
    o.taskTickMs = 40;
    MainWindow window(o);
    window.refreshTimer().stop();
    window.resize(1147, 765);
    window.show();
    window.refresh();

    // A master at address 3, marked.
    Project& p = window.project();
    p.model.ProjectPath = dir.filePath("Round.prj");
    dialogs.yesNo.push_back(true);
    p.addMaster();
    p.MarkCode = node_code::kMasterDevice;
    p.repaintTree();
    p.ApplyMarkedLink();
    window.tree()->sync();
    window.refresh();
    ASSERT_TRUE(testing::waitFor([&] { return p.LinkUp; })) << dialogs.shown.join('|').toStdString();
    // The line's answers arrive on this thread; each step waits until the operation has ended.
    auto done = [&](const QString& message) {
        return testing::waitFor([&] { return dialogs.shown.contains(message) && !window.busy(); });
    };

    // "Считать из прибора" on the configuration file node.
    const int configNode = node_code::kMasterDevice + 2;
    const std::vector<MenuItem> items = p.popupItems(p.tree.findCode(configNode));
    const MenuItem* read = findItem(items, "Считать из прибора");
    ASSERT_NE(read, nullptr);
    p.runMenuItem(*read);
    ASSERT_TRUE(done(task_texts::kConfigRead)) << dialogs.shown.join('|').toStdString();

    ConfigWindow* cfg = window.configWindow();
    auto* sensors = editorIn<SensorsPage>(cfg->tab(cfg_texts::kSensors));
    auto* analog = editorIn<AssignmentPage>(cfg->tab(cfg_texts::kAnalogInOut));
    auto* discrete = editorIn<AssignmentPage>(cfg->tab(cfg_texts::kDiscreteInOut));
    ASSERT_TRUE(sensors && analog && discrete);
    EXPECT_EQ(sensors->cell(0, 1), "ТС  Pt 1.385");
    EXPECT_EQ(sensors->cell(0, 2), "R0 = 1000,00  ; 2-х проводная; Rлинии = 2,20");
    EXPECT_EQ(sensors->cell(1, 1), "Ток 4-20мА");
    EXPECT_EQ(sensors->cell(2, 1), "ТС  Cu 1.426   (I)");
    EXPECT_EQ(sensors->cell(3, 1), "ТС  Cu 1.426   (U)");
    EXPECT_EQ(sensors->cell(4, 1), "Нет датчика");
    // The first rows are selected after the read.
    EXPECT_EQ(sensors->numberEdit()->text(), "1");
    EXPECT_EQ(sensors->r0Edit()->text(), "1000,00");
    EXPECT_EQ(analog->inputs()->cell(2, 2), "1");
    EXPECT_EQ(analog->inputs()->cell(2, 3), "3");
    EXPECT_EQ(analog->inputs()->addressEdit()->text(), "1");
    EXPECT_EQ(discrete->outputs()->cell(2, 2), "2");
    cfg->userTabs()->setCurrentWidget(cfg->tab(cfg_texts::kSensors));
    window.refresh();
    saveShot(&window, "sensors.png");
    cfg->userTabs()->setCurrentWidget(cfg->tab(cfg_texts::kAnalogInOut));
    saveShot(&window, "analog.png");

    // The engineer changes the current input's range.
    sensors->grid()->setCurrentCell(1, 0);
    sensors->minEdit()->setText("-40");
    sensors->maxEdit()->setText("120,5");
    sensors->applyButton()->click();
    EXPECT_EQ(sensors->cell(1, 2), "Rшунт = 200,0;  Тмин = -40,0;  Тмакс = 120,5");

    // "Сохранить файл как..." binds the file to the master.
    const QString file = dir.filePath("Приточка.bin");
    dialogs.saveFiles.push_back(file);
    p.runMenuItem(*findItem(p.popupItems(p.tree.findCode(configNode)), "Сохранить файл как..."));
    EXPECT_EQ(p.model.Master.ConfigFile, file);
    EXPECT_EQ(window.WorkingConfigFile, file);
    ConfigImage fromFile;
    loadDefaultConfiguration(fromFile);
    ASSERT_TRUE(loadConfigurationFile(fromFile, file, nullptr).success);
    EXPECT_EQ(fromFile.ArrSensors[1].Rbegin, -40.0f);
    EXPECT_EQ(fromFile.ArrSensors[1].Rline, 120.5f);
    EXPECT_EQ(fromFile.ArrSensors[2].Byte, (std::array<uint8_t, 4>{3, 0, 0x5A, 0xA5}));

    // The window's hidden " Записать в файл " does the same for the marked controller.
    EXPECT_FALSE(cfg->writeToFileAction()->isVisible());
    const QString copy = dir.filePath("copy.bin");
    dialogs.saveFiles.push_back(copy);
    cfg->writeToFileAction()->trigger();
    EXPECT_EQ(p.model.Master.ConfigFile, copy);
    EXPECT_EQ(QFileInfo(copy).size(), kConfigFileSize);

    // "Записать в прибор".
    p.runMenuItem(*findItem(p.popupItems(p.tree.findCode(configNode)), "Записать в прибор"));
    ASSERT_TRUE(done(task_texts::kConfigWritten)) << dialogs.shown.join('|').toStdString();

    // "Считать из прибора" on the event file node: the file first, then the task.
    const int eventsNode = node_code::kMasterDevice + 3;
    const QString events = dir.filePath("События.blb");
    dialogs.saveFiles.push_back(events);
    p.runMenuItem(*findItem(p.popupItems(p.tree.findCode(eventsNode)), "Считать из прибора"));
    EXPECT_EQ(p.model.Master.EventsFile, events);
    ASSERT_TRUE(done(task_texts::kEventsRead)) << dialogs.shown.join('|').toStdString();
    window.refresh();
    events::EventViewerPane* pane = window.eventViewer()->pane();
    EXPECT_EQ(pane->countLabel()->text(), "Количество записей - 682");
    EXPECT_EQ(pane->model()->rowCount(), 682);
    EXPECT_EQ(pane->model()->index(0, 0).data().toString(), "1");
    EXPECT_EQ(p.model.WorkMode, 2);
    EXPECT_EQ(window.shownModeWindow(), window.eventViewer());
    EXPECT_EQ(window.workingFileText(), events);
    saveShot(&window, "events.png");

    // What the controller holds now is what the tabs show.
    controller.stop();
    std::array<uint8_t, 84> sent{};
    encodeRange(window.image, 66, 84, sent.data());
    const sim::Bytes& memory = controller.memory();
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), memory.begin() + 66));
    ConfigImage held;
    decodeBlock(held, 66, 84, memory.data() + 66);
    EXPECT_EQ(held.ArrSensors[1].Rbegin, -40.0f);
    EXPECT_EQ(held.ArrSensors[1].Rline, 120.5f);
    EXPECT_EQ(held.ArrSensors[3].KindSensor, kNoSensor);
}

} // namespace
} // namespace vextor
