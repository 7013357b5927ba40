#pragma once
// The texts of the task loop and of the connection display, byte for byte as the user sees them.
#include "config/texts.h"
#include "events/texts.h"
#include "link/texts.h"

#include <QString>

namespace vextor::task_texts {

// The caption of the questions and messages: the program's title.
inline const QString kCaption = QString::fromUtf8(link_texts::kProgramTitle);

inline const QString kCannotOpenPortHead = QStringLiteral("Невозможно открыть порт ");
inline const QString kCannotOpenPortTail = QStringLiteral("!");
inline const QString kCom = QStringLiteral("COM");

inline const QString kNotVextor =
    QStringLiteral("Обнаруженный прибор на линии не является Vextor! Установить метку невозможно.");
inline const QString kVersionTooOld =
    QStringLiteral("Версия обнаруженного прибора Vextor ниже 2.01! Установить метку невозможно.");

inline const QString kVersionHead = QStringLiteral("Vextor вер.");
inline const QString kPanelZarnet = QStringLiteral(", панель вер. ");
inline const QString kPanelModbus = QStringLiteral(" ,панель вер. ");
inline const QString kCfgVersion = QStringLiteral(", конфигурация вер. ");

inline const QString kAskUpdate =
    QStringLiteral("Параметры конфигурации в Vextor не соответствуют заданным!\n"
                   "Параметры необходимо обновить.\n"
                   "Обновить сейчас?");
inline const QString kAskUpdateWarning = QStringLiteral("ВНИМАНИЕ!!!\n"
                                                        "Все предыдущие параметры конфигурации будут "
                                                        "безвозвратно потеряны!\n"
                                                        "Удалить?");

inline const QString kSwitchDone = QStringLiteral("     Переход выполнен!     ");
inline const QString kSwitchNotDone = QStringLiteral("     Переход не выполнен!     ");
inline const QString kSwitchError = QStringLiteral("     Ошибка перехода!     ");
inline const QString kResetDone = QStringLiteral("     Сброс выполнен!     ");
inline const QString kResetNotDone = QStringLiteral("     Сброс не выполнен!     ");
inline const QString kConfigRead = QStringLiteral("     Конфигурация прочитана!     ");
inline const QString kConfigReadError = QStringLiteral("     Ошибка чтения конфигурации!     ");
inline const QString kConfigWritten = QStringLiteral("Конфигурация записана!");
inline const QString kConfigWriteError = QStringLiteral("Ошибка записи конфигурации!");
inline const QString kEventsReadError = QString::fromUtf8(events::texts::kTaskReadFailed);
inline const QString kEventsRead = QString::fromUtf8(events::texts::kTaskReadDone);
inline const QString kLogFileSaved = QString::fromUtf8(texts::kLogSaveFile);
// The program was closed in the middle of a configuration write: the controller holds the sections
// written until then and the old values of the rest. The log line names the device.
inline const QString kLogWriteStopped =
    QStringLiteral("запись конфигурации прервана, прибор записан частично - ");
// Before a configuration write, when the Modbus address or line byte about to go to the controller
// differ from what the last configuration read found there. %1 the controller's, %2 the project's
// settings, each as kModbusSettings.
inline const QString kAskModbusMismatch =
    QStringLiteral("Параметры ModBus в проекте не совпадают со считанными из Vextor!\n"
                   "В Vextor: %1\n"
                   "В проекте: %2\n"
                   "Записать в Vextor параметры проекта?\n"
                   "Нет - оставить параметры Vextor и взять их в проект,\n"
                   "Отмена - не записывать конфигурацию.");
// %1 the address, %2 the baud rate, %3 the frame, %4 the float word order.
inline const QString kModbusSettings = QStringLiteral("адрес %1, %2, %3, %4");
// A job that failed with something other than an exception of the standard library.
inline const QString kUnknownFailure = QStringLiteral("неизвестная ошибка");

// Queueing a task that cannot run beside the live monitor. The event read asks it with a bare CR
// between the lines, the configuration window's controls with a line feed.
inline const QString kAskStopVisual = QStringLiteral("Для выполнения данной операции необходимо остановить\n"
                                                     "процесс визуализации. Остановить сейчас?");
inline const QString kAskStopVisualCr = QString::fromUtf8(events::texts::kStopVisualization);

// Connection display.
inline const QString kLinkEstablished = QStringLiteral("Cвязь установлена"); // the first letter is a Latin C
inline const QString kNoLink = QStringLiteral("Связь Отсутствует");
inline const QString kPanelPad = QStringLiteral("   ");

} // namespace vextor::task_texts
