#pragma once
// The ranges of the addresses and port numbers that the windows, vextorctl and vextor-sim check,
// written once so that the three can never disagree on what a controller accepts.
namespace vextor {

// A device-protocol address on the line, 1..127. 127 has a command of its own in the device window
// and the link settings.
inline constexpr int kMinZarnetAddress = 1;
inline constexpr int kMaxZarnetLinkAddress = 127;
// The address of the "Адрес 127" commands.
inline constexpr int kZarnetAnyAddress = kMaxZarnetLinkAddress;
// A device-protocol address a controller can be given, 1..126: 127 stays the one all answer.
inline constexpr int kMaxZarnetAddress = kMaxZarnetLinkAddress - 1;

// A Modbus slave address, 1..247: 0 is the broadcast and 248..255 are reserved.
inline constexpr int kMinModbusAddress = 1;
inline constexpr int kMaxModbusAddress = 247;

// The port number a project stores and shows as "COM" + n.
inline constexpr int kMinPortNumber = 1;
inline constexpr int kMaxPortNumber = 99;

} // namespace vextor
