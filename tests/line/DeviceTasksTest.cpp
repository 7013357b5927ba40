// The task loop against virtual controllers on a real pseudo-terminal: identification over both
// protocols, the refusals that clear the mark, the update question, and the queued operations.
#include "line/DeviceTasks.h"
#include "config/ConfigImage.h"
#include "line/BusyState.h"
#include "line/ImageLinkBinding.h"
#include "line/TaskTexts.h"
#include "link/PosixSerialPort.h"
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
    ImageLinkBinding binding{image, link.DeviceAddress};
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

    tasks.tick();

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

        tasks.tick();

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
    tasks.tick();
    EXPECT_EQ(dialogs.shown, QStringList{t::kAskUpdate});
    EXPECT_TRUE(tasks.CfgUpdateDeclined);
    EXPECT_TRUE(tasks.CfgVersionText.isEmpty());
    EXPECT_TRUE(project.LinkUp);
    EXPECT_FALSE(tasks.queued(LineTask::WriteConfig));

    // Declined once: neither the next tick nor another controller asks again.
    tasks.tick();
    mark(100);
    tasks.tick();
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
    tasks.tick();
    EXPECT_EQ(dialogs.shown, (QStringList{t::kAskUpdate, t::kAskUpdateWarning, t::kConfigWritten}));
    EXPECT_FALSE(tasks.queued(LineTask::WriteConfig));

    // The write marked the controller's configuration as current.
    dialogs.shown.clear();
    tasks.tick();
    EXPECT_EQ(tasks.CfgVersion, 200);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(TaskLoop, WithoutAMarkQueuedTasksAreDiscarded) {
    start(vextorAt(3));
    tasks.queueTask(LineTask::Reset);
    tasks.queueTask(LineTask::ReadConfig);
    TickJob cycle;
    cycle.turn = TaskTurn::Visual;
    cycle.userVisible = false;
    cycle.run = [](LineAccess&) { return JobStep::Again; };
    JobOutcome cycleEnd = JobOutcome::Ran;
    cycle.finished = [&](JobOutcome o, const QString&) { cycleEnd = o; };
    tasks.queue.push(std::move(cycle));

    tasks.tick();

    EXPECT_TRUE(tasks.queue.empty());
    EXPECT_EQ(cycleEnd, JobOutcome::Dropped);
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
        tasks.queue.clear(JobOutcome::Dropped);
        tasks.queueTask(LineTask::Reset);

        tasks.tick();

        EXPECT_EQ(dialogs.shown, QStringList{c.message});
        EXPECT_EQ(project.MarkCode, 0);
        EXPECT_FALSE(tasks.timerEnabled());
        EXPECT_TRUE(tasks.queued(LineTask::Reset)); // no task ran
        tasks.startCondition();
        EXPECT_FALSE(tasks.TasksTimerStarted);
    }
}

// A version read that gets no reply says nothing about the controller's configuration: a read queued
// then fails as a lost reply does, without the question that would overwrite the configuration.
TEST_F(TaskLoop, ALostVersionReplyIsNoOutdatedConfiguration) {
    auto master = vextorAt(3);
    master.silentRanges = {{1192, 2}};
    start(master);
    mark(2);
    tasks.queueTask(LineTask::ReadConfig);
    tasks.tick();
    EXPECT_TRUE(project.LinkUp);
    EXPECT_EQ(dialogs.shown, QStringList{t::kConfigReadError});
    EXPECT_FALSE(tasks.queued(LineTask::WriteConfig));
    EXPECT_FALSE(tasks.queued(LineTask::ReadConfig));
}

TEST_F(TaskLoop, ReadQueuedFromTheTreePopupFillsTheImage) {
    start(vextorAt(3));
    project.hooks.request = [this](const TreeRequest& r) {
        if (r.action == MenuAction::ReadConfigFromDevice)
            tasks.queueTask(LineTask::ReadConfig);
    };
    mark(2);
    const TreeNode* configNode = project.tree.findCode(4);
    ASSERT_NE(configNode, nullptr);
    for (const MenuItem& item : project.popupItems(configNode))
        EXPECT_NE(item.action, MenuAction::ReadConfigFromDevice); // not before the link is up

    tasks.tick();
    ASSERT_TRUE(project.LinkUp);
    const auto items = project.popupItems(configNode);
    ASSERT_FALSE(items.empty());
    ASSERT_EQ(items.front().caption, project_texts::kMenuReadFromDevice);
    project.runMenuItem(items.front());
    image.PresetTempAir = 99.5f;
    image.Conditions[31].Kind = 7;

    tasks.tick();

    EXPECT_EQ(dialogs.shown, QStringList{t::kConfigRead});
    ConfigImage fresh;
    loadDefaultConfiguration(fresh);
    EXPECT_EQ(image.PresetTempAir, fresh.PresetTempAir);
    EXPECT_EQ(image.Conditions[31].Kind, fresh.Conditions[31].Kind);
    EXPECT_FALSE(tasks.queued(LineTask::ReadConfig));
}

TEST_F(TaskLoop, ModbusIdentificationAndSwitchBackToZarnet) {
    start({{vextorAt(3, 2), true}});
    project.model.Master.Protocol = kProtocolModbus;
    mark(2);

    tasks.tick();
    ASSERT_TRUE(project.LinkUp);
    EXPECT_EQ(tasks.VersionText, QStringLiteral("Vextor вер.2,01"));
    EXPECT_EQ(tasks.PanelVersionText, QStringLiteral(" ,панель вер. 1,05"));
    EXPECT_FALSE(modbusPort.isOpen());

    tasks.queueTask(LineTask::SwitchToZarnet);
    tasks.tick();
    EXPECT_EQ(dialogs.shown, QStringList{t::kSwitchDone});
    EXPECT_EQ(project.model.Master.Protocol, kProtocolZarnet);

    // The next refresh takes the new protocol; the controller now answers over Zarnet.
    project.ApplyMarkedLink();
    tasks.tick();
    EXPECT_TRUE(project.LinkUp);
    EXPECT_EQ(tasks.VersionText, QStringLiteral("Vextor вер.2,01:3"));
}

TEST_F(TaskLoop, AFailingTaskNeverLeavesThePortOpenOrTheTimerOff) {
    start(vextorAt(3));
    QTemporaryDir dir;
    project.model.Master.EventsFile = dir.filePath(QStringLiteral("missing/dir/events.blb"));
    mark(2);
    // Whatever a job throws, of any type, ends that job alone as failed.
    std::vector<std::pair<JobOutcome, QString>> ends;
    auto record = [&](JobOutcome o, const QString& e) { ends.emplace_back(o, e); };
    TickJob clock;
    clock.turn = TaskTurn::ReadClock;
    clock.run = [](LineAccess&) -> JobStep { throw std::runtime_error("reply does not parse"); };
    clock.finished = record;
    tasks.queue.push(std::move(clock));
    TickJob delay;
    delay.turn = TaskTurn::ReadReplyDelay;
    delay.run = [](LineAccess&) -> JobStep { throw 42; };
    delay.finished = record;
    tasks.queue.push(std::move(delay));
    tasks.queueTask(LineTask::ReadEvents, {}, record);

    tasks.tick();

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith(QStringLiteral("Ошибка чтения файла событий!\n")));
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_EQ(ends[0], std::make_pair(JobOutcome::Failed, QStringLiteral("reply does not parse")));
    EXPECT_EQ(ends[1], std::make_pair(JobOutcome::Failed, QStringLiteral("неизвестная ошибка")));
    EXPECT_EQ(ends[2].first, JobOutcome::Ran); // the event read reported its own failure
    EXPECT_TRUE(tasks.queue.empty());
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
    tasks.queueTask(LineTask::ReadEvents);

    tasks.tick();

    EXPECT_EQ(dialogs.shown, QStringList{t::kEventsRead});
    EXPECT_EQ(shown, path);
    EXPECT_EQ(QFileInfo(path).size(), 682 * 9);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].endsWith(t::kLogFileSaved + path));
}

// Whatever the order the windows queued them in, a tick runs the jobs in the order of their turns:
// the reset before the switch to Modbus, the configuration read before the write; two jobs of one
// turn both run, in the order queued.
TEST_F(TaskLoop, JobsQueuedForOneTickRunInTheOrderOfTheirTurns) {
    start(vextorAt(3));
    mark(2);
    tasks.tick();
    ASSERT_TRUE(project.LinkUp);
    QStringList ran;
    auto job = [&](TaskTurn turn, const QString& name) {
        TickJob j;
        j.turn = turn;
        j.run = [&ran, name](LineAccess&) {
            ran << name;
            return JobStep::Done;
        };
        tasks.queue.push(std::move(j));
    };
    tasks.queueTask(LineTask::SwitchToModbus);
    tasks.queueTask(LineTask::WriteConfig);
    job(TaskTurn::Sound, QStringLiteral("sound 1"));
    tasks.queueTask(LineTask::ReadConfig);
    job(TaskTurn::Sound, QStringLiteral("sound 2"));
    tasks.queueTask(LineTask::Reset);
    job(TaskTurn::ReadClock, QStringLiteral("clock"));

    tasks.tick();

    EXPECT_EQ(ran,
              (QStringList{QStringLiteral("clock"), QStringLiteral("sound 1"), QStringLiteral("sound 2")}));
    EXPECT_EQ(dialogs.shown, (QStringList{QStringLiteral("     Сброс выполнен!     "),
                                          QStringLiteral("     Конфигурация прочитана!     "),
                                          QStringLiteral("Конфигурация записана!"),
                                          QStringLiteral("     Переход выполнен!     "),
                                          QStringLiteral("     Сброс выполнен!     ")}));
    EXPECT_TRUE(tasks.queue.empty());
}

// The window's busy state follows the line's word, except an idle the line told before it had taken
// in the window's newest job.
TEST(LineBusyFollower, AnIdleToldBeforeTheNewestJobArrivedIsStale) {
    struct Step {
        char what; // 's': the window submits ticket n; 'l': the line says busy b up to ticket n
        JobTicket n;
        bool b;
        bool changed;
        bool busyAfter;
    };
    const Step steps[] = {
        {'s', 1, false, false, true},  {'l', 1, true, false, true},  {'s', 2, false, false, true},
        {'l', 1, false, false, true},  {'l', 2, true, false, true},  {'l', 2, false, true, false},
        {'l', 2, false, false, false}, {'s', 3, false, false, true}, {'l', 3, false, true, false},
    };
    LineBusyFollower follower;
    int i = 0;
    for (const Step& s : steps) {
        bool changed = false;
        if (s.what == 's')
            follower.submitted(s.n);
        else
            changed = follower.lineSaid(s.b, s.n);
        EXPECT_EQ(changed, s.changed) << "step " << i;
        EXPECT_EQ(follower.busy(), s.busyAfter) << "step " << i;
        ++i;
    }
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

} // namespace
} // namespace vextor
