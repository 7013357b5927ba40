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

// The device window.
inline const QString kWindowCaption = QStringLiteral("Vextor (v2.00 и выше)");
inline const QString kCaptionPortPart = QStringLiteral("     Порт  COM");
inline const QString kMenuPort = QStringLiteral("Порт");
inline const QString kMenuDevice = QStringLiteral("Прибор");
inline const QString kAddress127 = QStringLiteral("Адрес 127");
inline const QString kAddressAsk = QStringLiteral("Адрес ...");
inline const QString kModbusAddressItem = QStringLiteral("Modbus Address");
inline const QString kMenuConfiguration = QStringLiteral("Конфигурация");
inline const QString kParameters = QStringLiteral("Параметры");
inline const QString kChangeZarnetAddress = QStringLiteral("Смена адреса Zarnet");
inline const QString kReplyDelayItem = QStringLiteral("Задержка перед ответом");
inline const QString kClockItem = QStringLiteral("Дата и время");
inline const QString kSwitchToModbus = QStringLiteral("Перейти на Modbus");
inline const QString kChangeModbusAddress = QStringLiteral("Смена адреса Modbus");
inline const QString kMenuData = QStringLiteral("Данные");
inline const QString kGet = QStringLiteral("Get");
inline const QString kSendSelfD = QStringLiteral("Send Self D");
inline const QString kSendSelfA = QStringLiteral("Send Self A");
inline const QString kMenuReset = QStringLiteral(" Сброс ");
inline const QString kMenuEvents = QStringLiteral(" События ");
inline const QString kEventsFromDevice = QStringLiteral("...из прибора");
inline const QString kEventsFromFile = QStringLiteral("... из файла");
inline const QString kMenuModbus = QStringLiteral("Modbus");

inline const QString kPortCaption = QStringLiteral("Порт для связи с Vextor");
inline const QString kPortPrompt = QStringLiteral("1...99");
inline const QString kZarnetCaption = QStringLiteral("Zarnet");
inline const QString kLinkAddressPrompt = QStringLiteral("Адрес");
inline const QString kNewZarnetPrompt = QStringLiteral("Новый адрес 1...126");
inline const QString kNewZarnetDefault = QStringLiteral("1");
inline const QString kModbusCaption = QStringLiteral("Modbus");
inline const QString kNewModbusPrompt = QStringLiteral("Новый адрес 1...247");
inline const QString kModbusOpenCaption = QStringLiteral("Открытие порта для Modbus");
inline const QString kEventsFileCaption = QStringLiteral("Считать из прибора");

// What the window says while no controller is linked.
inline const QString kLinkHint = QStringLiteral(
    "Работа с одним прибором напрямую, вне проекта: выберите порт в меню «Порт», затем адрес прибора в меню "
    "«Прибор» (127 отвечает любой прибор).");
inline const QString kReadingConfiguration = QStringLiteral("Чтение  конфигурации");
inline const QString kIdentityHead = QStringLiteral("Vextor  v");
// The link shows four spaces before the address, an address change two.
inline const QString kIdentityAddress = QStringLiteral("    Адрес - ");
inline const QString kChangedAddress = QStringLiteral("  Адрес - ");
inline const QString kDisplayBoardVersion = QStringLiteral("Версия платы дисплея ");
inline const QString kDelayRead = QStringLiteral("Read");
inline const QString kDelayWrite = QStringLiteral("Write");
inline const QString kDateEdit = QStringLiteral("Дата");
inline const QString kTimeEdit = QStringLiteral("Время");
inline const QString kClockWrite = QStringLiteral("Записать в прибор дату и время");
inline const QString kSent = QStringLiteral(" Ok Send ! ");
inline const QString kAnyError = QStringLiteral("Any error...");

inline const QString kNoLink = QStringLiteral("     Нет связи!     ");
inline const QString kNoAnswer = QStringLiteral("     Нет ответа!     ");
inline const QString kKeyNotSent = QStringLiteral("     Ошибка отсылки ключа     ");
inline const QString kCalibrating = QStringLiteral("Идёт калибровка....");
inline const QString kResetOk = QStringLiteral("Ok reset!");
inline const QString kOk = QStringLiteral("Ok!");
inline const QString kFailed = QStringLiteral("Ошибка ... ");
inline const QString kModbusAddressNotRead = QStringLiteral("Error read MB_Address...");

// The search for the controllers on the line.
inline const QString kScanItem = QStringLiteral("Поиск приборов");
inline const QString kScanAsking = QStringLiteral("Опрос адреса ");
inline const QString kScanStop = QStringLiteral("Остановить");
inline const QString kFoundCaption = QStringLiteral("Найденные приборы");
inline const QString kFoundPrompt = QStringLiteral("Выберите прибор: его адрес станет адресом окна.");
inline const QString kFoundPick = QStringLiteral("Выбрать");
inline const QString kFoundCancel = QStringLiteral("Отмена");
inline const QString kNothingFound = QStringLiteral("Приборы не найдены");
inline const QString kStrayReplies = QStringLiteral("Ответов с чужого адреса: ");
inline const QString kFoundAddress = QStringLiteral("Адрес ");
inline const QString kFoundType = QStringLiteral("прибор типа ");
inline const QString kFoundConfig = QStringLiteral(", конфигурация вер. ");
inline const QString kFoundNoConfig = QStringLiteral(", без конфигурации");
inline const QString kFoundConfigUnread = QStringLiteral(", конфигурация не прочитана");
inline const QString kPickedAddress = QStringLiteral("Адрес прибора: ");

} // namespace vextor::device_texts
