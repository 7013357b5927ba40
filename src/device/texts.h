#pragma once
// The link settings windows' own texts, byte for byte as the user sees them.
#include "link/texts.h"

#include <QString>

namespace vextor::device_texts {

// The caption of the questions and messages: the program's title.
inline const QString kCaption = QString::fromUtf8(link_texts::kProgramTitle);
inline const QString kLinkWindow = QStringLiteral("Связь");
inline const QString kLinkWithHead = QStringLiteral("Cвязь с "); // the first letter is a Latin C
inline const QString kSlaveLineName = QStringLiteral("Линией Ведомых");
inline const QString kCom = QStringLiteral("COM");

// Pages and controls.
inline const QString kPortPage = QStringLiteral("СОМ порт"); // Cyrillic С, О, М
inline const QString kProtocolPage = QStringLiteral("Протокол");
inline const QString kConnectedVia = QStringLiteral("Соединение через:");
inline const QString kChangeChoice = QStringLiteral("Изменить выбор");
inline const QString kMore = QStringLiteral("Дополнительно");
inline const QString kProtocolGroup = QStringLiteral("Выбор протокола связи");
inline const QString kZarnet = QStringLiteral("Zarnet");
inline const QString kModbus = QStringLiteral("ModBus");
inline const QString kZarnetAddress = QStringLiteral("Адрес  Zarnet:");
inline const QString kChangeZarnetGroup = QStringLiteral("Изменить адрес Zarnet");
inline const QString kOtherAddress = QStringLiteral("Другой Адрес");
inline const QString kAddress127 = QStringLiteral("Адрес 127");
inline const QString kModbusAddress = QStringLiteral("Адрес ModBus:");
inline const QString kChangeModbusAddress = QStringLiteral("Изменить адрес ModBus");
inline const QString kProtocolSetup = QStringLiteral(" Настройка протокола ");
inline const QString kParity = QStringLiteral("Чётность");
inline const QString kSpeed = QStringLiteral("Скорость");
inline const QString kFloatFormat = QStringLiteral(" формат float");
inline const QString kClose = QStringLiteral("Закрыть");
inline const QString kFloats[2] = {QStringLiteral("mant_ord"), QStringLiteral("ord_mant")};

// The port map of this system.
inline const QString kDevicePath = QStringLiteral("Устройство:");
inline const QString kBindDevice = QStringLiteral("Назначить");

// Questions and input boxes.
inline const QString kDeviceMissing = QStringLiteral("  (такого устройства сейчас нет)");
inline const QString kPortPrompt = QStringLiteral("Введите номер СОМ порта (1...99)"); // Cyrillic С, О, М
inline const QString kAskZarnet = QStringLiteral("Вы хотите изменить адрес Zarnet?");
inline const QString kZarnetPrompt = QStringLiteral("Введите новый адрес Zarnet (1...126)");
inline const QString kAskModbus = QStringLiteral("Вы хотите изменить адрес ModBus?");
inline const QString kModbusPrompt = QStringLiteral("Введите новый адрес ModBus (1...247)");
inline const QString kOutOfRange = QStringLiteral("     Значение вне диапазона     ");
inline const QString kInputError = QStringLiteral("     Ошибка ввода     ");

// The extra window.
inline const QString kExtraWindow = QStringLiteral("Связь. Дополнительно.");
inline const QString kLinkErrors = QStringLiteral("Ошибки связи");
inline const QString kRowInterval = QStringLiteral("R_TOInterval");
inline const QString kRowConstant = QStringLiteral("R_TOConstant");
inline const QString kRowMultiplier = QStringLiteral("R_TOMultiplier");

// The service functions of the configuration window's second page.
inline const QString kClockGroup = QStringLiteral(" Дата и время ");
inline const QString kReadFromDevice = QStringLiteral("Прочитать из прибора");
inline const QString kPcClock = QStringLiteral("Дата и время  ПК");
inline const QString kWriteToDevice = QStringLiteral("Записать в прибор");
inline const QString kModbusGroup = QStringLiteral("Параметры Modbus ");
inline const QString kAddress = QStringLiteral("Адрес");
inline const QString kFloatHint = QStringLiteral("мантиса-порядок или порядок-мантисса");
inline const QString kZarnetGroup = QStringLiteral("Параметры Zarnet");
inline const QString kReplyDelayGroup = QStringLiteral(" Задержка перед ответом ");
inline const QString kRead = QStringLiteral("Прочитать");
inline const QString kChange = QStringLiteral("Изменить");
inline const QString kZarnetAddressGroup = QStringLiteral("Адрес Zarnet");
inline const QString kSound = QStringLiteral("Звук");
inline const QString kSoundItems[2] = {QStringLiteral("Включить"), QStringLiteral("Выключить")};
inline const QString kResetDevice = QStringLiteral("Сброс прибора");
inline const QString kGoModbus = QStringLiteral("Перейти на ModBus");
inline const QString kGoZarnet = QStringLiteral("Перейти на протокол Zarnet");
inline const QString kAskWriteDelay = QStringLiteral("Изменить данные в приборе?");
inline const QString kDelayPrompt = QStringLiteral("Введите параметр \"Задержка перед ответом\" (0...255)");
inline const QString kAskWriteAddress = QStringLiteral("Изменить адрес Zarnet в приборе?");
inline const QString kAddressPrompt = QStringLiteral("Введите адрес Zarnet (1...126)");
inline const QString kReadError = QStringLiteral("     Ошибка чтения!     ");
inline const QString kReadDone = QStringLiteral("     Чтение произведено!     ");
inline const QString kWriteError = QStringLiteral("     Ошибка записи!     ");
inline const QString kWriteDone = QStringLiteral("     Запись произведена!     ");
// The Modbus parameters' write says it without the exclamation mark.
inline const QString kWriteDonePlain = QStringLiteral("     Запись произведена     ");
inline const QString kBadValue = QStringLiteral("     Введено некорректное значение!     ");
inline const QString kSoundOn = QStringLiteral("     Звук включен!     ");
inline const QString kSoundOff = QStringLiteral("     Звук выключен!     ");

} // namespace vextor::device_texts
