#pragma once
// The link settings windows' own texts, byte for byte as the user sees them.
#include "link/SerialPort.h"
#include "link/texts.h"
#include "link/ui/texts.h"

#include <QString>

namespace vextor::link_settings_texts {

// The caption of the questions and messages: the program's title.
inline const QString kCaption = QString::fromUtf8(link_texts::kProgramTitle);
using line_control_texts::kParity;
using line_control_texts::kSpeed;

inline const QString kLinkWindow = QStringLiteral("Связь");
inline const QString kLinkWithHead = QStringLiteral("Cвязь с "); // the first letter is a Latin C
inline const QString kSlaveLineName = QStringLiteral("Линией Ведомых");
inline const QString kCom = QStringLiteral("COM");
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
inline const QString kClose = QStringLiteral("Закрыть");
inline const QString kDevicePath = QStringLiteral("Устройство:");
inline const QString kBindDevice = QStringLiteral("Назначить");
inline const QString kDeviceMissing = QStringLiteral("  (такого устройства сейчас нет)");
inline const QString kBindNotSaved = QStringLiteral("  (не сохранено: файл настроек недоступен для записи)");
inline const QString kPortPrompt = QStringLiteral("Введите номер СОМ порта (1...99)"); // Cyrillic С, О, М
inline const QString kAskZarnet = QStringLiteral("Вы хотите изменить адрес Zarnet?");
inline const QString kZarnetPrompt = QStringLiteral("Введите новый адрес Zarnet (1...126)");
inline const QString kAskModbus = QStringLiteral("Вы хотите изменить адрес ModBus?");
inline const QString kModbusPrompt = QStringLiteral("Введите новый адрес ModBus (1...247)");
inline const QString kExtraWindow = QStringLiteral("Связь. Дополнительно.");
inline const QString kLinkErrors = QStringLiteral("Ошибки связи");
// Opens the traffic window: the frames on the line.
inline const QString kTraffic = QStringLiteral("Обмен");
inline const QString kRowInterval = QStringLiteral("R_TOInterval");
inline const QString kRowConstant = QStringLiteral("R_TOConstant");
inline const QString kRowMultiplier = QStringLiteral("R_TOMultiplier");
inline const QString kLowLatency = QStringLiteral("Низкая задержка");

// Each port's low-latency mode, as "Связь. Дополнительно." shows it.
inline QString lowLatencyLine(LowLatency zarnet, LowLatency modbus) {
    const auto state = [](LowLatency l) {
        switch (l) {
        case LowLatency::On:
            return QStringLiteral("включена");
        case LowLatency::Unsupported:
            return QStringLiteral("драйвер не поддерживает");
        case LowLatency::Unknown:
            break;
        }
        return QStringLiteral("порт ещё не открывался");
    };
    return QStringLiteral("Zarnet: %1; ModBus: %2").arg(state(zarnet), state(modbus));
}

} // namespace vextor::link_settings_texts
