#pragma once
#include <cstdint>
#include <vector>

namespace vextor::sim {

using Bytes = std::vector<uint8_t>;

// Little-endian IEEE single, as every float travels in the device protocol.
void appendFloat(Bytes& out, float value);
float floatAt(const uint8_t* bytes);

// A well-mixed 64-bit hash, so that values that vary "at random" over time are still a pure
// function of the seed and the time.
uint64_t mixBits(uint64_t x);

} // namespace vextor::sim
