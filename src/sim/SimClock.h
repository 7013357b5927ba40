#pragma once
// The controller's own clock: a naive local date and time that runs on from whatever was last
// written to it, measured against the program's monotonic milliseconds.
#include <cstdint>

namespace vextor::sim {

struct DeviceDateTime {
    int year = 2000; // 2000..2099 on the wire (one byte, years after 2000)
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const DeviceDateTime&) const = default;
};

// A real calendar date in 2000..2099 and a time of day with hours below 24.
bool isValidDateTime(const DeviceDateTime& t);

class SimClock {
public:
    SimClock(const DeviceDateTime& start, int64_t nowMs);

    DeviceDateTime at(int64_t nowMs) const;
    // False (and the clock unchanged) for a date or time the controller cannot hold.
    bool set(const DeviceDateTime& t, int64_t nowMs);

    static int64_t toSeconds(const DeviceDateTime& t);
    static DeviceDateTime fromSeconds(int64_t seconds);

private:
    int64_t baseSeconds_;
    int64_t baseMs_;
};

} // namespace vextor::sim
