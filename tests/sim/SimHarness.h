#pragma once
// Drives virtual controllers with the program's own device-link commands: a scripted port hands
// every request to the line and returns its reply, so each test checks the simulator against
// exactly what the master sends and accepts.
#include "link/ModbusMaster.h"
#include "link/ZarnetLink.h"
#include "sim/SimController.h"
#include "sim/SimLine.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"

#include <memory>

namespace vextor::sim::testing {

using vextor::testing::FakeSerialPort;
using vextor::testing::ManualClock;

// A small image: MB_Params 1 (9600 8N1), MB_Address 2, the rest 0.
inline Bytes smallImage() {
    Bytes image(kImageSize, 0);
    image[kModbusParamsAddress - kImageFirst] = 0x01;
    image[kModbusAddressAddress - kImageFirst] = 0x02;
    return image;
}

inline const DeviceDateTime kStartClock{2024, 3, 15, 12, 30, 0};

struct SimHarness {
    explicit SimHarness(std::vector<ControllerSettings> controllers = {ControllerSettings{}},
                        FaultRates faults = {})
        : line(7, faults) {
        for (const ControllerSettings& s : controllers)
            line.addController(std::make_unique<SimController>(s, smallImage(), kStartClock, 0));
        zarnetPort.responder = [this](const Bytes& request) {
            lastRequest = request;
            lastReply = reply(request, FrameKind::Zarnet);
            return lastReply;
        };
        modbusPort.responder = [this](const Bytes& request) { return reply(request, FrameKind::Modbus); };
        zarnetPort.open("sim", {});
        modbusPort.open("sim", {});
        link.randomByte = [this] { return nonce++; };
    }

    Bytes reply(const Bytes& request, FrameKind kind) {
        const std::optional<LineReply> r = line.handle(Frame{kind, request}, clock.now);
        return r ? r->bytes : Bytes{};
    }

    SimController& controller(uint8_t address = 1) { return *line.controller(address); }

    ManualClock clock; // the link's pauses advance the controllers' time
    SimLine line;
    FakeSerialPort zarnetPort{PortRole::Zarnet};
    FakeSerialPort modbusPort{PortRole::Modbus};
    ZarnetLink link{&zarnetPort};
    ModbusMaster modbus{&modbusPort};
    uint8_t nonce = 0x31;
    Bytes lastRequest, lastReply;
};

} // namespace vextor::sim::testing
