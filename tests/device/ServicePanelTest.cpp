// The service functions against a virtual controller on a real pseudo-terminal: what each sends,
// what it shows, what it stores in the project and when it asks for a restart.
#include "device/ServicePanel.h"
#include "device/texts.h"
#include "link/ControllerMemory.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/ZarnetCommands.h"
#include "link/ZarnetLink.h"
#include "sim/VirtualLine.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace vextor {
namespace {

namespace t = device_texts;

// Runs every operation at once on the test's own link, as the line worker does in its tick.
class DirectLine : public ServiceLine {
public:
    DirectLine(ZarnetLink& link, ModbusMaster& modbus) : link_(link), modbus_(modbus) {}
    void run(TaskTurn turn, std::function<bool(LineAccess&)> op, std::function<void(bool)> done) override {
        ran.push_back(turn);
        if (holding) {
            held.emplace_back(std::move(op), std::move(done));
            return;
        }
        LineAccess access{link_, modbus_, {}};
        done(op(access));
    }
    // The line answers what it held back, as a later tick would.
    void release() {
        holding = false;
        for (auto& [op, done] : std::exchange(held, {})) {
            LineAccess access{link_, modbus_, {}};
            done(op(access));
        }
    }
    bool holding = false;
    std::vector<std::pair<std::function<bool(LineAccess&)>, std::function<void(bool)>>> held;
    void queue(LineTask task) override { queued.push_back(task); }
    std::optional<DeviceLink> markedLink() const override { return marked; }
    void storeMarkedLink(const DeviceLink& link) override { marked = link; }

    std::optional<DeviceLink> marked = DeviceLink{3, 2, 0x01};

    std::vector<TaskTurn> ran;
    std::vector<LineTask> queued;

private:
    ZarnetLink& link_;
    ModbusMaster& modbus_;
};

class ServiceOnLine : public ::testing::Test {
protected:
    testing::NoPauseClock pacing;
    VirtualLine line;
    ScriptedDialogs dialogs;
    PosixSerialPort zarnetPort{PortRole::Zarnet};
    PosixSerialPort modbusPort{PortRole::Modbus};
    ZarnetLink link{&zarnetPort};
    ModbusMaster modbus{&modbusPort};
    DirectLine direct{link, modbus};
    ServicePanel panel{dialogs, direct};
    int linkChanges = 0;

    void SetUp() override {
        ASSERT_TRUE(line.addController(virtualVextor(3, 2)));
        QString error;
        ASSERT_TRUE(line.start(error)) << error.toStdString();
        ASSERT_EQ(zarnetPort.open(line.portPath(), LineSettings{9600, 0, 0}), PortOk);
        link.DeviceAddress = 3;
        panel.linkChanged = [this] { ++linkChanges; };
    }
    uint8_t cell(uint32_t address) {
        uint8_t b = 0xEE;
        EXPECT_TRUE(ReadMemory(link, &b, address, 1));
        return b;
    }
    // Sends everything to an address nobody answers.
    void silenceController() { link.DeviceAddress = 77; }
};

TEST_F(ServiceOnLine, ModbusParametersWriteTheLineByteReadBackAndGoIntoTheProject) {
    panel.view.modbusAddressText = QStringLiteral("17");
    panel.view.speedIndex = 2; // 19200
    panel.view.frameIndex = 3; // 11 бит/чет/1 стоп
    panel.view.floatIndex = 1; // ord_mant
    panel.writeModbusParams();
    EXPECT_EQ(dialogs.shown, QStringList{t::kWriteDonePlain});
    EXPECT_EQ(direct.queued, std::vector<LineTask>{LineTask::Reset});
    EXPECT_EQ(cell(kMbParamsAddress), 0xB2);
    EXPECT_EQ(cell(kMbAddressAddress), 17);
    EXPECT_EQ(direct.marked->modbusAddress, 17);
    EXPECT_EQ(direct.marked->mbParams, 0xB2);
    EXPECT_EQ(linkChanges, 1);

    panel.view = ServiceView{};
    dialogs.shown.clear();
    panel.readModbusParams();
    EXPECT_EQ(dialogs.shown, QStringList{t::kReadDone});
    EXPECT_EQ(panel.view.modbusAddressText, "17");
    EXPECT_EQ(panel.view.speedIndex, 2);
    EXPECT_EQ(panel.view.frameIndex, 3);
    EXPECT_EQ(panel.view.floatIndex, 1);
    EXPECT_EQ(direct.queued.size(), 1u) << "a read asks for no restart";

    // A failed read leaves the fields, and the project keeps its own settings.
    panel.view.modbusAddressText = QStringLiteral("5");
    direct.marked->modbusAddress = 2;
    silenceController();
    dialogs.shown.clear();
    panel.readModbusParams();
    EXPECT_EQ(dialogs.shown, QStringList{t::kReadError});
    EXPECT_EQ(panel.view.modbusAddressText, "5");
    EXPECT_EQ(direct.marked->modbusAddress, 2);
}

TEST_F(ServiceOnLine, AModbusAddressThatIsNoSlaveAddressIsRefusedBeforeAnythingIsSent) {
    for (const char* text : {"x", "", "0", "248", "300"}) {
        dialogs.shown.clear();
        panel.view.modbusAddressText = QString::fromUtf8(text);
        panel.writeModbusParams();
        EXPECT_EQ(dialogs.shown, QStringList{t::kBadValue}) << text;
    }
    EXPECT_TRUE(direct.ran.empty());
    EXPECT_TRUE(direct.queued.empty());
    EXPECT_EQ(cell(kMbAddressAddress), 2);
}

TEST_F(ServiceOnLine, ReplyDelayAndAddressAreAskedCheckedWrittenAndRestartTheController) {
    struct Case {
        bool yes;
        std::optional<QString> answer;
        QStringList shown; // after the question and the input box
        bool written;
    };
    const Case cases[] = {
        {false, std::nullopt, {}, false},
        {true, std::nullopt, {}, false}, // a cancel writes nothing
        {true, QStringLiteral("256"), {QStringLiteral("     Значение вне диапазона     ")}, false},
        {true, QStringLiteral("1,5"), {QStringLiteral("     Ошибка ввода     ")}, false},
        {true, QStringLiteral("0"), {t::kWriteDone}, true},
    };
    for (const Case& c : cases) {
        direct.queued.clear();
        dialogs.shown.clear();
        dialogs.yesNo = {c.yes};
        dialogs.inputs = {c.answer};
        panel.changeReplyDelay();
        QStringList expected{t::kAskWriteDelay};
        if (c.yes)
            expected << t::kCaption + ": " + t::kDelayPrompt;
        EXPECT_EQ(dialogs.shown, expected + c.shown) << c.answer.value_or("cancel").toStdString();
        EXPECT_EQ(direct.queued.size(), c.written ? 1u : 0u);
    }
    EXPECT_EQ(panel.view.replyDelayText, "0");
    panel.view.replyDelayText = QStringLiteral("9");
    panel.readReplyDelay();
    EXPECT_EQ(panel.view.replyDelayText, "0") << "read back from the controller";

    // The device-protocol address: 127 is refused, 9 moves the controller and the project's record.
    dialogs.shown.clear();
    dialogs.yesNo = {true};
    dialogs.inputs = {QStringLiteral("127")};
    direct.queued.clear();
    panel.changeZarnetAddress();
    EXPECT_EQ(dialogs.shown, (QStringList{t::kAskWriteAddress, t::kCaption + ": " + t::kAddressPrompt,
                                          QStringLiteral("     Значение вне диапазона     ")}));
    EXPECT_TRUE(direct.queued.empty());

    dialogs.shown.clear();
    dialogs.yesNo = {true};
    dialogs.inputs = {QStringLiteral("9")};
    panel.changeZarnetAddress();
    EXPECT_EQ(dialogs.shown.last(), t::kWriteDone);
    EXPECT_EQ(panel.view.zarnetAddressText, "9");
    EXPECT_EQ(direct.marked->zarnetAddress, 9);
    EXPECT_EQ(linkChanges, 1);
    EXPECT_EQ(direct.queued, std::vector<LineTask>{LineTask::Reset});
    link.DeviceAddress = 9;
    uint16_t delay = 1;
    EXPECT_TRUE(ReadReplyDelay(link, delay)) << "the controller answers at its new address";
}

TEST_F(ServiceOnLine, SoundAndClock) {
    panel.chooseSound(1);
    EXPECT_EQ(dialogs.shown, QStringList{t::kSoundOff});
    EXPECT_EQ(cell(kSoundAddress), 0);
    panel.chooseSound(0);
    EXPECT_EQ(cell(kSoundAddress), 1);
    EXPECT_EQ(direct.queued, (std::vector<LineTask>{LineTask::Reset, LineTask::Reset}));

    // The clock goes out as hour, minute, second, day, month, two-digit year and comes back.
    panel.view.date = QDate(2031, 2, 28);
    panel.view.time = QTime(23, 59, 30);
    dialogs.shown.clear();
    panel.writeClock();
    EXPECT_EQ(dialogs.shown, QStringList{t::kWriteDone});
    panel.takeComputerClock(QDateTime(QDate(2026, 12, 10), QTime(8, 0, 0)));
    panel.readClock();
    EXPECT_EQ(panel.view.date, QDate(2031, 2, 28));
    EXPECT_GE(panel.view.time, QTime(23, 59, 30));
    EXPECT_LE(panel.view.time, QTime(23, 59, 35));

    // Failures: the sound choice is cleared, the clock stays as it was, and no restart is asked.
    silenceController();
    direct.queued.clear();
    dialogs.shown.clear();
    panel.chooseSound(1);
    panel.readClock();
    panel.writeClock();
    EXPECT_EQ(dialogs.shown, (QStringList{t::kWriteError, t::kReadError, t::kWriteError}));
    EXPECT_EQ(panel.view.soundIndex, -1);
    EXPECT_EQ(panel.view.date, QDate(2031, 2, 28));
    EXPECT_TRUE(direct.queued.empty());
}

TEST_F(ServiceOnLine, RestartAndProtocolSwitchesAreQueued) {
    panel.reset();
    panel.switchToModbus();
    panel.switchToZarnet();
    EXPECT_EQ(direct.queued,
              (std::vector<LineTask>{LineTask::Reset, LineTask::SwitchToModbus, LineTask::SwitchToZarnet}));
    EXPECT_EQ(direct.ran, std::vector<TaskTurn>{TaskTurn::ReadModbusParams})
        << "the switch to Modbus reads the port settings first";
}

// A second press while the line has not yet answered the first sends nothing and shows nothing; once
// answered, the button works again.
TEST_F(ServiceOnLine, ASecondPressWhileTheFirstWaitsIsIgnored) {
    direct.holding = true;
    panel.chooseSound(0);
    panel.chooseSound(0);
    EXPECT_EQ(direct.ran, std::vector<TaskTurn>{TaskTurn::Sound});
    EXPECT_TRUE(dialogs.shown.isEmpty());
    direct.release();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("     Звук включен!     ")});
    EXPECT_EQ(cell(443), 1);

    panel.chooseSound(1);
    EXPECT_EQ(direct.ran, (std::vector<TaskTurn>{TaskTurn::Sound, TaskTurn::Sound}));
    EXPECT_EQ(cell(443), 0);
}

} // namespace
} // namespace vextor
