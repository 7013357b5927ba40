#include "SimChannels.h"

#include <cmath>
#include <numbers>

namespace vextor::sim {

namespace {

// What the six inputs of a typical air handling unit show: outdoor air (a mild day, so that the
// first trace of a fresh chart lies on its default 0..100 axis), supply air, return water,
// room, hot water and a duct pressure in kPa. Each drifts around its base over its own period.
struct InputProfile {
    float base;
    float swing;
    double periodSeconds;
};
constexpr InputProfile kInputs[SimChannels::kAnalogInputs] = {
    {6.0f, 3.0f, 900},   {21.0f, 1.5f, 300}, {45.0f, 4.0f, 1200},
    {22.0f, 0.6f, 1500}, {55.0f, 2.0f, 450}, {3.2f, 0.4f, 240},
};

double unitNoise(uint64_t key) {
    return static_cast<double>(mixBits(key) >> 11) / 9007199254740992.0;
}

} // namespace

SimChannels::SimChannels(uint32_t seed) : seed_(seed) {
    analogOut_ = {3.5f, 0.0f};
}

float SimChannels::analogInput(int channel, int64_t nowMs) const {
    if (channel < 1 || channel > kAnalogInputs)
        return 0.0f;
    const InputProfile& p = kInputs[channel - 1];
    const uint64_t key = (static_cast<uint64_t>(seed_) << 8) ^ static_cast<uint64_t>(channel);
    const double phase = unitNoise(key) * 2 * std::numbers::pi;
    const double t = static_cast<double>(nowMs) / 1000.0;
    // A little sensor noise, fixed within each half second so that two reads close together agree.
    const double noise = (unitNoise(key ^ (static_cast<uint64_t>(nowMs / 500) << 16)) - 0.5) * 0.1;
    const double value =
        p.base + p.swing * std::sin(2 * std::numbers::pi * t / p.periodSeconds + phase) + noise;
    return static_cast<float>(std::round(value * 100.0) / 100.0);
}

bool SimChannels::discreteInput(int channel, int64_t nowMs) const {
    if (channel < 1 || channel > kDiscreteInputs)
        return false;
    // Each input holds its state for a stretch of 30 to 80 s and then draws it again.
    const int64_t stretchMs = 30000 + 10000 * static_cast<int64_t>(channel - 1);
    const uint64_t key = (static_cast<uint64_t>(seed_) << 20) ^ (static_cast<uint64_t>(channel) << 56) ^
                         static_cast<uint64_t>(nowMs / stretchMs);
    return (mixBits(key) & 1u) != 0;
}

uint8_t SimChannels::discreteInputMask(int64_t nowMs) const {
    uint8_t mask = 0;
    for (int k = 1; k <= kDiscreteInputs; ++k)
        if (discreteInput(k, nowMs))
            mask |= static_cast<uint8_t>(1u << (k - 1));
    return mask;
}

float SimChannels::analogOutput(int channel) const {
    return channel >= 1 && channel <= kAnalogOutputs ? analogOut_[channel - 1] : 0.0f;
}

bool SimChannels::discreteOutput(int channel) const {
    return channel >= 1 && channel <= kDiscreteOutputs && discreteOut_[channel - 1];
}

bool SimChannels::setAnalogOutput(int channel, float volts) {
    if (channel < 1 || channel > kAnalogOutputs || !(volts >= 0.0f && volts <= kMaxOutputVolts))
        return false;
    analogOut_[channel - 1] = volts;
    return true;
}

bool SimChannels::setDiscreteOutput(int channel, bool on) {
    if (channel < 1 || channel > kDiscreteOutputs)
        return false;
    discreteOut_[channel - 1] = on;
    return true;
}

bool SimChannels::knownGroup(uint8_t group, uint8_t kind) {
    switch (group) {
    case GroupAnalogIn:
    case GroupAnalogOut:
        return kind == 0x03;
    case GroupDiscreteIn:
    case GroupDiscreteOut:
        return kind == 0x01;
    default:
        return false;
    }
}

void SimChannels::appendRecords(uint8_t group, const uint8_t* channels, size_t count, int64_t nowMs,
                                size_t room, Bytes& out) const {
    const size_t start = out.size();
    auto fits = [&](size_t n) { return out.size() - start + n <= room; };
    for (size_t i = 0; i < count; ++i) {
        const uint8_t ch = channels[i];
        switch (group) {
        case GroupAnalogIn:
            if (ch >= 1 && ch <= kAnalogInputs) {
                if (!fits(7))
                    return;
                out.insert(out.end(), {ch, 0x03, 0x00});
                appendFloat(out, analogInput(ch, nowMs));
            } else {
                if (!fits(3))
                    return;
                out.insert(out.end(), {ch, 0x00, 0x00});
            }
            break;
        case GroupAnalogOut:
            if (ch >= 1 && ch <= kAnalogOutputs) {
                if (!fits(7))
                    return;
                out.insert(out.end(), {ch, 0x03, 0x00});
                appendFloat(out, analogOutput(ch));
            }
            break;
        case GroupDiscreteIn:
        case GroupDiscreteOut: {
            const int limit = group == GroupDiscreteIn ? kDiscreteInputs : kDiscreteOutputs;
            if (ch >= 1 && ch <= limit) {
                if (!fits(4))
                    return;
                const bool on = group == GroupDiscreteIn ? discreteInput(ch, nowMs) : discreteOutput(ch);
                out.insert(out.end(), {ch, 0x01, 0x00, static_cast<uint8_t>(on ? 1 : 0)});
            }
            break;
        }
        default:
            return;
        }
    }
}

} // namespace vextor::sim
