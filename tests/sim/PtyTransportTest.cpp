#include "sim/PtyTransport.h"

#include "SimHarness.h"
#include "link/PosixSerialPort.h"
#include "link/ZarnetCommands.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace vextor::sim::testing {
namespace {

// The simulator on a real pseudo-terminal, served from a thread.
class PtyTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        line.addController(
            std::make_unique<SimController>(ControllerSettings{}, smallImage(), kStartClock, 0));
        std::string error;
        ASSERT_TRUE(pty.open(error)) << error;
        const auto start = std::chrono::steady_clock::now();
        server = std::thread([this, start] {
            pty.serve(line, 0, stop, [start] {
                return std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                    .count();
            });
        });
    }
    void TearDown() override {
        stop = true;
        if (server.joinable())
            server.join();
    }

    SimLine line;
    PtyTransport pty;
    std::atomic<bool> stop{false};
    std::thread server;
};

TEST_F(PtyTransportTest, SurvivesTheMasterClosingAndReopeningThePort) {
    for (int round = 0; round < 3; ++round) {
        PosixSerialPort port(PortRole::Zarnet);
        ASSERT_EQ(port.open(QString::fromStdString(pty.slavePath()), LineSettings{}), PortOk) << round;
        ZarnetLink link(&port);
        uint8_t type = 0, build = 0;
        uint16_t version = 0;
        ASSERT_TRUE(GetDeviceVersion(link, 0, type, version, build)) << "round " << round;
        EXPECT_EQ(type, 0x20);
        uint8_t cfg[2] = {};
        ASSERT_TRUE(ReadMemory(link, cfg, kCfgVersionAddress, 2));
        EXPECT_EQ(cfg[0], 200);
        port.close();
    }
}

TEST_F(PtyTransportTest, ModbusIsHeardOnlyAtTheControllersSpeed) {
    {
        PosixSerialPort port(PortRole::Zarnet);
        ASSERT_EQ(port.open(QString::fromStdString(pty.slavePath()), LineSettings{}), PortOk);
        ZarnetLink link(&port);
        const uint8_t toModbus = kSwitchToModbus;
        ASSERT_TRUE(WriteMemory(link, &toModbus, kProtocolSelectorAddress, 1));
        ASSERT_TRUE(ResetDevice(link));
    }
    const auto id = modbusIdentifyRequest(2);
    for (uint8_t params : {uint8_t{0x02}, uint8_t{0x01}}) { // 19200 (wrong), then 9600 (MB_Params 1)
        PosixSerialPort port(PortRole::Modbus);
        ASSERT_EQ(port.open(QString::fromStdString(pty.slavePath()), modbusLineSettings(params)), PortOk);
        ModbusMaster modbus(&port);
        uint8_t reply[256] = {};
        uint8_t length = 0;
        EXPECT_EQ(modbus.ModbusExchange(id.data(), 6, reply, length), params == 0x01) << int(params);
        if (params == 0x01) {
            EXPECT_EQ(reply[4], 0x20);
        }
    }
}

} // namespace
} // namespace vextor::sim::testing

namespace vextor::sim {
namespace {

TEST(LineTime, TenOrElevenBitsPerByteRoundedUpToTheMicrosecond) {
    EXPECT_EQ(lineTimeUs(15, 9600, 10), 15625); // identify, request and reply
    EXPECT_EQ(lineTimeUs(96, 9600, 10), 100000);
    EXPECT_EQ(lineTimeUs(8, 19200, 11), 4584); // 4583.3
    EXPECT_EQ(lineTimeUs(100, 0, 10), 0) << "no wire speed: at once";
}

} // namespace
} // namespace vextor::sim
