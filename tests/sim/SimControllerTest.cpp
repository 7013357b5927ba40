#include "SimHarness.h"

#include "link/ZarnetCommands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vextor::sim::testing {
namespace {

TEST(SimControllerIdentity, AnswersVersionOfControllerAndPanel) {
    ControllerSettings s;
    s.firmware = 205;
    s.build = 7;
    s.panel = 0xFFFF;
    SimHarness h({s});
    uint8_t type = 0, build = 0xEE;
    uint16_t version = 0;
    ASSERT_TRUE(GetDeviceVersion(h.link, 0, type, version, build));
    EXPECT_EQ(type, 0x20);
    EXPECT_EQ(version, 205);
    EXPECT_EQ(build, 7);
    // The panel's reply has no build byte (a 7-byte frame); no panel reads as 0xFFFF.
    ASSERT_TRUE(GetDeviceVersion(h.link, 1, type, version, build));
    EXPECT_EQ(h.lastReply.size(), 7u);
    EXPECT_EQ(version, 0xFFFF);
    EXPECT_EQ(build, 0);
}

TEST(SimControllerIdentity, UnknownAddressBoardOrCommandGetsSilence) {
    SimHarness h;
    uint8_t type, build;
    uint16_t version;
    EXPECT_FALSE(GetDeviceVersion(h.link, 2, type, version, build));
    h.link.DeviceAddress = 9;
    EXPECT_FALSE(GetDeviceVersion(h.link, 0, type, version, build));
    h.link.DeviceAddress = 1;
    EXPECT_FALSE(h.link.transact({0x77, 0x00, 0x00}));
    // A request with a bad CRC is not answered.
    Bytes bad = vextor::testing::withZarnetCrc({0x01, 0x06, 0x10, 0x0D, 0x00, 0x00});
    bad.back() ^= 0x01;
    EXPECT_TRUE(h.reply(bad, FrameKind::Zarnet).empty());
}

TEST(SimControllerSessionKey, RepliesAreScrambledOnceAKeyIsAccepted) {
    SimHarness h;
    uint8_t status = 0xEE;
    ASSERT_TRUE(GetDeviceStatus(h.link, status));
    EXPECT_EQ(h.lastReply[0], 0x01); // plain before any key

    ASSERT_TRUE(SendSessionKey(h.link, 0x5A));
    ASSERT_TRUE(GetDeviceStatus(h.link, status));
    EXPECT_EQ(h.lastReply[0], 0x81);
    EXPECT_EQ(h.lastReply[2], 0x1A ^ 0x5A ^ h.lastRequest[2]) << "code XOR key XOR nonce";
    EXPECT_EQ(status, 0);

    // A new key is acknowledged under the old one; only then does the master switch.
    ASSERT_TRUE(SendSessionKey(h.link, 0x00));
    uint8_t data[2] = {};
    ASSERT_TRUE(ReadMemory(h.link, data, 1192, 2));
    EXPECT_EQ(h.lastReply[0], 0x81) << "key 0 still scrambles, with the nonce alone";
    EXPECT_EQ(data[0] | data[1] << 8, 200);

    // Asking the identity starts a new session: answered plain, the key is gone.
    uint8_t type, build;
    uint16_t version;
    h.link.SessionKey = 0;
    ASSERT_TRUE(GetDeviceVersion(h.link, 0, type, version, build));
    EXPECT_EQ(h.lastReply[0], 0x01);
    ASSERT_TRUE(GetDeviceStatus(h.link, status));
    EXPECT_EQ(h.lastReply[0], 0x01);
    EXPECT_FALSE(h.controller().sessionKey().has_value());

    // A restart forgets the key too: the reset is answered scrambled, what follows is plain.
    ASSERT_TRUE(SendSessionKey(h.link, 0x77));
    ASSERT_TRUE(GetDeviceStatus(h.link, status));
    EXPECT_EQ(h.lastReply[0], 0x81);
    ASSERT_TRUE(ResetDevice(h.link));
    EXPECT_EQ(h.lastReply[0], 0x81);
    ASSERT_TRUE(GetDeviceStatus(h.link, status));
    EXPECT_EQ(h.lastReply[0], 0x01);
}

TEST(SimControllerSessionKey, MismatchedKeyBytesAreRefused) {
    SimHarness h;
    EXPECT_FALSE(h.link.transact({0x11, 0x12, 0x13}));
    EXPECT_FALSE(h.controller().sessionKey().has_value());
}

TEST(SimControllerAddress, ChangeTakesEffectAtOnceAndTheReplyComesFromTheNewAddress) {
    ControllerSettings other;
    other.address = 7;
    SimHarness h({ControllerSettings{}, other});
    ASSERT_TRUE(ChangeDeviceAddress(h.link, 5));
    EXPECT_EQ(h.lastReply[0], 0x05);
    uint8_t status;
    EXPECT_FALSE(GetDeviceStatus(h.link, status)) << "the old address is silent now";
    h.link.DeviceAddress = 5;
    EXPECT_TRUE(GetDeviceStatus(h.link, status));
    // An address that another controller on the line holds is refused.
    EXPECT_FALSE(ChangeDeviceAddress(h.link, 7));
    EXPECT_EQ(h.controller(5).address(), 5);
    EXPECT_EQ(h.controller(7).address(), 7);
}

TEST(SimControllerReplyDelay, WrittenDelayIsReadBackAndUsed) {
    SimHarness h;
    uint16_t delay = 0;
    ASSERT_TRUE(ReadReplyDelay(h.link, delay));
    EXPECT_EQ(delay, 2);
    ASSERT_TRUE(WriteReplyDelay(h.link, 300));
    ASSERT_TRUE(ReadReplyDelay(h.link, delay));
    EXPECT_EQ(delay, 300);
    EXPECT_EQ(h.controller().replyDelayMs(), 300);
    const auto r = h.line.handle(Frame{FrameKind::Zarnet, h.lastRequest}, 0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->delayMs, 300);
}

TEST(SimControllerClock, RunsOnFromWhatWasWritten) {
    SimHarness h;
    std::array<uint8_t, 6> clock{};
    ASSERT_TRUE(ReadDeviceClock(h.link, clock));
    EXPECT_EQ(clock, (std::array<uint8_t, 6>{12, 30, 0, 15, 3, 24}));

    ASSERT_TRUE(WriteDeviceClock(h.link, {23, 59, 30, 31, 12, 24}));
    h.clock.now += 45'000;
    ASSERT_TRUE(ReadDeviceClock(h.link, clock));
    EXPECT_EQ(clock, (std::array<uint8_t, 6>{0, 0, 15, 1, 1, 25}));

    ASSERT_TRUE(WriteDeviceClock(h.link, {10, 0, 0, 28, 2, 24}));
    h.clock.now += 24 * 3600 * 1000;
    ASSERT_TRUE(ReadDeviceClock(h.link, clock));
    EXPECT_EQ(clock, (std::array<uint8_t, 6>{10, 0, 0, 29, 2, 24})) << "2024 is a leap year";
}

TEST(SimControllerClock, ImpossibleDatesAndTimesAreRefused) {
    SimHarness h;
    const std::array<uint8_t, 6> bad[] = {
        {24, 0, 0, 1, 1, 24},  {12, 60, 0, 1, 1, 24}, {12, 0, 60, 1, 1, 24},
        {12, 0, 0, 30, 2, 24}, {12, 0, 0, 1, 13, 24}, {12, 0, 0, 0, 1, 24},
    };
    for (const auto& c : bad)
        EXPECT_FALSE(WriteDeviceClock(h.link, c))
            << int(c[0]) << ":" << int(c[1]) << " " << int(c[3]) << "." << int(c[4]);
    std::array<uint8_t, 6> clock{};
    ASSERT_TRUE(ReadDeviceClock(h.link, clock));
    EXPECT_EQ(clock[0], 12);
    EXPECT_EQ(clock[3], 15);
}

TEST(SimControllerMemory, WritesReadBackAndConfigurationLayoutHolds) {
    ControllerSettings s;
    s.cfgVersion = 0xFFFF;
    s.modbusAddress = 17;
    SimHarness h({s});
    uint8_t b[4] = {};
    ASSERT_TRUE(ReadMemory(h.link, b, 3, 3));
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[2], 17) << "the Modbus address of the settings is put over the image";
    ASSERT_TRUE(ReadMemory(h.link, b, kCfgVersionAddress, 2));
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1], 0xFF);

    const uint8_t data[] = {0xDE, 0xAD, 0xBE, 0xEF};
    ASSERT_TRUE(WriteMemory(h.link, data, 0x10020, 4));
    ASSERT_TRUE(ReadMemory(h.link, b, 0x10020, 4));
    EXPECT_EQ(Bytes(b, b + 4), Bytes(data, data + 4));

    // A read past the end of memory reads erased bytes; a write past it is refused whole.
    const Bytes before = h.controller().memory();
    ASSERT_TRUE(ReadMemory(h.link, b, kMemorySize - 2, 4));
    EXPECT_EQ(Bytes(b, b + 4), (Bytes{before[kMemorySize - 2], before[kMemorySize - 1], 0xFF, 0xFF}));
    EXPECT_FALSE(WriteMemory(h.link, data, kMemorySize - 2, 4));
    EXPECT_EQ(h.controller().memory(), before);
}

TEST(SimControllerMemory, RunningCopyIsTakenFromTheImageAtRestart) {
    SimHarness h;
    const uint32_t soundOn = 443;
    uint8_t b = 0;
    ASSERT_TRUE(ReadMemory(h.link, &b, kRunningCopyBase + kModbusAddressAddress, 1));
    EXPECT_EQ(b, 2) << "the running copy mirrors the image from power-on";

    const uint8_t on = 1;
    ASSERT_TRUE(WriteMemory(h.link, &on, soundOn, 1));
    ASSERT_TRUE(ReadMemory(h.link, &b, kRunningCopyBase + soundOn, 1));
    EXPECT_EQ(b, 0) << "the stored configuration counts only after a restart";
    ASSERT_TRUE(ResetDevice(h.link));
    ASSERT_TRUE(ReadMemory(h.link, &b, kRunningCopyBase + soundOn, 1));
    EXPECT_EQ(b, 1);
    EXPECT_EQ(h.controller().restarts(), 1);
}

// The default memory is the image that the fixture script writes straight from the layout, under
// the CfgVersion of the settings, and the port and the running copy come up from it.
TEST(SimControllerMemory, DefaultImageIsTheFixtureMadeFromTheLayout) {
    std::ifstream file(VEXTOR_FIXTURES "/config/default_image.bin", std::ios::binary);
    Bytes expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_EQ(expected.size(), kImageSize);
    expected[kCfgVersionAddress - kImageFirst] = 0xC8; // 2.00
    expected[kCfgVersionAddress - kImageFirst + 1] = 0x00;

    const SimController c(ControllerSettings{}, kDefaultImage, kStartClock, 0);
    const Bytes& m = c.memory();
    EXPECT_EQ(Bytes(m.begin() + kImageFirst, m.begin() + kImageEnd), expected);
    EXPECT_EQ(Bytes(m.begin() + kRunningCopyBase + kImageFirst, m.begin() + kRunningCopyBase + kImageEnd),
              expected);
    EXPECT_EQ(c.protocol(), Protocol::Zarnet);
    EXPECT_EQ(c.modbusParams(), 0x01);
    EXPECT_EQ(c.modbusAddress(), 2);
}

TEST(SimControllerMemory, SilentRangeSwallowsReadsThatTouchIt) {
    ControllerSettings s;
    s.silentRanges = {AddressRange{2048 + 9 * 100, 9}};
    SimHarness h({s});
    uint8_t rec[9];
    const struct {
        uint32_t address;
        uint8_t count;
        bool answered;
    } cases[] = {
        {2048 + 9 * 99, 9, true},      {2048 + 9 * 100, 9, false}, {2048 + 9 * 100 + 8, 1, false},
        {2048 + 9 * 99 + 1, 9, false}, {2048 + 9 * 101, 9, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadMemory(h.link, rec, c.address, c.count), c.answered)
            << c.address << "+" << int(c.count);
    const uint8_t x = 5;
    EXPECT_TRUE(WriteMemory(h.link, &x, 2048 + 9 * 100, 1)) << "writes are still served";
}

} // namespace
} // namespace vextor::sim::testing
