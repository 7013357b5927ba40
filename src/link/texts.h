#pragma once
// The device link's own texts, and the program's title, which every layer above shows.

namespace vextor::link_texts {

// The main window's title and the caption of the program's questions and messages.
inline constexpr const char* kProgramTitle = "Конфигуратор Vextor";

inline constexpr const char* kTransitNoAck1 = "нет raOk 1";
inline constexpr const char* kTransitNoAck2 = "нет raOk 2";
inline constexpr const char* kTransitNoData = "данные не получены";
inline constexpr const char* kTransitNoAck3 = "нет raOk 3";

inline constexpr const char* kFormatError = "Ошибка формата данных!";
inline constexpr const char* kRangeBefore = "Значение ";
inline constexpr const char* kRangeAfter = " вне допустимого диапазона!";

} // namespace vextor::link_texts
