#pragma once
// The configuration subsystem's own texts, byte for byte as the engineer sees them.

namespace vextor::texts {

// Progress window of the configuration transfer.
inline constexpr const char* kReadTitle = "Чтение данных из прибора";
inline constexpr const char* kWriteTitle = "Запись данных в прибор";

// Step lines; the attempt number follows each text.
inline constexpr const char* kReadStep3 = "Чтение адресов 3-5 (3). Запрос ";
inline constexpr const char* kReadStep66 = "Чтение адресов 66-149 (84). Запрос ";
inline constexpr const char* kReadStep150 = "Чтение адресов 150-177 (28). Запрос ";
inline constexpr const char* kReadStep178 = "Чтение адресов 178-189 (12). Запрос ";
inline constexpr const char* kReadStep190 = "Чтение адресов 190-253 (64). Запрос ";
inline constexpr const char* kReadStep254 = "Чтение адресов 254-317 (64). Запрос ";
inline constexpr const char* kReadStep318 = "Чтение адресов 318-345 (28). Запрос ";
inline constexpr const char* kReadStep346 = "Чтение адресов 346-431 (86). Запрос ";
inline constexpr const char* kReadStep432 = "Чтение адресов 432-493 (62). Запрос ";
inline constexpr const char* kReadStep494 = "Чтение адресов 494-547 (54). Запрос ";
inline constexpr const char* kReadStep548 = "Чтение адресов 548-619 (72). Запрос ";
inline constexpr const char* kReadStep620 = "Чтение адресов 620-1131 (512). Запрос ";
inline constexpr const char* kReadStep1132 = "Чтение адресов 1132-1191 (60). Запрос ";

inline constexpr const char* kWriteSensors = "Запись датчиков. Запрос ";
inline constexpr const char* kWriteAnalogInOut = "Запись аналоговых входов/выходов. Запрос ";
inline constexpr const char* kWriteDiscreteInOut = "Запись дискретных входов/выходов. Запрос ";
inline constexpr const char* kWriteSupplyVentilation = "Запись СПВ. Запрос ";
inline constexpr const char* kWriteHeating = "Запись отопления. Запрос ";
inline constexpr const char* kWriteHotWater = "Запись СГВС. Запрос ";
inline constexpr const char* kWriteProcess = "Запись технологического процесса. Запрос ";
inline constexpr const char* kWriteRecuperation = "Запись рекуперации. Запрос ";
inline constexpr const char* kWriteDriveControl = "Запись управления приводов. Запрос ";
inline constexpr const char* kWriteGeneral = "Запись общих параметров. Запрос ";
inline constexpr const char* kWriteConditions = "Запись блока условий. Запрос ";
inline constexpr const char* kWriteCalendar = "Запись календаря. Запрос ";

// Configuration file.
inline constexpr const char* kLogSaveFile = "сохранение файла - ";
inline constexpr const char* kLogOpenFile = "открытие файла - ";
inline constexpr const char* kFileMissingPrefix = "Файла ";
inline constexpr const char* kFileMissingSuffix = " не существует!";
// "Файл "<path>" ...": a save that could not be committed, with the system's reason.
inline constexpr const char* kFileSaveFailed = "Не удалось сохранить файл \"%1\": %2";
inline constexpr const char* kFileOpenFailed = "Не удалось открыть файл \"%1\": %2";
inline constexpr const char* kFileTooLong =
    "Файл \"%1\" не является файлом конфигурации: его длина %2 байт больше %3. Конфигурация не изменена.";
inline constexpr const char* kFileTooShort =
    "Файл \"%1\" короче файла конфигурации: прочитано %2 байт из %3. Остальные параметры не изменены.";
// A file refused for a comparison: only a whole configuration file is compared.
inline constexpr const char* kFileNotConfiguration =
    "Файл \"%1\" не является файлом конфигурации: его длина %2 байт, а не %3.";
inline constexpr const char* kConfigFileFilter = "Файлы конфигурации (*.bin)|*.bin|Все файлы (*.*)|*.*";
inline constexpr const char* kConfigFileSuffix = "bin";

// Dump.
inline constexpr const char* kDumpSeparator = "<------>";

} // namespace vextor::texts
