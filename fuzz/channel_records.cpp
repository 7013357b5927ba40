// The live monitor's reading of channel replies: the channel records on their own, and the poller's
// whole cycle (event poll, own channels, a slave's channel through the transit service) with every
// reply taken from the fuzzer's bytes.
//
// Input: the ticked channels (two bytes of bits), the slave byte (bit 7 a Lintra loop controller,
// bits 0..3 its channel numbers), then the replies, each one length byte and its bytes.
#include "FuzzSupport.h"

#include "link/ZarnetLink.h"
#include "monitor/ChannelRecords.h"
#include "monitor/Poller.h"

#include <cmath>

using namespace vextor;
using namespace vextor::fuzz;
using namespace vextor::monitor;

namespace {

constexpr ChannelGroup kGroups[] = {ChannelGroup::AnalogIn, ChannelGroup::AnalogOut, ChannelGroup::DiscreteIn,
                                    ChannelGroup::DiscreteOut};

bool plausible(float v) {
    return std::isfinite(v);
}

void checkRecords(const Bytes& data) {
    for (const ChannelGroup group : kGroups) {
        const auto records = decodeChannelRecords(group, data.data(), data.size());
        // Every record lies within the data after the group byte; an analog input's short record
        // is three bytes, every other is whole.
        const size_t shortest = group == ChannelGroup::AnalogIn ? 3 : channelRecordSize(group);
        FUZZ_CHECK(data.empty() || records.size() * shortest <= data.size() - 1);
        for (const ChannelRecord& r : records) {
            FUZZ_CHECK(plausible(r.value));
            if (group == ChannelGroup::DiscreteIn || group == ChannelGroup::DiscreteOut)
                FUZZ_CHECK(r.value == 0);
        }
    }
}

template <size_t N, class T>
void checkOnlyTicked(const std::array<bool, N>& ticks, const std::array<T, N>& news) {
    for (size_t k = 0; k < N; ++k)
        FUZZ_CHECK(ticks[k] || !news[k]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    installNoSleepClock();
    ByteSource in(data, size);
    const uint16_t ticks = static_cast<uint16_t>(in.byte() | (in.byte() << 8));
    const uint8_t slave = in.byte();
    std::vector<Bytes> replies;
    while (!in.empty())
        replies.push_back(in.chunk());
    for (const Bytes& r : replies)
        checkRecords(r);

    PollSettings settings;
    ChannelSelection& s = settings.channels;
    int bit = 0;
    const auto tick = [&] { return (ticks >> (bit++ % 16)) & 1; };
    for (auto& t : s.analogIn)
        t = tick();
    for (auto& t : s.analogOut)
        t = tick();
    for (auto& t : s.discreteIn)
        t = tick();
    for (auto& t : s.discreteOut)
        t = tick();
    s.slave.address = 2;
    s.slave.lintra = (slave & 0x80) != 0;
    SlaveChannel* slaveChannels[] = {&s.slave.analogIn, &s.slave.analogOut, &s.slave.discreteIn,
                                     &s.slave.discreteOut};
    for (int k = 0; k < 4; ++k) {
        slaveChannels[k]->ticked = (slave >> k) & 1;
        slaveChannels[k]->number = static_cast<uint8_t>(k + 1);
    }

    ScriptedPort port(PortRole::Zarnet, replies);
    port.open(QStringLiteral("fuzz"), {});
    ZarnetLink link(&port);
    link.randomByte = [] { return uint8_t{0x21}; };
    Poller poller(settings);
    poller.start();
    // Enough turns for every reply to be asked for: each exchange takes one.
    for (size_t turn = 0; turn <= replies.size() && turn < 64; ++turn) {
        const MonitorRecord r = poller.runTick(link);
        FUZZ_CHECK(r.steps >= 1 && r.steps <= kPollSteps);
        FUZZ_CHECK(r.errors <= r.steps);
        checkOnlyTicked(s.analogIn, r.analogIn);
        checkOnlyTicked(s.analogOut, r.analogOut);
        checkOnlyTicked(s.discreteIn, r.discreteIn);
        checkOnlyTicked(s.discreteOut, r.discreteOut);
        for (const auto& v : r.analogIn)
            FUZZ_CHECK(!v || plausible(*v));
        for (const auto& v : r.analogOut)
            FUZZ_CHECK(!v || plausible(*v));
        // A slave's answer fills the box its own group byte names, whichever channel was asked for,
        // so only the value itself is checked here.
        FUZZ_CHECK(!r.slave.analogIn || plausible(*r.slave.analogIn));
        FUZZ_CHECK(!r.slave.analogOut || plausible(*r.slave.analogOut));
        for (const PolledEvent& e : r.events)
            FUZZ_CHECK(!e.line.isEmpty());
        if (r.chart)
            for (size_t k = 0; k < r.chart->y.size(); ++k)
                FUZZ_CHECK(!r.chart->y[k] || plausible(*r.chart->y[k]));
    }
    return 0;
}
