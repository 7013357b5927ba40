#pragma once
// Process-wide seams for time and for letting the user interface breathe during long operations.
// The application installs real implementations; unit tests install recording no-ops so that a
// configuration transfer runs without sleeping.
#include <cstdint>
#include <functional>

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

// "Let pending window events run": a no-op until the application installs
// QCoreApplication::processEvents.
void processPendingEvents();
void setPendingEventsHook(std::function<void()> hook);

} // namespace vextor
