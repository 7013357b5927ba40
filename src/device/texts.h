#pragma once
// The device logic's and the service page's own texts, byte for byte as the user sees them.
#include "link/texts.h"
#include "link/ui/texts.h"

#include <QString>

namespace vextor::device_texts {

using line_control_texts::kParity;
using line_control_texts::kSpeed;

// The caption of the questions and messages: the program's title.
inline const QString kCaption = QString::fromUtf8(link_texts::kProgramTitle);

// Pages and controls.

// The port map of this system.

// Questions and input boxes.

// The extra window.

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
