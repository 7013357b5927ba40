#pragma once
// The device link's own texts, and the program's title, which every layer above shows.
#include <array>

namespace vextor::link_texts {

// The Modbus line's frame in words, by the frame index of the line byte (mbFrameIndex).
inline constexpr std::array<const char*, 4> kModbusFrames = {"10 бит/1 стоп", "11 бит/2 стоп",
                                                             "11 бит/нечет/1 стоп", "11 бит/чет/1 стоп"};

// The main window's title and the caption of the program's questions and messages.
inline constexpr const char* kProgramTitle = "Конфигуратор Vextor";

inline constexpr const char* kTransitNoAck1 = "нет raOk 1";
inline constexpr const char* kTransitNoAck2 = "нет raOk 2";
inline constexpr const char* kTransitNoData = "данные не получены";
inline constexpr const char* kTransitNoAck3 = "нет raOk 3";

inline constexpr const char* kFormatError = "Ошибка формата данных!";
inline constexpr const char* kRangeBefore = "Значение ";
inline constexpr const char* kRangeAfter = " вне допустимого диапазона!";

// The whole-number input box.
inline constexpr const char* kOutOfRange = "     Значение вне диапазона     ";
inline constexpr const char* kInputError = "     Ошибка ввода     ";

// The traffic window's table: its columns, the two directions and what became of a reply.
inline constexpr std::array<const char*, 5> kFrameColumns = {"Время, мс", "Направление", "Байты", "Команда",
                                                             "Результат"};
inline constexpr const char* kFrameSent = "передача";
inline constexpr const char* kFrameReceived = "приём";
inline constexpr const char* kVerdictGood = "норма";
inline constexpr const char* kVerdictBadCrc = "ошибка CRC";
inline constexpr const char* kVerdictWrongAddress = "чужой адрес";
inline constexpr const char* kVerdictShort = "короткий";
inline constexpr const char* kVerdictBadLength = "неверная длина";
inline constexpr const char* kVerdictNoReply = "нет ответа";
inline constexpr const char* kVerdictScrambled = ", зашифрован";

} // namespace vextor::link_texts
