#include "Poller.h"

#include "ChannelRecords.h"
#include "link/Hooks.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"
#include "link/ZarnetLink.h"
#include "texts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vextor::monitor {

namespace t = monitor_texts;

namespace {

// The inner reply code of a slave that understood the request but cannot serve it.
constexpr uint8_t kSlaveRefused = 10;
// A Lintra loop controller's and a plain slave's byte for an input that is on.
constexpr uint8_t kSlaveInputOn = 35;
// Value types of a slave's analog input: a single, or a whole number in 256ths.
constexpr uint8_t kSlaveSingle = 3;
constexpr uint8_t kSlaveFixedA = 6;
constexpr uint8_t kSlaveFixedB = 7;

template <size_t N> std::vector<uint8_t> tickedNumbers(const std::array<bool, N>& ticks) {
    std::vector<uint8_t> numbers;
    for (size_t k = 0; k < N; ++k)
        if (ticks[k])
            numbers.push_back(static_cast<uint8_t>(k + 1));
    return numbers;
}

} // namespace

QString loggedEventLine(const std::array<uint8_t, 9>& b) {
    const auto two = [](uint8_t v) { return intToStrPad(v, 2); };
    // Bit 7 of the second is a flag of the controller's, not part of the time.
    const uint8_t second = b[5] & 0x7F;
    return QString::number(b[0]) + QLatin1Char(' ') + QString::number(b[1]) + QLatin1Char(' ') +
           QString::number(b[2]) + QStringLiteral("   ") + two(b[3]) + QLatin1Char(':') + two(b[4]) +
           QLatin1Char(':') + two(second) + QStringLiteral("  ") + two(b[6]) + QLatin1Char('.') + two(b[7]) +
           QLatin1Char('.') + two(b[8]);
}

QString inputChangeLine(uint8_t device, uint8_t inputs) {
    return t::kInputChangeHead + intToStrPad(device, 2) + t::kInputChangeSwitches + intToStrPad(inputs, 2);
}

Poller::Step Poller::pollStep(ZarnetLink& link) {
    ++news_.steps;
    if (transitWaiting_) {
        takeSlaveAnswer(link);
        return Step::SlaveWait;
    }
    if (stepCounter_ == 0)
        pollEvent(link);
    else if (stepCounter_ <= 4)
        readOwnChannels(link, stepCounter_);
    else
        requestSlaveChannel(link, stepCounter_);
    if (++stepCounter_ >= kPollSteps) {
        chartUpdate();
        stepCounter_ = 0;
    }
    return Step::Polled;
}

MonitorRecord Poller::runTick(ZarnetLink& link, const std::function<bool()>& keepGoing) {
    for (int n = 0; n < kPollSteps; ++n) {
        if (n > 0)
            sleepMs(kStepPauseMs);
        if (keepGoing && !keepGoing())
            break;
        if (pollStep(link) == Step::SlaveWait || stepCounter_ == 0)
            break;
    }
    return takeRecord();
}

MonitorRecord Poller::takeRecord() {
    news_.time = QDateTime::currentDateTime();
    news_.noEventCounter = noEventCounter_;
    news_.waitCounter = waitCounter_;
    return std::exchange(news_, MonitorRecord{});
}

void Poller::pollEvent(ZarnetLink& link) {
    std::array<uint8_t, kFrameBufferSize> data{};
    uint8_t kind = 0;
    size_t copied = 0;
    if (!PollEvent(link, data.data(), kind, &copied)) {
        countError();
        return;
    }
    PolledEvent e;
    std::copy_n(data.begin(), e.bytes.size(), e.bytes.begin());
    switch (kind) {
    case PolledEvent::Logged:
        noEventCounter_ = 0;
        // An event reply too short for a whole record gives no line rather than bytes of an older reply.
        if (copied >= e.bytes.size()) {
            e.kind = PolledEvent::Logged;
            e.line = loggedEventLine(e.bytes);
            news_.events.push_back(e);
        }
        break;
    case PolledEvent::InputChange:
        if (copied >= 4) {
            e.kind = PolledEvent::InputChange;
            e.line = inputChangeLine(e.bytes[2], e.bytes[3]);
            news_.events.push_back(e);
        }
        sleepMs(kInputChangePauseMs);
        break;
    default:
        ++noEventCounter_;
        break;
    }
}

void Poller::readOwnChannels(ZarnetLink& link, int step) {
    const ChannelSelection& s = settings_.channels;
    ChannelGroup group = ChannelGroup::AnalogIn;
    std::vector<uint8_t> numbers;
    switch (step) {
    case 1:
        numbers = tickedNumbers(s.analogIn);
        break;
    case 2:
        group = ChannelGroup::AnalogOut;
        numbers = tickedNumbers(s.analogOut);
        break;
    case 3:
        group = ChannelGroup::DiscreteIn;
        numbers = tickedNumbers(s.discreteIn);
        break;
    default:
        group = ChannelGroup::DiscreteOut;
        numbers = tickedNumbers(s.discreteOut);
        break;
    }
    if (numbers.empty())
        return;
    std::array<uint8_t, kFrameBufferSize> data{};
    size_t copied = 0;
    // A reply for another group would put its records on the wrong channels.
    if (!ReadChannels(link, group, numbers, data.data(), &copied) || copied < 1 ||
        data[0] != static_cast<uint8_t>(group)) {
        countError();
        return;
    }
    for (const ChannelRecord& r : decodeChannelRecords(group, data.data(), copied)) {
        // Only what was asked for: a channel the monitor has no slot for, or one not ticked, is
        // skipped.
        if (std::find(numbers.begin(), numbers.end(), r.channel) == numbers.end())
            continue;
        const size_t k = r.channel - 1u;
        switch (group) {
        case ChannelGroup::AnalogIn:
            values_.analogIn[k] = r.value;
            news_.analogIn[k] = r.value;
            break;
        case ChannelGroup::AnalogOut:
            values_.analogOut[k] = r.value;
            news_.analogOut[k] = r.value;
            break;
        case ChannelGroup::DiscreteIn:
            values_.discreteIn[k] = r.state;
            news_.discreteIn[k] = (r.state & 1) != 0;
            break;
        case ChannelGroup::DiscreteOut:
            values_.discreteOut[k] = r.state;
            news_.discreteOut[k] = (r.state & 1) != 0;
            break;
        }
    }
}

void Poller::requestSlaveChannel(ZarnetLink& link, int step) {
    const SlaveSelection& s = settings_.channels.slave;
    const SlaveChannel* channel = &s.analogIn;
    ChannelGroup group = ChannelGroup::AnalogIn;
    switch (step) {
    case 5:
        break;
    case 6:
        channel = &s.analogOut;
        group = ChannelGroup::AnalogOut;
        break;
    case 7:
        channel = &s.discreteIn;
        group = ChannelGroup::DiscreteIn;
        break;
    default:
        channel = &s.discreteOut;
        group = ChannelGroup::DiscreteOut;
        break;
    }
    if (!channel->ticked)
        return;
    if (!s.address || !channel->number) {
        // The analog input's box counts a blank address or number as a failure; the others wait for
        // theirs to be filled in.
        if (step == 5)
            countError();
        return;
    }
    if (!TransitReadChannels(link, *s.address, group, {*channel->number})) {
        countError();
        return;
    }
    transitWaiting_ = true;
    waitCounter_ = 0;
}

void Poller::takeSlaveAnswer(ZarnetLink& link) {
    uint8_t status = 0;
    if (!TransitStatus(link, status)) {
        transitWaiting_ = false;
        countError();
        return;
    }
    if (status != kTransitReady) {
        ++waitCounter_;
        news_.waitCounted = true;
        return;
    }
    transitWaiting_ = false;
    // The slave's frame: address, length, reply code, group, then one channel record.
    std::array<uint8_t, kFrameBufferSize> b{};
    size_t n = 0;
    if (!TransitFetch(link, b.data(), &n)) {
        countError();
        return;
    }
    SlaveNews& news = news_.slave;
    if (n > 2 && b[2] == kSlaveRefused) {
        news.noAnswerShown = true;
        return;
    }
    const auto has = [n](size_t last) { return last < n; };
    const uint8_t group = has(3) ? b[3] : 0;
    switch (group) {
    case static_cast<uint8_t>(ChannelGroup::DiscreteIn):
        if (settings_.channels.slave.lintra ? has(9) : has(7))
            news.inputOn = settings_.channels.slave.lintra ? b[9] == kSlaveInputOn
                                                           : (b[7] == 1 || b[7] == kSlaveInputOn);
        break;
    case static_cast<uint8_t>(ChannelGroup::AnalogIn): {
        const uint8_t type = has(5) ? b[5] : 0;
        if (type == kSlaveSingle && has(10)) {
            values_.slaveAnalogIn = floatFromImage(true, b.data() + 7);
            news.analogIn = values_.slaveAnalogIn;
        } else if ((type == kSlaveFixedA || type == kSlaveFixedB) && has(8)) {
            values_.slaveAnalogIn = static_cast<float>(static_cast<int16_t>(b[7] | (b[8] << 8))) / 256.0f;
            news.analogIn = values_.slaveAnalogIn;
        } else {
            news.analogInError = true;
        }
        break;
    }
    case static_cast<uint8_t>(ChannelGroup::AnalogOut):
        if (has(10)) {
            values_.slaveAnalogOut = floatFromImage(true, b.data() + 7);
            news.analogOut = values_.slaveAnalogOut;
        }
        break;
    case static_cast<uint8_t>(ChannelGroup::DiscreteOut):
        if (has(7))
            news.outputOn = b[7] == 1;
        break;
    default:
        break;
    }
    news.noAnswerShown = false;
}

void Poller::chartUpdate() {
    const ChannelSelection& s = settings_.channels;
    ChartPoint p;
    p.x = sampleCounter_++;
    const auto plot = [&](int series, float raw) {
        p.y[static_cast<size_t>(series)] = settings_.scales[static_cast<size_t>(series)].apply(raw);
    };
    for (int k = 0; k < kAnalogInputs; ++k)
        if (s.analogIn[static_cast<size_t>(k)])
            plot(kFirstAnalogInSeries + k, values_.analogIn[static_cast<size_t>(k)]);
    for (int k = 0; k < kAnalogOutputs; ++k)
        if (s.analogOut[static_cast<size_t>(k)])
            plot(kFirstAnalogOutSeries + k, values_.analogOut[static_cast<size_t>(k)]);
    if (s.slave.analogIn.ticked)
        plot(kSlaveAnalogInSeries, values_.slaveAnalogIn);
    if (s.slave.analogOut.ticked)
        plot(kSlaveAnalogOutSeries, values_.slaveAnalogOut);
    news_.chart = p;
}

} // namespace vextor::monitor
