#pragma once
// The event log's own texts: the reader's progress and results, the event file dialogs, and the
// decoder's table and event descriptions. "220B" and "Uпит." carry Latin B and U, as the
// controller's own display does.

namespace vextor::events::texts {

// Reading and event files
inline constexpr const char* kBlackBox = "Черный ящик";
inline constexpr const char* kFileFilter = "Файлы событий (*.blb)|*.blb|Все файлы|*.*";
inline constexpr const char* kFileExtension = "blb";
// The check box of the read's file dialog, in the desktop program's task and device window alike.
inline constexpr const char* kFastReadOption = "Быстрое чтение (по 27 записей за запрос)";
inline constexpr const char* kDeviceReadTitle = "Чтение \"Журнала событий\"";
inline constexpr const char* kTaskReadTitle = "Чтение событий из прибора";
inline constexpr const char* kRepeatCount = "Количество перезапросов  ";
inline constexpr const char* kFiveFailedAttempts = "5 безуспешных попыток прочитать...";
inline constexpr const char* kTaskReadFailed = "Ошибка чтения файла событий!";
inline constexpr const char* kTaskReadDone = "Файл событий прочитан и сохранен!";
inline constexpr const char* kLogOpening = "открытие файла - ";
inline constexpr const char* kStopVisualization = "Для выполнения данной операции необходимо остановить\r"
                                                  "процесс визуализации. Остановить сейчас?";
inline constexpr const char* kMissingFileBefore = "Файла \"";
inline constexpr const char* kMissingFileAfter = "\" не существует!";
inline constexpr const char* kFileTooLarge =
    "Файл \"%1\" длиной %2 байт не является файлом событий (не более %3 байт).";

// Viewer
inline constexpr const char* kViewerCaption = " Vextor   Черный ящик";
inline constexpr const char* kRecordCount = "Количество записей - ";
inline constexpr const char* kHeaderNumber = "N п/п";
inline constexpr const char* kHeaderSource = "Источник";
inline constexpr const char* kHeaderDate = "Дата";
inline constexpr const char* kHeaderTime = "Время";
inline constexpr const char* kHeaderEvent = "Событие";
inline constexpr const char* kSourceOwn = "Собственное";
inline constexpr const char* kSourceSlave = "Ведомого адр=";
inline constexpr const char* kBadTime = "Ошибка метки времени";
inline constexpr const char* kBadDate = "Ошибка метки даты";
inline constexpr const char* kBadSource = "Ошибка адреса";

// Event descriptions; n is the record's option byte in decimal.
inline constexpr const char* kMains = "РИП - 220B";
inline constexpr const char* kBattery = "РИП - аккум-р";
inline constexpr const char* kAddressChanged = "Изменение адреса";
inline constexpr const char* kBadAddress = "Bad address "; // + n
inline constexpr const char* kNewKey = "Новый ключ";
inline constexpr const char* kConfigFromAddress = "Запись КФГ с адреса "; // + n
inline constexpr const char* kConfigFromPanel = "Запись КФГ с платы дисплея";
inline constexpr const char* kLoopBreak = "Обрыв ШС"; // + n
inline constexpr const char* kDa = "DA";              // + n + kDaError / kDaOk
inline constexpr const char* kDaError = " - ошибка";
inline constexpr const char* kDaOk = " - Ok!";
inline constexpr const char* kNewConfiguration = "Новая конфигурация - "; // + n
inline constexpr const char* kHeaterWarmUp = "Нагрев калорифера";
inline constexpr const char* kCoolingThreat = "Угроза охлаждения";
inline constexpr const char* kFreezingThreat = "Угроза замерзания";
inline constexpr const char* kReturnWaterOverheat = "Перегрев ОВ";
inline constexpr const char* kFilterDirty = "Фильтр грязный!";
inline constexpr const char* kFanFailure = "Отказ вентилятора!";
inline constexpr const char* kSummerDay = "Лето - День";
inline constexpr const char* kSummerNight = "Лето - Ночь";
inline constexpr const char* kWinterDay = "Зима - День";
inline constexpr const char* kWinterNight = "Зима - Ночь (ДР)";
inline constexpr const char* kLoop = "ШС"; // + n + kLoopDisarmed
inline constexpr const char* kLoopDisarmed = " снят";
inline constexpr const char* kDac = "ЦАП";                            // + n + kDaError / kDaOk
inline constexpr const char* kOutputConnected = "Подключение выхода"; // + n
inline constexpr const char* kErrorCrc = "Error CRC";
inline constexpr const char* kCode135Unknown = "135 - ??";
inline constexpr const char* kTamperAlarm = "Тревога взлома, адрес = "; // + n
inline constexpr const char* kSupplyLow = "Uпит. ниже нормы";
inline constexpr const char* kSupplyOk = "Uпит. Ok!";
inline constexpr const char* kStartByPower = "Start by PWR";
inline constexpr const char* kStartByWatchdog = "Start by WDT";
inline constexpr const char* kStartByCommand = "Start by command";
inline constexpr const char* kStartByOther = "Start by over...";
inline constexpr const char* kBadSlaveReply = "Некорректный ответ в ДПЛС устройства ";  // + n
inline constexpr const char* kLinkLost = "Потеряна связь с прибором адрес = ";          // + n
inline constexpr const char* kLinkRestored = "Восстановлена связь с прибором адрес = "; // + n
inline constexpr const char* kUnknownCode = "Код="; // + code + kUnknownOption + n
inline constexpr const char* kUnknownOption = " Опция ";

} // namespace vextor::events::texts
