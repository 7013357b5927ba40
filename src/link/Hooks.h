#pragma once
// The process-wide seam for time: the pauses between requests. Unit tests install a recording clock
// so that a configuration transfer runs without sleeping. The clock is set before any line thread
// starts and stays for the run.
#include <cstdint>

namespace vextor {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMs(int ms) = 0;
    virtual int64_t nowMs() = 0; // monotonic
};

// The clock that really sleeps (std::this_thread::sleep_for, steady_clock).
Clock& systemClock();

Clock& clock();
void setClock(Clock* c); // nullptr restores the system clock

// The pause that paces consecutive requests to a controller: before each step of a transfer, after
// each write, between the operations of a task tick and before each event record of a task.
inline constexpr int kRequestPauseMs = 20;

inline void sleepMs(int ms) {
    clock().sleepMs(ms);
}

} // namespace vextor
