#pragma once
// The desktop program's own texts outside its windows.
#include "link/texts.h"

#include <QString>

namespace vextor::app_texts {

// The demo project: a master and two slaves on one virtual line.
inline const QString kDemoProjectFile = QStringLiteral("Демо.prj");
inline const QString kDemoMasterName = QStringLiteral("Приточная установка");
inline const QString kDemoSlaveName1 = QStringLiteral("Котельная");
inline const QString kDemoSlaveName2 = QStringLiteral("Тепловой пункт");
inline const QString kDemoMasterConfig = QStringLiteral("Приточная установка.bin");
inline const QString kDemoFailed = QStringLiteral("Демонстрационный режим не запущен: ");

} // namespace vextor::app_texts

// The main window, its dialogs and the about box.
namespace vextor::main_texts {

inline const QString kAppTitle = QString::fromUtf8(link_texts::kProgramTitle);
// The standard buttons of the program's own message and input boxes.
inline const QString kButtonYes = QStringLiteral("Да");
inline const QString kButtonNo = QStringLiteral("Нет");
inline const QString kButtonCancel = QStringLiteral("Отмена");
inline const QString kButtonOk = QStringLiteral("ОК");
inline const QString kCaptionHead = kAppTitle + QStringLiteral(": ");

// Tool bar and working-file bar.
inline const QString kOpenProject = QStringLiteral("Открыть проект");
inline const QString kSaveProject = QStringLiteral("Сохранить проект");
inline const QString kWorkingFile = QStringLiteral("Рабочий файл:");
inline const QString kNoWorkingFile = QStringLiteral("-----");
inline const QString kNoConfigFile = QStringLiteral("Нет файла конфигурации");
inline const QString kNoEventsFile = QStringLiteral("Нет файла событий");
inline const QString kNoVisualFile = QStringLiteral("Нет файла визуализации");

// Mode buttons: caption and hint.
inline const QString kModeConfig = QStringLiteral("Конфигурация");
inline const QString kModeConfigHint = QStringLiteral("Работа с конфигурацией прибора");
inline const QString kModeEvents = QStringLiteral("События");
inline const QString kModeEventsHint = QStringLiteral("Работа с событиями прибора");
inline const QString kModeVisual = QStringLiteral("Визуализация");
inline const QString kModeLink = QStringLiteral("Связь");
inline const QString kModeLinkHint = QStringLiteral("Параметры связи с прибором");
inline const QString kModeDevice = QStringLiteral("ВН");
// The mode menu's way to the device window, whose own button stays hidden in the standard layout.
inline const QString kModeDeviceMenu = QStringLiteral("Прибор напрямую (ВН)");

// Tree panel.
inline const QString kActions = QStringLiteral("Действия: ");

// Menus.
inline const QString kMenuProject = QStringLiteral("Проект");
inline const QString kMenuCreate = QStringLiteral("Создать...");
inline const QString kMenuOpen = QStringLiteral("Открыть");
inline const QString kMenuSave = QStringLiteral("Сохранить");
inline const QString kMenuSaveAs = QStringLiteral("Сохранить как...");
inline const QString kMenuExit = QStringLiteral("Выход");
inline const QString kMenuMode = QStringLiteral("Режим работы");
inline const QString kMenuPort = QStringLiteral("Связь");
inline const QString kMenuTraffic = QStringLiteral("Обмен");
inline const QString kMenuSettings = QStringLiteral("Настройки");
inline const QString kMenuWindows = QStringLiteral("Окна");
inline const QString kMenuCascade = QStringLiteral("Каскад");
inline const QString kMenuTile = QStringLiteral("Плитка");
inline const QString kMenuArrange = QStringLiteral("Упорядочить значки");
inline const QString kMenuAbout = QStringLiteral("О программе");

// Status bar.
inline const QString kCom = QStringLiteral("COM");
inline const QString kZarnetPanel = QStringLiteral("Zarnet - ");
inline const QString kModbusPanel = QStringLiteral("ModBus - ");
inline const QString kPanelSeparator = QStringLiteral(" - ");

// Opening or creating a project while the line writes a configuration into a controller.
inline const QString kWaitForWrite = QStringLiteral("Идёт запись конфигурации в прибор.\n"
                                                    "Открыть или создать проект можно после её окончания.");

// About box.
inline const QString kAboutCaption = QStringLiteral("О программе");
inline const QString kAboutVersion = QStringLiteral("Версия:   3.01");
inline const QString kAboutClose = QStringLiteral("Закрыть");

} // namespace vextor::main_texts
