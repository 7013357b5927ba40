#pragma once
// The serial port of the desktop program: while a read waits for its reply (up to the read
// time-outs, most of a second on a silent line) the window keeps painting. The read itself runs
// on a helper thread; this thread only lets paint and timer events through meanwhile, never user
// input, so nothing can start a second exchange on the line.
#include "link/Hooks.h"
#include "link/PosixSerialPort.h"

namespace vextor {

class ResponsivePort : public PosixSerialPort {
public:
    using PosixSerialPort::PosixSerialPort;
    size_t read(uint8_t* data, size_t count) override;
};

// The application's clock: pauses between requests keep the window painting the same way.
class UiClock : public Clock {
public:
    void sleepMs(int ms) override;
    int64_t nowMs() override;
};

} // namespace vextor
