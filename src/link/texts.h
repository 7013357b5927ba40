#pragma once
// The device link's own texts.

namespace vextor::texts {

inline constexpr const char* kTransitNoAck1 = "нет raOk 1";
inline constexpr const char* kTransitNoAck2 = "нет raOk 2";
inline constexpr const char* kTransitNoData = "данные не получены";
inline constexpr const char* kTransitNoAck3 = "нет raOk 3";

inline constexpr const char* kFormatError = "Ошибка формата данных!";
inline constexpr const char* kRangeBefore = "Значение ";
inline constexpr const char* kRangeAfter = " вне допустимого диапазона!";

} // namespace vextor::texts
