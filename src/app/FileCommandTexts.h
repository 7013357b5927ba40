#pragma once
// Texts of the file commands of the project tree.
#include <QString>

namespace vextor::file_command_texts {

// Captions of the file dialogs: the menu item that opened them.
inline const QString kOpenConfigCaption = QStringLiteral("Открыть файл");
inline const QString kSaveConfigCaption = QStringLiteral("Сохранить файл как...");
inline const QString kOpenEventsCaption = QStringLiteral("Открыть файл");
inline const QString kReadEventsCaption = QStringLiteral("Считать из прибора");
inline const QString kCompareConfigCaption = QStringLiteral("Сравнить с файлом...");

// The comparison of the open configuration with a file.
inline const QString kConfigurationsEqual = QStringLiteral("Конфигурации совпадают.");

// The main window's working-file texts while no file is open.
inline const QString kNoWorkingConfig = QStringLiteral("Нет файла конфигурации");
inline const QString kNoWorkingEvents = QStringLiteral("Нет файла событий");
inline const QString kNoWorkingVisual = QStringLiteral("Нет файла визуализации");

} // namespace vextor::file_command_texts
