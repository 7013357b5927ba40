#pragma once
// What the live monitor polls: the channels the user ticked, the slave device's channels, and the
// scaling of each chart trace. The window fills it; the poller only reads it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vextor::monitor {

// The controller's own channels, each numbered from 1 on the wire.
inline constexpr int kAnalogInputs = 6;
inline constexpr int kAnalogOutputs = 2;
inline constexpr int kDiscreteInputs = 6;
inline constexpr int kDiscreteOutputs = 6;

// The chart's series: 0 is the time series that never gets a point, 1..6 the analog inputs, 7 and 8
// the analog outputs, 9 and 10 the slave's analog input and output.
inline constexpr int kSeriesCount = 11;
inline constexpr int kFirstAnalogInSeries = 1;
inline constexpr int kFirstAnalogOutSeries = 7;
inline constexpr int kSlaveAnalogInSeries = 9;
inline constexpr int kSlaveAnalogOutSeries = 10;

// One channel of a device on the controller's slave line. An empty number (a field left blank) is
// nullopt.
struct SlaveChannel {
    bool ticked = false;
    std::optional<uint8_t> number;
    bool operator==(const SlaveChannel&) const = default;
};

// The slave group of the monitor: one channel of each kind of one slave device.
struct SlaveSelection {
    std::optional<uint8_t> address;
    SlaveChannel analogIn, analogOut, discreteIn, discreteOut;
    // A loop controller of the Lintra kind answers its discrete input in another byte.
    bool lintra = false;
    bool operator==(const SlaveSelection&) const = default;
};

// The ticks of the monitor window; all start unticked. Index k is channel k + 1.
struct ChannelSelection {
    std::array<bool, kAnalogInputs> analogIn{};
    std::array<bool, kAnalogOutputs> analogOut{};
    std::array<bool, kDiscreteInputs> discreteIn{};
    std::array<bool, kDiscreteOutputs> discreteOut{};
    SlaveSelection slave;
    bool operator==(const ChannelSelection&) const = default;

    // Every own channel ticked, no slave: what the command-line monitor polls.
    static ChannelSelection allOwnChannels();
};

// The linear scaling of one chart trace: plotted = raw x multiplier + offset, in single precision.
struct TraceScale {
    float multiplier = 1.0f;
    float offset = 0.0f;
    float apply(float raw) const { return raw * multiplier + offset; }
    bool operator==(const TraceScale&) const = default;
};

struct PollSettings {
    ChannelSelection channels;
    std::array<TraceScale, kSeriesCount> scales{}; // by series
    bool operator==(const PollSettings&) const = default;
};

inline ChannelSelection ChannelSelection::allOwnChannels() {
    ChannelSelection s;
    s.analogIn.fill(true);
    s.analogOut.fill(true);
    s.discreteIn.fill(true);
    s.discreteOut.fill(true);
    return s;
}

} // namespace vextor::monitor
