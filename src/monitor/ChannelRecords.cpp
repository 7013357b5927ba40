#include "ChannelRecords.h"

#include "link/NumericConversions.h"

namespace vextor::monitor {

namespace {

// The value type of an analog input record that carries a single after its three bytes.
constexpr uint8_t kSingleValue = 3;
constexpr size_t kShortAnalogRecord = 3;

} // namespace

std::vector<ChannelRecord> decodeChannelRecords(ChannelGroup group, const uint8_t* data, size_t length) {
    std::vector<ChannelRecord> records;
    const size_t full = channelRecordSize(group);
    size_t pos = 1; // after the group byte
    while (pos < length) {
        ChannelRecord r;
        r.channel = data[pos];
        size_t size = full;
        switch (group) {
        case ChannelGroup::AnalogIn:
            if (pos + 1 < length && data[pos + 1] != kSingleValue) {
                size = kShortAnalogRecord;
                r.value = kNoAnalogValue;
            }
            if (pos + size > length)
                return records;
            if (size == full)
                r.value = floatFromImage(true, data + pos + 3);
            break;
        case ChannelGroup::AnalogOut:
            if (pos + size > length)
                return records;
            r.value = floatFromImage(true, data + pos + 3);
            break;
        case ChannelGroup::DiscreteIn:
        case ChannelGroup::DiscreteOut:
            if (pos + size > length)
                return records;
            r.state = data[pos + 3];
            break;
        }
        records.push_back(r);
        pos += size;
    }
    return records;
}

} // namespace vextor::monitor
