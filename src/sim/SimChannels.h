#pragma once
// The live channels of one device: six analog inputs that drift slowly around plausible plant
// values, two analog outputs and six discrete outputs that the output commands set, and six
// discrete inputs that change now and then. Inputs are a pure function of the seed and the time.
#include "SimTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vextor::sim {

enum ChannelGroupCode : uint8_t {
    GroupDiscreteIn = 0x02,
    GroupAnalogIn = 0x04,
    GroupAnalogOut = 0x05,
    GroupDiscreteOut = 0x0C,
};

class SimChannels {
public:
    static constexpr int kAnalogInputs = 6;
    static constexpr int kAnalogOutputs = 2;
    static constexpr int kDiscreteInputs = 6;
    static constexpr int kDiscreteOutputs = 6;
    static constexpr float kMaxOutputVolts = 10.0f;

    explicit SimChannels(uint32_t seed);

    // Channels count from 1.
    float analogInput(int channel, int64_t nowMs) const;
    bool discreteInput(int channel, int64_t nowMs) const;
    uint8_t discreteInputMask(int64_t nowMs) const; // bit k-1 for input k
    float analogOutput(int channel) const;
    bool discreteOutput(int channel) const;

    // False for an output the device does not have, or a voltage outside 0..10 V (NaN included).
    bool setAnalogOutput(int channel, float volts);
    bool setDiscreteOutput(int channel, bool on);

    // The group and kind bytes of a channel request belong together (03 analog, 01 discrete).
    static bool knownGroup(uint8_t group, uint8_t kind);

    // Appends one record per requested channel, in request order, as long as the next record fits
    // in room bytes. Analog input records carry value type 3 and the value; an analog input the
    // device does not have gets a three-byte record without a value. Other unknown channels are
    // left out.
    void appendRecords(uint8_t group, const uint8_t* channels, size_t count, int64_t nowMs, size_t room,
                       Bytes& out) const;

private:
    uint32_t seed_;
    std::array<float, kAnalogOutputs> analogOut_{};
    std::array<bool, kDiscreteOutputs> discreteOut_{};
};

} // namespace vextor::sim
