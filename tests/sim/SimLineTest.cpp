#include "SimHarness.h"

#include "link/ZarnetCommands.h"

#include <gtest/gtest.h>
#include <sstream>

namespace vextor::sim::testing {
namespace {

ControllerSettings at(uint8_t address, uint16_t firmware) {
    ControllerSettings s;
    s.address = address;
    s.firmware = firmware;
    return s;
}

TEST(SimLineRouting, EachAddressedControllerAnswersForItself) {
    SimHarness h({at(1, 201), at(3, 215)});
    EXPECT_FALSE(
        h.line.addController(std::make_unique<SimController>(at(3, 300), smallImage(), kStartClock, 0)));
    uint8_t type, build;
    uint16_t version;
    h.link.DeviceAddress = 3;
    ASSERT_TRUE(GetDeviceVersion(h.link, 0, type, version, build));
    EXPECT_EQ(version, 215);
    const uint8_t x = 0x42;
    ASSERT_TRUE(WriteMemory(h.link, &x, 1000, 1));
    EXPECT_EQ(h.controller(3).memory()[1000], 0x42);
    EXPECT_EQ(h.controller(1).memory()[1000], 0) << "memories are separate";
    h.link.DeviceAddress = 2;
    EXPECT_FALSE(GetDeviceVersion(h.link, 0, type, version, build));
    EXPECT_TRUE(h.zarnetPort.writes.size() == 3);
}

TEST(SimLineFaults, EachFaultMakesTheMasterRejectTheReply) {
    const struct {
        const char* name;
        FaultRates rates;
    } cases[] = {
        {"drop", {1, 0, 0, 0}},
        {"corrupt", {0, 1, 0, 0}},
        {"wrong address", {0, 0, 1, 0}},
        {"truncate", {0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SimHarness h({ControllerSettings{}}, c.rates);
        uint8_t status = 0;
        EXPECT_FALSE(GetDeviceStatus(h.link, status)) << c.name;
        // Modbus replies suffer the same.
        const uint8_t toModbus = kSwitchToModbus;
        h.controller().handleZarnet(vextor::testing::withZarnetCrc({1, 0x08, 0x00, 0x41, 4, 0, 0, toModbus}),
                                    0);
        h.controller().handleZarnet(vextor::testing::withZarnetCrc({1, 0x06, 0x00, 0x17, 0, 0}), 0);
        ASSERT_EQ(h.controller().protocol(), Protocol::Modbus);
        const auto id = modbusIdentifyRequest(2);
        uint8_t reply[256];
        uint8_t length = 0;
        EXPECT_FALSE(h.modbus.ModbusExchange(id.data(), 6, reply, length)) << c.name;
    }
}

TEST(SimLineFaults, WrongAddressKeepsAGoodCrcAndTruncationCutsTheFrame) {
    SimHarness wrong({ControllerSettings{}}, {0, 0, 1, 0});
    const Bytes request = vextor::testing::withZarnetCrc({1, 0x06, 0x00, 0x19, 0, 0});
    const Bytes w = wrong.reply(request, FrameKind::Zarnet);
    ASSERT_EQ(w.size(), 5u);
    EXPECT_NE(w[0] & 0x7F, 1);
    EXPECT_EQ(ZarnetCrc8(w.data(), 4), w[4]);

    SimHarness cut({ControllerSettings{}}, {0, 0, 0, 1});
    const Bytes t = cut.reply(request, FrameKind::Zarnet);
    EXPECT_GE(t.size(), 1u);
    EXPECT_LT(t.size(), 5u);
}

TEST(SimLineFaults, SameSeedSameFaults) {
    auto pattern = [](uint32_t seed) {
        SimLine line(seed, {0.5, 0, 0, 0});
        line.addController(
            std::make_unique<SimController>(ControllerSettings{}, smallImage(), kStartClock, 0));
        std::string p;
        const Bytes request = vextor::testing::withZarnetCrc({1, 0x06, 0x00, 0x19, 0, 0});
        for (int i = 0; i < 64; ++i)
            p += line.handle(Frame{FrameKind::Zarnet, request}, 0) ? '1' : '0';
        return p;
    };
    EXPECT_EQ(pattern(5), pattern(5));
    EXPECT_NE(pattern(5), pattern(6));
    const std::string p = pattern(5);
    EXPECT_NE(p.find('0'), std::string::npos);
    EXPECT_NE(p.find('1'), std::string::npos);
}

std::string hex(const Bytes& bytes) {
    std::string s;
    char b[4];
    for (uint8_t x : bytes) {
        std::snprintf(b, sizeof b, " %02X", x);
        s += b;
    }
    return s;
}

TEST(SimLineLog, OneLinePerFrameWithTimeDirectionAndHex) {
    SimLine line(1, {1, 0, 0, 0});
    line.addController(std::make_unique<SimController>(ControllerSettings{}, smallImage(), kStartClock, 0));
    std::ostringstream log;
    line.setLog(&log);
    const Bytes request = vextor::testing::withZarnetCrc({1, 0x06, 0x00, 0x19, 0, 0});
    EXPECT_FALSE(line.handle(Frame{FrameKind::Zarnet, request}, 1234));
    const Bytes reply = vextor::testing::zarnetReply(1, 0x1A, {0});
    line.logFrame(1240, "tx", reply);
    EXPECT_EQ(log.str(),
              "1234 rx" + hex(request) + "\n1234 drop" + hex(reply) + "\n1240 tx" + hex(reply) + "\n");
    EXPECT_EQ(hex(request).substr(0, 18), " 01 06 00 19 00 00");
}

} // namespace
} // namespace vextor::sim::testing
