#pragma once
// Events as the controller writes them into its black box: nine bytes of source, code, option and
// a time stamp. The generator draws the events an air handling unit really produces over a day.
#include "SimClock.h"

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace vextor::sim {

inline constexpr uint32_t kEventRegionAddress = 2048;
inline constexpr uint32_t kEventSlots = 682;
inline constexpr uint32_t kEventRecordSize = 9;

enum EventCode : uint8_t {
    EventAddressChanged = 7,
    EventNewKey = 9,
    EventStart = 203, // option: 0 power, 1 watchdog, 2 command
};
enum StartCause : uint8_t { StartByPower = 0, StartByWatchdog = 1, StartByCommand = 2 };

struct EventRecord {
    uint8_t source = 0; // 0 the controller itself, else the slave-line address the event concerns
    uint8_t code = 0;
    uint8_t option = 0;
    DeviceDateTime at;

    std::array<uint8_t, kEventRecordSize> bytes() const;
};

// One event of the kinds a running unit logs (mode changes, supply voltage, alarms, lost and
// restored slaves, loop breaks, output faults), stamped with the given time.
EventRecord randomEvent(std::mt19937& rng, const DeviceDateTime& at, const std::vector<uint8_t>& slaves);

// A plausible history of count events, oldest first, ending a little before end: it opens with a
// power-on start and its stamps are valid dates and times a few minutes to hours apart.
std::vector<EventRecord> eventHistory(std::mt19937& rng, int count, const DeviceDateTime& end,
                                      const std::vector<uint8_t>& slaves);

} // namespace vextor::sim
