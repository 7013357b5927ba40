#pragma once
// The simulator's own map of the controller's memory: where the configuration image, the port
// settings and the running copy sit, and what a controller fresh from the factory holds there.
#include <array>
#include <cstdint>

namespace vextor::sim {

inline constexpr uint32_t kModbusParamsAddress = 3;  // MB_Params
inline constexpr uint32_t kModbusAddressAddress = 5; // MB_Address
inline constexpr uint32_t kImageFirst = 3;
inline constexpr uint32_t kImageEnd = 1194; // one past CfgVersion
inline constexpr uint32_t kImageSize = kImageEnd - kImageFirst;
inline constexpr uint32_t kRunningCopyBase = 65536;
inline constexpr uint32_t kMemorySize = kRunningCopyBase + kImageEnd;

// The image (device addresses 3..1193) with the default configuration; CfgVersion is 0 here, the
// controller's settings put theirs over it. The bytes are compiled in from
// tests/fixtures/config/default_image.bin, which a script writes straight from the memory layout,
// so that the simulator never shares a misreading of the layout with the configurator it tests.
extern const std::array<uint8_t, kImageSize> kDefaultImage;

} // namespace vextor::sim
