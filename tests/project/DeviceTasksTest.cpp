// The task loop against virtual controllers on a real pseudo-terminal: identification over both
// protocols, the refusals that clear the mark, the update question, and the queued operations.
#include "project/DeviceTasks.h"
#include "config/ConfigImage.h"
#include "link/PosixSerialPort.h"
#include "project/TaskTexts.h"
#include "project/texts.h"
#include "sim/VirtualLine.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace vextor {
namespace {

namespace t = task_texts;

struct RecordingLog : ProjectLog {
    QStringList lines;
    void addLine(const QString& line) override { lines << line; }
};

// A project with the master (address 3) and one slave (address 1) on a virtual line.
class TaskLoop : public ::testing::Test {
protected:
    testing::ManualClock pacing; // the pauses between requests; the line itself runs in real time
    VirtualLine line;
    ScriptedDialogs dialogs;
    RecordingLog log;
    Project project{dialogs, &log};
    PosixSerialPort zarnetPort{PortRole::Zarnet};
    PosixSerialPort modbusPort{PortRole::Modbus};
    ZarnetLink link{&zarnetPort};
    ModbusMaster modbus{&modbusPort};
    ConfigImage image;
    LinkImageBinding binding{link, image};
    NullProgress progress;
    DeviceTasks tasks{project, link, modbus, image, dialogs, progress, &log};
    QString portPath;

    void start(std::vector<std::pair<sim::ControllerSettings, bool>> controllers) {
        for (auto& [settings, modbusMode] : controllers)
            ASSERT_TRUE(line.addController(settings, modbusMode));
        QString error;
        ASSERT_TRUE(line.start(error)) << error.toStdString();
        portPath = line.portPath();
        tasks.hooks.portPath = [this](int) { return portPath; };
        project.activeLink = &binding;
        loadDefaultConfiguration(image);
        project.model.MasterCount = 1;
        project.model.Master.Name = QStringLiteral("М");
        project.model.SlaveCount = 1;
        project.model.Slaves[0].Name = QStringLiteral("В");
        project.RebuildTree();
    }
    void start(sim::ControllerSettings master) { start({{master, false}}); }

    void mark(int code) {
        project.MarkCode = code;
        project.repaintTree();
        project.ApplyMarkedLink();
        tasks.startCondition();
    }
};

sim::ControllerSettings vextorAt(uint8_t address, uint8_t modbusAddress = 2) {
    return virtualVextor(address, modbusAddress);
}

TEST_F(TaskLoop, MarkedMasterIsIdentifiedAndThePortIsClosedAfterTheTick) {
    auto s = vextorAt(3);
    s.firmware = 203;
    s.build = 7;
    s.panel = 105;
    start(s);
    mark(2);
    EXPECT_TRUE(tasks.timerEnabled());

    tasks.TimerTasksTimer();

    EXPECT_TRUE(project.LinkUp);
    EXPECT_EQ(tasks.VersionText, QStringLiteral("Vextor вер.2,03:7"));
    EXPECT_EQ(tasks.PanelVersionText, QStringLiteral(", панель вер. 1,05"));
    EXPECT_EQ(tasks.CfgVersionText, QStringLiteral(", конфигурация вер. 2,00"));
    EXPECT_EQ(tasks.versionPanelText(),
              QStringLiteral("   Vextor вер.2,03:7, панель вер. 1,05, конфигурация вер. 2,00   "));
    EXPECT_EQ(tasks.IdentAttempts, 1u);
    EXPECT_EQ(tasks.IdentSuccesses, 1u);
    // The controller's identity stays with the link for the windows that show it.
    EXPECT_EQ(link.DeviceType, 32);
    EXPECT_EQ(link.FirmwareVersion, 203);
    EXPECT_EQ(link.FirmwareBuild, 7);
    EXPECT_FALSE(zarnetPort.isOpen());
    EXPECT_TRUE(tasks.timerEnabled());
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
}

TEST_F(TaskLoop, FirmwareAndDeviceTypeDecideWhetherTheMarkStays) {
    struct Case {
        uint8_t type;
        uint16_t firmware;
        bool accepted;
        QString message;
    };
    const Case cases[] = {
        {32, 200, false, t::kVersionTooOld},
        {32, 201, true, {}},
        {33, 300, false, t::kNotVextor},
    };
    for (const Case& c : cases) {
        VirtualLine own;
        auto s = vextorAt(3);
        s.deviceType = c.type;
        s.firmware = c.firmware;
        ASSERT_TRUE(own.addController(s));
        QString error;
        ASSERT_TRUE(own.start(error));
        portPath = own.portPath();
        tasks.hooks.portPath = [this](int) { return portPath; };
        project.model.MasterCount = 1;
        project.RebuildTree();
        dialogs.shown.clear();
        mark(2);

        tasks.TimerTasksTimer();

        SCOPED_TRACE(c.firmware);
        EXPECT_EQ(project.LinkUp, c.accepted);
        EXPECT_EQ(project.MarkCode, c.accepted ? 2 : 0);
        EXPECT_EQ(dialogs.shown, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        EXPECT_FALSE(project.tree.findCode(2)->marked && !c.accepted);
    }
}

TEST_F(TaskLoop, ConfigurationUpdateQuestionIsAskedOncePerRun) {
    auto master = vextorAt(3);
    master.cfgVersion = 0xFFFF;
    auto slave = vextorAt(1, 100);
    slave.cfgVersion = 150;
    start({{master, false}, {slave, false}});
    mark(2);

    dialogs.yesNo = {false};
    tasks.TimerTasksTimer();
    EXPECT_EQ(dialogs.shown, QStringList{t::kAskUpdate});
    EXPECT_TRUE(tasks.CfgUpdateDeclined);
    EXPECT_TRUE(tasks.CfgVersionText.isEmpty());
    EXPECT_TRUE(project.LinkUp);
    EXPECT_FALSE(tasks.flags.TaskWriteConfig);

    // Declined once: neither the next tick nor another controller asks again.
    tasks.TimerTasksTimer();
    mark(100);
    tasks.TimerTasksTimer();
    EXPECT_TRUE(project.LinkUp);
    EXPECT_EQ(tasks.CfgVersion, 150);
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST_F(TaskLoop, UpdateNeedsBothYesAnswersAndThenWritesTheConfiguration) {
    auto master = vextorAt(3);
    master.cfgVersion = 150;
    start(master);
    mark(2);

    dialogs.yesNo = {true, true};
    tasks.TimerTasksTimer();
    EXPECT_EQ(dialogs.shown, (QStringList{t::kAskUpdate, t::kAskUpdateWarning, t::kConfigWritten}));
    EXPECT_FALSE(tasks.flags.TaskWriteConfig);

    // The write marked the controller's configuration as current.
    dialogs.shown.clear();
    tasks.TimerTasksTimer();
    EXPECT_EQ(tasks.CfgVersion, 200);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(TaskLoop, WithoutAMarkQueuedTasksAreDiscarded) {
    start(vextorAt(3));
    tasks.flags.TaskReset = true;
    tasks.flags.TaskReadConfig = true;
    tasks.flags.TaskVisual = true;

    tasks.TimerTasksTimer();

    EXPECT_EQ(tasks.flags, TaskFlags{});
    EXPECT_EQ(tasks.IdentAttempts, 0u);
    EXPECT_FALSE(zarnetPort.isOpen());
}

TEST_F(TaskLoop, APortThatCannotBeOpenedClearsTheMarkAndStopsTheTimer) {
    struct Case {
        uint8_t protocol;
        uint8_t port;
        QString message;
    };
    const Case cases[] = {
        {kProtocolZarnet, 9, QStringLiteral("Невозможно открыть порт COM9!")},
        {kProtocolZarnet, 12, QStringLiteral("Невозможно открыть порт \\\\.\\COM12!")},
        {kProtocolModbus, 12, QStringLiteral("Невозможно открыть порт COM12!")},
    };
    start(vextorAt(3));
    tasks.hooks.portPath = [](int) { return QStringLiteral("/nonexistent/ttyVextor"); };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        project.model.PortNumber = c.port;
        project.model.Master.Protocol = c.protocol;
        mark(2);
        tasks.TasksTimerStarted = false;
        tasks.startCondition();
        tasks.flags.TaskReset = true;

        tasks.TimerTasksTimer();

        EXPECT_EQ(dialogs.shown, QStringList{c.message});
        EXPECT_EQ(project.MarkCode, 0);
        EXPECT_FALSE(tasks.timerEnabled());
        EXPECT_TRUE(tasks.flags.TaskReset); // no task ran
        tasks.startCondition();
        EXPECT_FALSE(tasks.TasksTimerStarted);
    }
}

TEST_F(TaskLoop, ReadQueuedFromTheTreePopupFillsTheImage) {
    start(vextorAt(3));
    project.hooks.queueReadConfig = [this](int) { tasks.flags.TaskReadConfig = true; };
    mark(2);
    const TreeNode* configNode = project.tree.findCode(4);
    ASSERT_NE(configNode, nullptr);
    for (const MenuItem& item : project.popupItems(configNode))
        EXPECT_NE(item.action, MenuAction::ReadConfigFromDevice); // not before the link is up

    tasks.TimerTasksTimer();
    ASSERT_TRUE(project.LinkUp);
    const auto items = project.popupItems(configNode);
    ASSERT_FALSE(items.empty());
    ASSERT_EQ(items.front().caption, project_texts::kMenuReadFromDevice);
    project.runMenuItem(items.front());
    image.PresetTempAir = 99.5f;
    image.Conditions[31].Kind = 7;

    tasks.TimerTasksTimer();

    EXPECT_EQ(dialogs.shown, QStringList{t::kConfigRead});
    ConfigImage fresh;
    loadDefaultConfiguration(fresh);
    EXPECT_EQ(image.PresetTempAir, fresh.PresetTempAir);
    EXPECT_EQ(image.Conditions[31].Kind, fresh.Conditions[31].Kind);
    EXPECT_FALSE(tasks.flags.TaskReadConfig);
}

TEST_F(TaskLoop, ModbusIdentificationAndSwitchBackToZarnet) {
    start({{vextorAt(3, 2), true}});
    project.model.Master.Protocol = kProtocolModbus;
    mark(2);

    tasks.TimerTasksTimer();
    ASSERT_TRUE(project.LinkUp);
    EXPECT_EQ(tasks.VersionText, QStringLiteral("Vextor вер.2,01"));
    EXPECT_EQ(tasks.PanelVersionText, QStringLiteral(" ,панель вер. 1,05"));
    EXPECT_FALSE(modbusPort.isOpen());

    tasks.flags.TaskSwitchToZarnet = true;
    tasks.TimerTasksTimer();
    EXPECT_EQ(dialogs.shown, QStringList{t::kSwitchDone});
    EXPECT_EQ(project.model.Master.Protocol, kProtocolZarnet);

    // The next refresh takes the new protocol; the controller now answers over Zarnet.
    project.ApplyMarkedLink();
    tasks.TimerTasksTimer();
    EXPECT_TRUE(project.LinkUp);
    EXPECT_EQ(tasks.VersionText, QStringLiteral("Vextor вер.2,01:3"));
}

TEST_F(TaskLoop, AFailingTaskNeverLeavesThePortOpenOrTheTimerOff) {
    start(vextorAt(3));
    QTemporaryDir dir;
    project.model.Master.EventsFile = dir.filePath(QStringLiteral("missing/dir/events.blb"));
    tasks.operations.readClock = [] { throw std::runtime_error("reply does not parse"); };
    mark(2);
    tasks.flags.TaskReadClock = true;
    tasks.flags.TaskReadEvents = true;

    tasks.TimerTasksTimer();

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith(t::kEventsReadError + QLatin1Char('\n')));
    EXPECT_FALSE(tasks.flags.TaskReadClock);
    EXPECT_FALSE(tasks.flags.TaskReadEvents);
    EXPECT_FALSE(zarnetPort.isOpen());
    EXPECT_TRUE(tasks.timerEnabled());
}

TEST_F(TaskLoop, EventReadFillsTheFileShowsItAndLogsIt) {
    auto s = vextorAt(3);
    s.eventCount = 3;
    start(s);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("events.blb"));
    project.model.Master.EventsFile = path;
    QString shown;
    tasks.hooks.eventsRead = [&](const QString& p) { shown = p; };
    mark(2);
    tasks.flags.TaskReadEvents = true;

    tasks.TimerTasksTimer();

    EXPECT_EQ(dialogs.shown, QStringList{t::kEventsRead});
    EXPECT_EQ(shown, path);
    EXPECT_EQ(QFileInfo(path).size(), 682 * 9);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].endsWith(t::kLogFileSaved + path));
}

TEST(ModbusIdentification, TakesTheVersionsOnlyFromAReplyWithAllThreeRegisters) {
    struct Case {
        const char* what;
        testing::Bytes reply; // without CRC
        bool linkUp;
        QString version;
    };
    const Case cases[] = {
        {"three registers",
         {0x02, 0x03, 0x06, 0x00, 0x20, 0x00, 0xCA, 0x00, 0x69},
         true,
         QStringLiteral("Vextor вер.2,02")},
        {"another device type",
         {0x02, 0x03, 0x06, 0x00, 0x21, 0x00, 0xCA, 0x00, 0x69},
         true,
         QStringLiteral("old")},
        {"two registers only", {0x02, 0x03, 0x04, 0x00, 0x20, 0x00, 0xCA}, false, QStringLiteral("old")},
        {"exception reply", {0x02, 0x83, 0x02}, false, QStringLiteral("old")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogs dialogs;
        Project project{dialogs};
        project.model.ActiveModbusAddress = 2;
        testing::FakeSerialPort port{PortRole::Modbus};
        port.open(QStringLiteral("COM1"), {});
        testing::Bytes reply = c.reply;
        const uint16_t crc = ModbusCrc16(reply.data(), reply.size());
        reply.push_back(static_cast<uint8_t>(crc));
        reply.push_back(static_cast<uint8_t>(crc >> 8));
        port.replies = {reply};
        ZarnetLink link;
        ModbusMaster modbus{&port};
        ConfigImage image;
        NullProgress progress;
        DeviceTasks tasks{project, link, modbus, image, dialogs, progress};
        tasks.VersionText = QStringLiteral("old");

        tasks.identifyModbus();

        EXPECT_EQ(project.LinkUp, c.linkUp);
        EXPECT_EQ(tasks.IdentSuccesses, c.linkUp ? 1u : 0u);
        EXPECT_EQ(tasks.VersionText, c.version);
    }
}

TEST(RunString, SweepsRightThenBackInSeventeenTicks) {
    ScriptedDialogs dialogs;
    Project project{dialogs};
    ZarnetLink link;
    ModbusMaster modbus;
    ConfigImage image;
    NullProgress progress;
    DeviceTasks tasks{project, link, modbus, image, dialogs, progress};

    EXPECT_FALSE(tasks.TimerRunStringTimer().has_value()); // no link, no text
    project.LinkUp = true;
    QStringList sweep;
    for (int i = 0; i < 17; ++i)
        sweep << tasks.TimerRunStringTimer().value_or(QStringLiteral("-"));
    EXPECT_EQ(sweep[0], QStringLiteral("Cвязь установлена         "));
    EXPECT_EQ(sweep[8], QStringLiteral("         Cвязь установлена"));
    EXPECT_EQ(sweep[9], QStringLiteral("       Cвязь установлена  "));
    EXPECT_EQ(sweep[15], QStringLiteral(" Cвязь установлена        "));
    EXPECT_EQ(sweep[16], QStringLiteral("-"));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(sweep[i].size(), 26);
    EXPECT_EQ(tasks.TimerRunStringTimer(), sweep[0]);
}

} // namespace
} // namespace vextor
