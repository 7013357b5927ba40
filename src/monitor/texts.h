#pragma once
// The live monitor's own texts, byte for byte as the user sees them.
#include <QString>

namespace vextor::monitor_texts {

// Counters and labels of the monitor window.
inline const QString kErrorLabelHead = QStringLiteral("Ошибок связи ");
inline const QString kErrorLabelStart = QStringLiteral("Ошибок связи 000000");
inline const QString kNoNewEvents = QStringLiteral("Нет новых событий");
inline const QString kWaitCycles = QStringLiteral("Циклов ожидания");
inline const QString kWaitCounterStart = QStringLiteral("000000");
inline const QString kSlaveNoAnswer = QStringLiteral("No");
inline const QString kSlaveValueError = QStringLiteral("error");
inline const QString kInputChangeHead = QStringLiteral("IC a=");
inline const QString kInputChangeSwitches = QStringLiteral(" sw=");

// Chart series titles as created, and the time axis.
inline const QString kTimeSeries = QStringLiteral("Time");
inline const QString kTimeAxis = QStringLiteral("Время");

// The service menus and their panels.
inline const QString kOutputMenu = QStringLiteral("Управление выходом");
inline const QString kRamMenu = QStringLiteral("Запись в ОЗУ");
inline const QString kSoundMenu = QStringLiteral(" Звук On/Off ");
inline const QString kDiscreteItem = QStringLiteral("Дискретным...");
inline const QString kAnalogItem = QStringLiteral("Аналоговым...");
inline const QString kFrequencyItem = QStringLiteral("Частотным....");
inline const QString kReadStateItem = QStringLiteral("Чтение состояния");
inline const QString kModbusItem = QStringLiteral("Modbus R/W");
inline const QString kDiscretePanel = QStringLiteral("Установка состояния дискретного выхода");
inline const QString kAnalogPanel = QStringLiteral("Установка напряжения на ЦАПе");
inline const QString kFrequencyPanel = QStringLiteral("Частотный привод");
inline const QString kModbusPanel = QStringLiteral("Modbus");
inline const QString kAddressField = QStringLiteral("Адрес");
inline const QString kNumberField = QStringLiteral("Номер");
inline const QString kOnOffBox = QStringLiteral("Вкл / Выкл");
inline const QString kVoltsField = QStringLiteral("Напряжение, В");
inline const QString kFrequencyField = QStringLiteral("Вкл / Выкл   или Процент от MAX");
inline const QString kModbusFields =
    QStringLiteral("Адрес        Функция      Регистр       Кол-во/Значение");
inline const QString kExecute = QStringLiteral("Выполнить");
inline const QString kEscape = QStringLiteral("Escape");
inline const QString kHotWaterTemperature = QStringLiteral("Температура для ГВС");
inline const QString kHotWaterKProp = QStringLiteral("коэф. Проп.  для ГВС");
inline const QString kConditionSetPointItem = QStringLiteral("Уставка для условия");
inline const QString kConditionSetPointPanel = QStringLiteral("Изменение уставки в блоке условий");
inline const QString kConditionSetPointFields = QStringLiteral("Номер условия     Значение уставки");
inline const QString kRead = QStringLiteral("Чтение");
inline const QString kWrite = QStringLiteral("Запись");
inline const QString kCancel = QStringLiteral("Отмена");

// Results of the service menus.
inline const QString kOk = QStringLiteral("Ok!");
inline const QString kSoundError = QStringLiteral("Error");
inline const QString kParameterWriteError = QStringLiteral("Ошибка при записи параметра");
inline const QString kParameterReadError = QStringLiteral("Ошибка при чтении параметра");
inline const QString kBadConditionNumber = QStringLiteral("Недопустимый номер условия!");

} // namespace vextor::monitor_texts
