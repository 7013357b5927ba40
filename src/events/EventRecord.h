#pragma once
// One entry of the controller's event log, laid out the same in device memory and in an event
// file: source, code, option, hour, minute, second, day, month, year, all plain bytes.
#include <cstdint>

namespace vextor::events {

inline constexpr int kEventRecordSize = 9;
inline constexpr int kEventSlotCount = 682;
inline constexpr uint32_t kEventRegionAddress = 2048;
inline constexpr int kEventRegionSize = kEventSlotCount * kEventRecordSize; // 6138

inline constexpr uint32_t eventSlotAddress(int slot) {
    return kEventRegionAddress + static_cast<uint32_t>(kEventRecordSize * slot);
}

struct EventRecord {
    uint8_t source = 0; // 0 the controller itself, 1..127 a slave-line device; bit 7: not a record
    uint8_t code = 0;
    uint8_t option = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0; // bit 7 is a flag of the controller's, not part of the second
    uint8_t day = 0;
    uint8_t month = 0;
    uint8_t year = 0; // years after 2000

    uint8_t seconds() const { return second & 0x7F; }

    static EventRecord fromBytes(const uint8_t* b) {
        return {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8]};
    }
};

} // namespace vextor::events
