#include "SimEvents.h"

#include <algorithm>

namespace vextor::sim {

namespace {

enum class Option { None, Slave, Loop, Output, Analog, Start };

struct EventKind {
    uint8_t code;
    Option option;
    bool fromSlave; // the record's source is the slave the event concerns
    int weight;
};

constexpr EventKind kKinds[] = {
    {100, Option::None, false, 8},   {101, Option::None, false, 8},   {102, Option::None, false, 8},
    {103, Option::None, false, 8},   {1, Option::None, false, 3},     {2, Option::None, false, 3},
    {198, Option::None, false, 2},   {199, Option::None, false, 2},   {94, Option::None, false, 3},
    {95, Option::None, false, 1},    {96, Option::None, false, 1},    {97, Option::None, false, 1},
    {98, Option::None, false, 2},    {99, Option::None, false, 1},    {250, Option::Slave, false, 3},
    {251, Option::Slave, false, 3},  {45, Option::Loop, true, 2},     {109, Option::Loop, true, 2},
    {82, Option::Analog, false, 1},  {83, Option::Analog, false, 1},  {122, Option::Analog, false, 1},
    {123, Option::Analog, false, 1}, {127, Option::Output, false, 2}, {203, Option::Start, false, 1},
    {9, Option::None, false, 1},
};

int uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

} // namespace

std::array<uint8_t, kEventRecordSize> EventRecord::bytes() const {
    return {source,
            code,
            option,
            static_cast<uint8_t>(at.hour),
            static_cast<uint8_t>(at.minute),
            static_cast<uint8_t>(at.second),
            static_cast<uint8_t>(at.day),
            static_cast<uint8_t>(at.month),
            static_cast<uint8_t>(at.year - 2000)};
}

EventRecord randomEvent(std::mt19937& rng, const DeviceDateTime& at, const std::vector<uint8_t>& slaves) {
    int total = 0;
    for (const EventKind& k : kKinds)
        total += k.weight;
    int pick = uniform(rng, 0, total - 1);
    const EventKind* kind = &kKinds[0];
    for (const EventKind& k : kKinds) {
        if (pick < k.weight) {
            kind = &k;
            break;
        }
        pick -= k.weight;
    }
    const uint8_t slave = slaves.empty() ? static_cast<uint8_t>(uniform(rng, 1, 8))
                                         : slaves[uniform(rng, 0, int(slaves.size()) - 1)];
    EventRecord e;
    e.code = kind->code;
    e.at = at;
    switch (kind->option) {
    case Option::None:
        break;
    case Option::Slave:
        e.option = slave;
        break;
    case Option::Loop:
        e.option = static_cast<uint8_t>(uniform(rng, 1, 8));
        break;
    case Option::Output:
        e.option = static_cast<uint8_t>(uniform(rng, 1, 6));
        break;
    case Option::Analog:
        e.option = static_cast<uint8_t>(uniform(rng, 1, 2));
        break;
    case Option::Start:
        e.option = static_cast<uint8_t>(uniform(rng, StartByPower, StartByCommand));
        break;
    }
    if (kind->fromSlave)
        e.source = slave;
    return e;
}

std::vector<EventRecord> eventHistory(std::mt19937& rng, int count, const DeviceDateTime& end,
                                      const std::vector<uint8_t>& slaves) {
    std::vector<EventRecord> events;
    if (count <= 0)
        return events;
    // Stamps walk back from the end in gaps of two minutes to eight hours; never before 2000.
    std::vector<int64_t> stamps;
    int64_t t = SimClock::toSeconds(end) - uniform(rng, 30, 600);
    const int64_t earliest = SimClock::toSeconds(DeviceDateTime{});
    for (int i = 0; i < count; ++i) {
        stamps.push_back(std::max(t, earliest));
        t -= uniform(rng, 120, 8 * 3600);
    }
    std::reverse(stamps.begin(), stamps.end());
    for (size_t i = 0; i < stamps.size(); ++i) {
        const DeviceDateTime at = SimClock::fromSeconds(stamps[i]);
        if (i == 0) {
            events.push_back(EventRecord{0, EventStart, StartByPower, at});
            continue;
        }
        events.push_back(randomEvent(rng, at, slaves));
    }
    return events;
}

} // namespace vextor::sim
