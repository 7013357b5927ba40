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
    Bytes countBeyondTheLongest{0x01, 0x03, 200};
    countBeyondTheLongest.resize(126, 0x20);
    const std::vector<std::pair<const char*, Bytes>> bad = {
        {"other slave", withCrc({0x02, 0x03, 0x02, 0x00, 0x20})},
        {"bad crc", badCrc},
        {"four bytes", withCrc({0x01, 0x03})},
        {"silence", {}},
        {"over 128 bytes", tooLong},
        // The function gives the length; a shorter reply whose last two bytes check is still cut short.
        {"03 cut short", withCrc({0x01, 0x03, 0x06})},
        {"06 cut short", withCrc({0x01, 0x06, 0xEA, 0x60})},
        {"03 with a count beyond 128 bytes", withCrc(countBeyondTheLongest)},
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

// A read that asks for more bytes than come waits for the silence after them; one that asks for what
// is still missing returns as soon as it is in. This port notes what each read asked for.
struct CountingPort : FakeSerialPort {
    using FakeSerialPort::FakeSerialPort;
    std::vector<size_t> asked;
    size_t read(uint8_t* data, size_t count) override {
        asked.push_back(count);
        return FakeSerialPort::read(data, count);
    }
};

TEST(ModbusReplyEnd, ARepliesOwnLengthEndsTheReadWhereTheFunctionGivesIt) {
    const struct {
        const char* what;
        Bytes reply;
        std::vector<size_t> asked; // after the first three bytes
    } cases[] = {
        {"03: five bytes and the count",
         withCrc({0x01, 0x03, 0x06, 0x00, 0x20, 0x00, 0xC9, 0x00, 0x69}),
         {3, 8}},
        {"06: eight bytes", withCrc({0x01, 0x06, 0xEA, 0x60, 0x55, 0xAA}), {3, 5}},
        {"an exception: five bytes", withCrc({0x01, 0x83, 0x02}), {3, 2}},
        {"16: the silence ends it", withCrc({0x01, 0x10, 0xEA, 0x60, 0x00, 0x01}), {3, 125}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CountingPort port{PortRole::Modbus};
        port.open("COM2", {});
        ModbusMaster master{&port};
        port.replies = {c.reply};
        uint8_t reply[256] = {};
        uint8_t length = 0;
        const auto req = modbusIdentifyRequest(1);
        EXPECT_TRUE(master.ModbusExchange(req.data(), 6, reply, length));
        EXPECT_EQ(length, c.reply.size());
        EXPECT_EQ(port.asked, c.asked);
        EXPECT_EQ(port.timeouts().constant, kModbusTimeouts.constant) << "the usual time-outs are back";
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
