#pragma once
// Virtual controllers on a pseudo-terminal inside this process: the line the desktop program's demo
// mode and the task-loop tests talk to. The controllers answer on a thread of their own; the program opens
// the pseudo-terminal by its path exactly as it opens a serial adapter.
#include "SimController.h"

#include <QString>
#include <atomic>
#include <memory>
#include <span>
#include <thread>
#include <vector>

namespace vextor::sim {
class SimLine;
class PtyTransport;
} // namespace vextor::sim

namespace vextor {

class VirtualLine {
public:
    VirtualLine();
    ~VirtualLine();
    VirtualLine(const VirtualLine&) = delete;
    VirtualLine& operator=(const VirtualLine&) = delete;

    // Puts a controller on the line (before start()); modbusMode starts it switched to Modbus.
    // image: the bytes of device addresses 3..1193 the controller holds (a shorter image is padded
    // with 0), the default configuration unless given.
    bool addController(const sim::ControllerSettings& settings, bool modbusMode = false,
                       std::span<const uint8_t> image = sim::kDefaultImage);
    // Opens the pseudo-terminal and starts answering. False with the reason in error.
    bool start(QString& error);
    void stop();
    QString portPath() const;

private:
    std::unique_ptr<sim::SimLine> line_;
    std::unique_ptr<sim::PtyTransport> pty_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

// The settings of a virtual Vextor: device-protocol and Modbus address, everything else as a
// controller fresh from the factory with the current configuration version.
sim::ControllerSettings virtualVextor(uint8_t zarnetAddress, uint8_t modbusAddress);

} // namespace vextor
