// The monitor's service menus against the virtual controller: what each panel sends, where it
// writes, what it shows, and the slave command through the transit service.
#include "monitor/ServiceMenus.h"
#include "monitor/OutputCommands.h"
#include "sim/SimHarness.h"
#include "support/ScriptedDialogs.h"

#include "config/ConfigImage.h"
#include "link/NumericConversions.h"

#include <cstring>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

using sim::testing::SimHarness;

struct Menus : ::testing::Test {
    SimHarness h;
    ScriptedDialogs dialogs;
    DirectControllerAccess access{h.link};
    ServiceMenus menus{dialogs, access};
    int errors = 0;
    int closed = 0;
    std::function<void()> close = [this] { ++closed; };

    void SetUp() override {
        menus.communicationError = [this] { ++errors; };
    }
    float memoryFloat(uint32_t address) {
        float v = 0;
        std::memcpy(&v, h.controller().memory().data() + address, 4);
        return v;
    }
    void silence() { h.link.DeviceAddress = 77; }
};

TEST_F(Menus, ConditionSetPointNumbersAndAddresses) {
    struct Case {
        QString number;
        uint32_t address; // 0: refused
    };
    for (const Case& c :
         {Case{"0", 0}, Case{"33", 0}, Case{"1", 66168}, Case{"32", 66664}, Case{"17", 66424}}) {
        SCOPED_TRACE(c.number.toStdString());
        dialogs.shown.clear();
        h.zarnetPort.writes.clear();
        menus.writeConditionSetPoint(c.number, QStringLiteral("12,5"));
        QString shown;
        menus.readConditionSetPoint(c.number, [&](const QString& v) { shown = v; });
        if (c.address == 0) {
            EXPECT_EQ(dialogs.shown,
                      (QStringList{"Недопустимый номер условия!", "Недопустимый номер условия!"}));
            EXPECT_TRUE(h.zarnetPort.writes.empty()) << "nothing is sent";
            continue;
        }
        EXPECT_EQ(dialogs.shown, QStringList{"Ok!"});
        EXPECT_EQ(memoryFloat(c.address), 12.5f);
        EXPECT_EQ(shown, "12,500");
        ASSERT_EQ(h.zarnetPort.writes.size(), 2u);
        const uint32_t readAt =
            h.zarnetPort.writes[1][4] | (h.zarnetPort.writes[1][5] << 8) | (h.zarnetPort.writes[1][6] << 16);
        EXPECT_EQ(readAt, c.address);
    }
    // Blank fields do nothing; a number that is no whole number is told.
    dialogs.shown.clear();
    h.zarnetPort.writes.clear();
    menus.writeConditionSetPoint(QStringLiteral("3"), QString());
    menus.readConditionSetPoint(QString(), {});
    EXPECT_TRUE(dialogs.shown.isEmpty());
    menus.writeConditionSetPoint(QStringLiteral("1,5"), QStringLiteral("2"));
    EXPECT_EQ(dialogs.shown, QStringList{"Ошибка формата данных!"});
    EXPECT_TRUE(h.zarnetPort.writes.empty());

    silence();
    dialogs.shown.clear();
    menus.readConditionSetPoint(QStringLiteral("1"), {});
    menus.writeConditionSetPoint(QStringLiteral("1"), QStringLiteral("3"));
    EXPECT_EQ(dialogs.shown, (QStringList{"Ошибка при чтении параметра", "Ошибка при записи параметра"}));
}

TEST_F(Menus, SoundToggledTwiceWritesOneThenZero) {
    uint8_t held = 0;
    const auto store = [&](uint8_t b) { held = b; };
    menus.toggleSound(held, store);
    EXPECT_EQ(h.controller().memory()[65979], 1);
    EXPECT_EQ(held, 1);
    menus.toggleSound(held, store);
    EXPECT_EQ(h.controller().memory()[65979], 0);
    EXPECT_EQ(held, 0);
    EXPECT_EQ(dialogs.shown, (QStringList{"Ok!", "Ok!"}));

    // A write the controller did not take leaves the held byte as it was.
    silence();
    menus.toggleSound(held, store);
    EXPECT_EQ(held, 0);
    EXPECT_EQ(dialogs.shown.last(), "Error");
}

TEST_F(Menus, ParametersOfTheRunningCopy) {
    EXPECT_TRUE(
        menus.writeParameter(ServiceMenus::Parameter::HotWaterTemperature, QStringLiteral("55,5"), close));
    EXPECT_TRUE(menus.writeParameter(ServiceMenus::Parameter::HotWaterKProp, QStringLiteral("1.25"), close));
    EXPECT_EQ(memoryFloat(65890), 55.5f);
    EXPECT_EQ(memoryFloat(66102), 1.25f);
    EXPECT_EQ(dialogs.shown, (QStringList{"Ok!", "Ok!"}));
    EXPECT_EQ(closed, 2);

    h.zarnetPort.writes.clear();
    EXPECT_FALSE(
        menus.writeParameter(ServiceMenus::Parameter::HotWaterTemperature, QStringLiteral("abc"), close));
    EXPECT_EQ(dialogs.shown.last(), "Ошибка формата данных!");
    EXPECT_EQ(closed, 2) << "the panel stays open";
    EXPECT_TRUE(h.zarnetPort.writes.empty());

    silence();
    menus.writeParameter(ServiceMenus::Parameter::HotWaterTemperature, QStringLiteral("50"), close);
    EXPECT_EQ(dialogs.shown.last(), "Ошибка при записи параметра");
}

// The addresses of the running copy are those of the configuration image's fields.
TEST(RunningCopy, AddressesAreThoseOfTheImageFields) {
    ConfigImage image;
    image.PresetTempWaterHWP = 61.0f;
    image.PIDKoef[1].KProp = 3.5f;
    image.SoundOn = 1;
    image.Conditions[0].Notch = 7.0f;
    image.Conditions[31].Notch = 9.0f;
    std::vector<uint8_t> bytes(kImageEnd);
    encodeRange(image, kImageFirstAddress, kImageEnd - kImageFirstAddress, bytes.data() + kImageFirstAddress);
    const auto at = [&](uint32_t device) {
        return floatFromImage(false, bytes.data() + device - kRunningCopyBase);
    };
    EXPECT_EQ(at(kHotWaterTemperatureAddress), 61.0f);
    EXPECT_EQ(at(kHotWaterKPropAddress), 3.5f);
    EXPECT_EQ(bytes[kRunningSoundAddress - kRunningCopyBase], 1);
    EXPECT_EQ(at(conditionSetPointAddress(1)), 7.0f);
    EXPECT_EQ(at(conditionSetPointAddress(32)), 9.0f);
}

TEST_F(Menus, OutputsOfTheControllerAndOfASlave) {
    const sim::SimChannels& own = h.controller().channels();
    EXPECT_TRUE(menus.setDiscreteOutput(QStringLiteral("0"), QStringLiteral("3"), true, close));
    EXPECT_TRUE(own.discreteOutput(3));
    EXPECT_TRUE(
        menus.setAnalogOutput(QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("7,5"), close));
    EXPECT_EQ(own.analogOutput(2), 7.5f);
    EXPECT_EQ(closed, 2);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "the controller's outputs report nothing";

    // Slave 1 through the transit service: the command bytes, 300 ms, the status, 20 ms, the answer.
    h.clock.sleeps.clear();
    h.zarnetPort.writes.clear();
    EXPECT_TRUE(menus.setDiscreteOutput(QStringLiteral("1"), QStringLiteral("4"), true, close));
    ASSERT_EQ(h.zarnetPort.writes.size(), 3u);
    EXPECT_EQ((std::vector<uint8_t>(h.zarnetPort.writes[0].begin() + 3, h.zarnetPort.writes[0].end() - 1)),
              (std::vector<uint8_t>{0xFD, 1, 21, 4, 1}));
    EXPECT_EQ(h.clock.sleeps, (std::vector<int>{300, 20}));
    EXPECT_TRUE(h.controller().slave(1)->channels().discreteOutput(4));
    EXPECT_EQ(closed, 3);
    EXPECT_TRUE(
        menus.setAnalogOutput(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2,5"), close));
    EXPECT_EQ(h.controller().slave(1)->channels().analogOutput(1), 2.5f);
    EXPECT_EQ(closed, 4);
    EXPECT_EQ(errors, 0);

    // A slave nobody answers for: an error counted, the panel stays open.
    menus.setDiscreteOutput(QStringLiteral("9"), QStringLiteral("1"), true, close);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(closed, 4);

    // An entry that is no number: told, nothing sent.
    h.zarnetPort.writes.clear();
    for (const auto& [a, n, v] : {std::tuple{"x", "1", "1"}, std::tuple{"0", "", "1"},
                                  std::tuple{"0", "1", "1,2,3"}, std::tuple{"300", "1", "1"}}) {
        EXPECT_FALSE(
            menus.setAnalogOutput(QString::fromUtf8(a), QString::fromUtf8(n), QString::fromUtf8(v), close));
    }
    EXPECT_TRUE(h.zarnetPort.writes.empty());
    EXPECT_EQ(dialogs.shown, QStringList(4, QStringLiteral("Ошибка формата данных!")));
}

TEST(SlaveCommand, TheAnswerIsAcceptedOnlyWithTheEcho) {
    SimHarness h;
    SlaveCommandOutcome o = runSlaveCommand(h.link, slaveOutputStateCommand(2, 5, false));
    EXPECT_EQ(o.result, SlaveCommandResult::Answered);
    EXPECT_TRUE(o.accepted);
    // Output 9 is refused by the slave: the answer comes, but without the echo.
    o = runSlaveCommand(h.link, slaveOutputStateCommand(2, 9, true));
    EXPECT_EQ(o.result, SlaveCommandResult::Answered);
    EXPECT_FALSE(o.accepted);
    EXPECT_EQ(slaveOutputValueCommand(3, 2, 1.0f),
              (std::vector<uint8_t>{3, 21, 2, 128, 0x00, 0x00, 0x80, 0x3F}));
}

} // namespace
} // namespace vextor::monitor
