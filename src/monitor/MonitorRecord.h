#pragma once
// What one turn of the live monitor found: the window gets one record per task tick and shows it;
// vextorctl writes it as a CSV row. A record carries only news: a channel read in this turn has a
// value, the others keep what the window shows.
#include "PollSettings.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vextor::monitor {

// An event the controller reported to the event poll.
struct PolledEvent {
    enum Kind : uint8_t {
        Logged = 1,      // a record of the event log: source, code, option, hh, mm, ss, DD, MM, YY
        InputChange = 2, // the discrete inputs of a device changed: byte 2 the device, byte 3 the inputs
    };
    Kind kind = Logged;
    std::array<uint8_t, 9> bytes{};
    QString line; // as the event list shows it
};

// The news of the slave answer, when one came in this turn.
struct SlaveNews {
    std::optional<bool> noAnswerShown; // the label "No": shown (true) or hidden (false)
    std::optional<bool> inputOn;
    std::optional<bool> outputOn;
    std::optional<float> analogIn;
    bool analogInError = false; // the answer carried a value of a kind the monitor does not read
    std::optional<float> analogOut;
    bool operator==(const SlaveNews&) const = default;
};

// One point of every plotted series; x counts the cycles since the program started.
struct ChartPoint {
    int64_t x = 0;
    std::array<std::optional<float>, kSeriesCount> y{}; // by series; empty for a channel not ticked
    bool empty() const {
        for (const auto& v : y)
            if (v)
                return false;
        return true;
    }
};

struct MonitorRecord {
    QDateTime time; // local time at the end of the turn
    int steps = 0;  // poll steps run; the activity indicator changes colour after each
    int errors = 0; // failed exchanges counted in this turn
    uint32_t noEventCounter = 0;
    uint32_t waitCounter = 0;
    bool waitCounted = false; // a slave's answer was not ready yet: the wait label shows the counter
    std::vector<PolledEvent> events;
    std::array<std::optional<float>, kAnalogInputs> analogIn{};
    std::array<std::optional<float>, kAnalogOutputs> analogOut{};
    std::array<std::optional<bool>, kDiscreteInputs> discreteIn{};
    std::array<std::optional<bool>, kDiscreteOutputs> discreteOut{};
    SlaveNews slave;
    // The cycle ended in this turn and the chart takes this point.
    std::optional<ChartPoint> chart;
};

} // namespace vextor::monitor
