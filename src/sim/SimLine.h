#pragma once
// One RS-485 line with several virtual controllers on it. Every request reaches every controller;
// only the addressed one answers, an unknown address gets silence. The line is also where faults
// are injected (seeded, so a failing run can be repeated) and where every frame is logged.
#include "SimController.h"
#include "SimFramer.h"
#include "SimTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string_view>
#include <vector>

namespace vextor::sim {

struct FaultRates {
    double drop = 0;         // the reply never comes
    double corrupt = 0;      // the reply's CRC is wrong
    double wrongAddress = 0; // the reply comes from another address (with a good CRC)
    double truncate = 0;     // the reply stops short
};

struct LineReply {
    Bytes bytes;
    int64_t delayMs = 0; // the controller's delay before reply
    int bitsPerByte = 10;
};

class SimLine {
public:
    explicit SimLine(uint32_t seed = 1, FaultRates faults = {});

    // False when a controller with that device-protocol address is already on the line.
    bool addController(std::unique_ptr<SimController> controller);
    SimController* controller(uint8_t address) const;
    const std::vector<std::unique_ptr<SimController>>& controllers() const { return controllers_; }

    bool hasZarnet() const;
    bool hasModbus() const;

    // One complete request frame. lineBaud is the speed the master's port is set to (0 when
    // unknown): a controller in Modbus mode hears only a master at its own speed.
    std::optional<LineReply> handle(const Frame& frame, int64_t nowMs, uint32_t lineBaud = 0);

    // One line per frame: milliseconds, direction (rx, tx, drop), hex bytes.
    void setLog(std::ostream* log) { log_ = log; }
    void logFrame(int64_t nowMs, std::string_view direction, const Bytes& bytes);

private:
    bool chance(double rate);
    Bytes injectFaults(Bytes reply, FrameKind kind);

    std::vector<std::unique_ptr<SimController>> controllers_;
    std::mt19937 rng_;
    FaultRates faults_;
    std::ostream* log_ = nullptr;
};

} // namespace vextor::sim
