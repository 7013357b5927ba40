#pragma once
// The channel records of a ReadChannels reply, as the live monitor reads them.
#include "link/ZarnetCommands.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vextor::monitor {

// What an analog input shows when the controller reports no value of the single kind for it.
inline constexpr float kNoAnalogValue = -1000.0f;

struct ChannelRecord {
    uint8_t channel = 0;
    float value = 0;   // analog channels: the value (plausibility-checked); kNoAnalogValue without one
    uint8_t state = 0; // discrete channels: bit 0 is the state
};

// The records in the data ReadChannels hands over (the group byte, then the records). A record is
// taken only when it lies wholly within the data: a reply cut short never lends a record bytes of an
// older reply.
std::vector<ChannelRecord> decodeChannelRecords(ChannelGroup group, const uint8_t* data, size_t length);

} // namespace vextor::monitor
