#include "SimTypes.h"

#include <cstring>

namespace vextor::sim {

void appendFloat(Bytes& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

float floatAt(const uint8_t* bytes) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint64_t mixBits(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace vextor::sim
