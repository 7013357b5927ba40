#include "SimHarness.h"

#include "link/ZarnetCommands.h"

#include <gtest/gtest.h>

namespace vextor::sim::testing {
namespace {

Bytes modbusReply(SimHarness& h, const Bytes& request) {
    uint8_t reply[256] = {};
    uint8_t length = 0;
    if (!h.modbus.ModbusExchange(request.data(), static_cast<uint8_t>(request.size()), reply, length))
        return {};
    return Bytes(reply, reply + length - 2);
}

Bytes withModbusCrc(Bytes frame) {
    appendModbusCrc(frame);
    return frame;
}

// Zarnet -> 0x55 at address 4 and a reset -> Modbus -> 0x55AA at 60000 -> Zarnet again.
TEST(SimModbus, ProtocolSwitchRoundTrip) {
    ControllerSettings s;
    s.panel = 0xFFFF;
    SimHarness h({s});
    const uint8_t toModbus = kSwitchToModbus;
    ASSERT_TRUE(WriteMemory(h.link, &toModbus, kProtocolSelectorAddress, 1));
    EXPECT_EQ(h.controller().protocol(), Protocol::Zarnet) << "the switch waits for the restart";
    ASSERT_TRUE(ResetDevice(h.link));
    EXPECT_EQ(h.controller().protocol(), Protocol::Modbus);

    uint8_t type, build;
    uint16_t version;
    EXPECT_FALSE(GetDeviceVersion(h.link, 0, type, version, build)) << "only Modbus is answered now";

    const auto id = modbusIdentifyRequest(2);
    const Bytes reply = modbusReply(h, Bytes(id.begin(), id.end()));
    // address, 03, byte count, type, firmware, panel (0: none)
    EXPECT_EQ(reply, (Bytes{0x02, 0x03, 0x06, 0x00, 0x20, 0x00, 0xC9, 0x00, 0x00}));
    const auto other = modbusIdentifyRequest(3);
    EXPECT_TRUE(modbusReply(h, Bytes(other.begin(), other.end())).empty()) << "another Modbus address";

    // 0xAA55 only restarts.
    const Bytes restart{0x02, 0x06, 0xEA, 0x60, 0xAA, 0x55};
    EXPECT_EQ(modbusReply(h, restart), restart);
    EXPECT_EQ(h.controller().protocol(), Protocol::Modbus);
    EXPECT_EQ(h.controller().restarts(), 2);

    const auto back = modbusSwitchToZarnetRequest(2);
    EXPECT_EQ(modbusReply(h, Bytes(back.begin(), back.end())), Bytes(back.begin(), back.end()));
    EXPECT_EQ(h.controller().protocol(), Protocol::Zarnet);
    ASSERT_TRUE(GetDeviceVersion(h.link, 0, type, version, build));
    uint8_t selector = 0xEE;
    ASSERT_TRUE(ReadMemory(h.link, &selector, kProtocolSelectorAddress, 1));
    EXPECT_EQ(selector, 0) << "the controller stays on the device protocol after further restarts";
}

TEST(SimModbus, PortTakesAddressAndLineSettingsAtTheRestart) {
    SimHarness h;
    const uint8_t params[] = {0x32, kSwitchToModbus, 9}; // 19200, even parity; Modbus; address 9
    ASSERT_TRUE(WriteMemory(h.link, params, kModbusParamsAddress, 3));
    ASSERT_TRUE(ResetDevice(h.link));
    EXPECT_EQ(h.controller().modbusAddress(), 9);
    EXPECT_EQ(modbusBaud(h.controller().modbusParams()), 19200u);
    EXPECT_EQ(modbusBitsPerByte(h.controller().modbusParams()), 11);

    const Bytes id = withModbusCrc({9, 0x03, 0xEA, 0x61, 0x00, 0x01});
    EXPECT_FALSE(h.line.handle(Frame{FrameKind::Modbus, id}, 0, 9600)) << "a master at the wrong speed";
    const auto r = h.line.handle(Frame{FrameKind::Modbus, id}, 0, 19200);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->bitsPerByte, 11);
}

TEST(SimModbus, ExceptionsAndBroadcast) {
    SimHarness h;
    const uint8_t toModbus = kSwitchToModbus;
    ASSERT_TRUE(WriteMemory(h.link, &toModbus, kProtocolSelectorAddress, 1));
    ASSERT_TRUE(ResetDevice(h.link));
    const struct {
        Bytes request;
        Bytes reply;
    } cases[] = {
        {{2, 0x03, 0xEA, 0x61, 0x00, 0x04}, {2, 0x83, 0x02}}, // 60004 does not exist
        {{2, 0x03, 0x00, 0x00, 0x00, 0x01}, {2, 0x83, 0x02}},
        {{2, 0x03, 0xEA, 0x61, 0x00, 0x00}, {2, 0x83, 0x03}},
        {{2, 0x06, 0xEA, 0x61, 0x00, 0x01}, {2, 0x86, 0x02}}, // only 60000 is writable
        {{2, 0x06, 0xEA, 0x60, 0x12, 0x34}, {2, 0x86, 0x03}}, // neither switch code
        {{2, 0x2B, 0x0E, 0x01, 0x00}, {2, 0xAB, 0x01}},
        {{2, 0x04, 0xEA, 0x60, 0x00, 0x01}, {2, 0x04, 0x02, 0x00, 0x00}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modbusReply(h, c.request), c.reply) << int(c.request[1]);
    EXPECT_EQ(h.controller().protocol(), Protocol::Modbus);

    // A broadcast is carried out without an answer.
    EXPECT_TRUE(h.reply(withModbusCrc({0, 0x06, 0xEA, 0x60, 0x55, 0xAA}), FrameKind::Modbus).empty());
    EXPECT_EQ(h.controller().protocol(), Protocol::Zarnet);
}

} // namespace
} // namespace vextor::sim::testing
