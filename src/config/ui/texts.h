#pragma once
// The configuration window's frame texts, byte for byte as the user sees them.
#include <QString>

namespace vextor::cfg_texts {

inline const QString kUserPage = QStringLiteral("Конфигурация процесса пользователя");
inline const QString kSystemPage = QStringLiteral("Системная конфигурация");

// The inner tabs of the first page, in their order; "Ведомые" is never shown.
inline const QString kSensors = QStringLiteral("Датчики");
inline const QString kAnalogInOut = QStringLiteral("A In/Out");
inline const QString kDiscreteInOut = QStringLiteral("D In/Out");
inline const QString kSupplyVentilation = QStringLiteral(" СПВ ");
inline const QString kHeating = QStringLiteral(" СОт ");
inline const QString kHotWater = QStringLiteral(" СГВС ");
inline const QString kProcess = QStringLiteral(" Технол. Процесс");
inline const QString kRecuperation = QStringLiteral(" Рекуперация ");
inline const QString kDriveControl = QStringLiteral("ДУ приводов ");
inline const QString kGeneral = QStringLiteral(" Общие ");
inline const QString kConditions = QStringLiteral("БУ и Ф");
inline const QString kSlaves = QStringLiteral("Ведомые");
inline const QString kCalendar = QStringLiteral("Календарь");

// The tabs of the second page: the device-protocol settings with the service functions, and Modbus.
inline const QString kZarnetTab = QStringLiteral("Zarnet");
inline const QString kModbusTab = QStringLiteral("ModBus");

// The window's own menu: hidden; the project window runs the same commands.
inline const QString kMenuReadFromFile = QStringLiteral(" Прочитать из файла ");
inline const QString kMenuWriteToFile = QStringLiteral(" Записать в файл ");
inline const QString kMenuCompareWithFile = QStringLiteral("Сравнить с файлом...");

// The view of the whole image as annotated text, opened from the link details window.
inline const QString kDumpWindow = QStringLiteral("Образ конфигурации");
inline const QString kDumpRead = QStringLiteral("Считать");

// The open configuration against a file: the fields that differ.
inline const QString kDiffWindow = QStringLiteral("Сравнение конфигураций");
inline const QString kDiffSection = QStringLiteral("Вкладка");
inline const QString kDiffField = QStringLiteral("Параметр");
inline const QString kDiffOpenSide = QStringLiteral("Открытая конфигурация");

} // namespace vextor::cfg_texts
