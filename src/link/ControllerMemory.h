#pragma once
// Cells of the controller's parameter memory that are read or written one by one, outside the
// transfer of the whole configuration image.
#include <cstdint>

namespace vextor {

// The protocol selector of the controller's port: 0x55 switches it to Modbus at the next restart.
inline constexpr uint32_t kProtocolSelectorAddress = 4;
inline constexpr uint8_t kSwitchToModbus = 0x55;

// The Modbus port's line byte (MB_Params) and its address (MB_Address), read and written by the
// service functions on their own.
inline constexpr uint32_t kMbParamsAddress = 3;
inline constexpr uint32_t kMbAddressAddress = 5;
// SoundOn: 1 the controller's buzzer sounds, 0 it is silent.
inline constexpr uint32_t kSoundAddress = 443;

// CfgVersion: the version of the configuration layout times 100. A controller holding any other
// value than the one this program reads and writes must have its configuration written first;
// 0xFFFF means it holds no configuration at all.
inline constexpr uint32_t kCfgVersionAddress = 1192;
inline constexpr uint16_t kConfigLayoutVersion = 200;
inline constexpr uint16_t kNoCfgVersion = 0xFFFF;

} // namespace vextor
