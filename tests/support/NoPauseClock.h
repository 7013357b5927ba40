#pragma once
// A clock for tests of the line thread: the pauses between requests pass at once, time itself is
// real (the serial port's time-outs run on it). It keeps no state, so the line thread and the test
// thread may both use it.
#include "link/Hooks.h"

namespace vextor::testing {

class NoPauseClock : public Clock {
public:
    NoPauseClock() { setClock(this); }
    ~NoPauseClock() override { setClock(nullptr); }
    void sleepMs(int) override {}
    int64_t nowMs() override { return systemClock().nowMs(); }
};

} // namespace vextor::testing
