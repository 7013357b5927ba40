#pragma once
// The live monitor's polling cycle, headless: nine steps, one request each, then a chart point.
//
//   step 0  the event poll (always)
//   step 1  the ticked analog inputs, in one request
//   step 2  the ticked analog outputs
//   step 3  the ticked discrete inputs
//   step 4  the ticked discrete outputs
//   step 5-8  one channel of a slave device each (analog in, analog out, discrete in, discrete out),
//             relayed by the controller: the request goes out in its step, the answer is asked for in
//             the following steps until it is ready
//   after step 8: the chart point of every ticked channel, scaled by its trace
//
// The monitor's turn in a task tick (runTick) runs the steps that are left of the cycle, 20 ms apart.
// It leaves when the cycle is complete, after a step that asked for a slave's answer (the next tick
// asks again), or when it is told to stop; it never runs more than nine steps. Everything it finds
// goes into one MonitorRecord per turn.
//
// The poller knows nothing of threads: vextorctl and the tests call it directly; on the line it runs
// inside the periodic job of PollJob.h.
#include "MonitorRecord.h"
#include "PollSettings.h"

#include <array>
#include <cstdint>
#include <functional>

namespace vextor {
class ZarnetLink;
}

namespace vextor::monitor {

inline constexpr int kPollSteps = 9;
inline constexpr int kStepPauseMs = 20;
inline constexpr int kInputChangePauseMs = 50;

// The values the monitor holds between cycles; the chart takes them at the end of each cycle.
struct ChannelValues {
    std::array<float, kAnalogInputs> analogIn{};
    std::array<float, kAnalogOutputs> analogOut{};
    std::array<uint8_t, kDiscreteInputs> discreteIn{};
    std::array<uint8_t, kDiscreteOutputs> discreteOut{};
    float slaveAnalogIn = 0;
    float slaveAnalogOut = 0;
};

class Poller {
public:
    explicit Poller(PollSettings settings = {}) : settings_(settings) {}

    void setSettings(const PollSettings& settings) { settings_ = settings; }
    const PollSettings& settings() const { return settings_; }

    // "Старт": a slave answer awaited by an earlier run is no longer waited for.
    void start() { transitWaiting_ = false; }

    // One step of the cycle; what it finds goes into the record of the current turn.
    enum class Step { Polled, SlaveWait };
    Step pollStep(ZarnetLink& link);

    // The monitor's turn in a tick. keepGoing is asked before every step (the task or the link may
    // have gone); an empty one never stops.
    MonitorRecord runTick(ZarnetLink& link, const std::function<bool()>& keepGoing = {});

    // What the steps found since the last call, and a fresh record for the next.
    MonitorRecord takeRecord();

    int stepCounter() const { return stepCounter_; }
    int64_t sampleCounter() const { return sampleCounter_; }
    bool transitWaiting() const { return transitWaiting_; }
    uint32_t noEventCounter() const { return noEventCounter_; }
    uint32_t waitCounter() const { return waitCounter_; }
    const ChannelValues& values() const { return values_; }

private:
    PollSettings settings_;
    int stepCounter_ = 0;
    int64_t sampleCounter_ = 0; // never reset while the program runs
    uint32_t noEventCounter_ = 0;
    uint32_t waitCounter_ = 0;
    bool transitWaiting_ = false;
    ChannelValues values_;
    MonitorRecord news_;

    void countError() { ++news_.errors; }
    void pollEvent(ZarnetLink& link);
    void readOwnChannels(ZarnetLink& link, int step);
    void requestSlaveChannel(ZarnetLink& link, int step);
    void takeSlaveAnswer(ZarnetLink& link);
    void chartUpdate();
};

// The event list's line of an event record: "1 2 3   09:05:07  01.02.24".
QString loggedEventLine(const std::array<uint8_t, 9>& bytes);
// The event list's line of an input change: "IC a=03 sw=45".
QString inputChangeLine(uint8_t device, uint8_t inputs);

} // namespace vextor::monitor
