#include "link/ModbusMaster.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

namespace {
Bytes withCrc(Bytes f) {
    const uint16_t crc = ModbusCrc16(f.data(), f.size());
    f.push_back(static_cast<uint8_t>(crc & 0xFF));
    f.push_back(static_cast<uint8_t>(crc >> 8));
    return f;
}
} // namespace

TEST(ModbusCrc16, TheTwoRequestsGoOutWithTheirKnownChecksums) {
    const auto id = modbusIdentifyRequest(1);
    const auto sw = modbusSwitchToZarnetRequest(1);
    EXPECT_EQ(withCrc(Bytes(id.begin(), id.end())), (Bytes{0x01, 0x03, 0xEA, 0x61, 0x00, 0x03, 0x60, 0x0D}));
    EXPECT_EQ(withCrc(Bytes(sw.begin(), sw.end())), (Bytes{0x01, 0x06, 0xEA, 0x60, 0x55, 0xAA, 0x02, 0xE3}));
}

struct ModbusFixture : ::testing::Test {
    FakeSerialPort port{PortRole::Modbus};
    ModbusMaster master{&port};
    uint8_t reply[256] = {};
    uint8_t length = 0;
    void SetUp() override { port.open("COM2", {}); }
    bool identify() {
        const auto req = modbusIdentifyRequest(1);
        return master.ModbusExchange(req.data(), 6, reply, length);
    }
};

TEST_F(ModbusFixture, GoodReplyIsHandedBackWithoutCrc) {
    port.replies = {withCrc({0x01, 0x03, 0x06, 0x00, 0x20, 0x00, 0xC9, 0x00, 0x69})};
    ASSERT_TRUE(identify());
    EXPECT_EQ(port.writes[0], (Bytes{0x01, 0x03, 0xEA, 0x61, 0x00, 0x03, 0x60, 0x0D}));
    EXPECT_EQ(length, 11);
    EXPECT_EQ(reply[4], 0x20);
    EXPECT_EQ(reply[6], 0xC9);
    EXPECT_EQ(reply[9], 0x00); // the 0 stored after the payload
}

TEST_F(ModbusFixture, ExceptionReplyPassesThisLayer) {
    port.replies = {withCrc({0x01, 0x83, 0x02})};
    ASSERT_TRUE(identify());
    EXPECT_EQ(reply[1], 0x83); // the caller's function-code check rejects it
}

TEST_F(ModbusFixture, BadRepliesAreRejected) {
    Bytes badCrc = withCrc({0x01, 0x03, 0x02, 0x00, 0x20});
    badCrc[3] ^= 1;
    Bytes tooLong = withCrc(Bytes(140, 0x01));
    const std::vector<std::pair<const char*, Bytes>> bad = {
        {"other slave", withCrc({0x02, 0x03, 0x02, 0x00, 0x20})},
        {"bad crc", badCrc},
        {"four bytes", withCrc({0x01, 0x03})},
        {"silence", {}},
        {"over 128 bytes", tooLong},
    };
    for (const auto& [what, r] : bad) {
        SCOPED_TRACE(what);
        port.replies = {r};
        master.LastError = 0;
        EXPECT_FALSE(identify());
        if (r.size() <= 4) {
            EXPECT_EQ(master.LastError, 512u);
        }
    }
}

TEST(ModbusLineSettings, FromTheParameterByte) {
    struct {
        uint8_t params;
        uint32_t baud;
        uint8_t parity, stop;
    } cases[] = {
        {0x00, 4800, 0, 0}, {0x01, 9600, 0, 0}, {0x12, 19200, 0, 2}, {0x23, 38400, 1, 0}, {0xB1, 9600, 2, 0}};
    for (const auto& c : cases) {
        const LineSettings s = modbusLineSettings(c.params);
        EXPECT_EQ(s.baudRate, c.baud);
        EXPECT_EQ(s.parity, c.parity);
        EXPECT_EQ(s.stopBits, c.stop);
    }
}
