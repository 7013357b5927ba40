#pragma once
// The whole-number input box of the link and service windows.
#include "link/UserDialogs.h"

#include <QString>
#include <optional>

namespace vextor {

// The addresses a controller can take: device protocol 1..126 (127 is the address every controller
// answers), Modbus slave 1..247.
inline constexpr int kMinZarnetAddress = 1;
inline constexpr int kMaxZarnetAddress = 126;
inline constexpr int kMinModbusAddress = 1;
inline constexpr int kMaxModbusAddress = 247;

// Asks for a whole number in min..max with current as the default. A cancel or an empty answer
// changes nothing; a text that is no whole number or lies outside the range is told and refused.
std::optional<int> askWholeNumber(UserDialogs& dialogs, const QString& prompt, int current, int min, int max);

} // namespace vextor
