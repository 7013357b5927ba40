#pragma once
// The project workspace's own texts, byte for byte as the user sees them.
#include "link/texts.h"

#include <QString>

namespace vextor::project_texts {

// The caption of the questions and messages: the program's title.
inline const QString kCaption = QString::fromUtf8(link_texts::kProgramTitle);

// Placeholders of the file fields: a field holding one of these names no file.
inline const QString kNoConfigMaster = QStringLiteral("Нет файла конфигурации мастера");
inline const QString kNoConfigSlave = QStringLiteral("Нет файла конфигурации ведомого");
inline const QString kNoConfigSingle = QStringLiteral("Нет файла конфигурации одиночного");
inline const QString kNoEventsMaster = QStringLiteral("Нет файла событий мастера");
inline const QString kNoEventsSlave = QStringLiteral("Нет файла событий ведомого");
inline const QString kNoEventsSingle = QStringLiteral("Нет файла событий одиночного");
inline const QString kNoVisualMaster = QStringLiteral("Нет файла визуализации мастера");
inline const QString kNoVisualSlave = QStringLiteral("Нет файла визуализации ведомого");
inline const QString kNoVisualSingle = QStringLiteral("Нет файла визуализации одиночного");

inline const QString kDefaultProjectDir = QStringLiteral("Project");
inline const QString kDefaultProjectFile = QStringLiteral("Project1.prj");

// Tree texts.
inline const QString kDefaultMasterName = QStringLiteral("Имя мастера ");
inline const QString kDefaultSlaveName = QStringLiteral("Имя ведомого ");
inline const QString kDefaultSingleName = QStringLiteral("Имя одиночного ");
inline const QString kMasterSuffix = QStringLiteral("(Vextor Мастер)");
inline const QString kSlaveSuffixHead = QStringLiteral("(Vextor ведомый ");
inline const QString kSingleSuffixHead = QStringLiteral("(Vextor одиночный ");
inline const QString kSuffixTail = QStringLiteral(")");
inline const QString kLinkNode = QStringLiteral("Связь");
inline const QString kConfigGroup = QStringLiteral("Конфигурация");
inline const QString kEventsGroup = QStringLiteral("События");
inline const QString kSlaveLine = QStringLiteral("Линия ведомых");

// Adding and deleting.
inline const QString kAskAddMaster = QStringLiteral("Добавить мастера?");
inline const QString kAskAddSlave = QStringLiteral("Добавить ведомого?");
inline const QString kAskAddSingle = QStringLiteral("Добавить одиночный?");
inline const QString kLimitHead = QStringLiteral("В проекте не может быть больше ");
inline const QString kLimitMasterTail = QStringLiteral(" мастера Vextor!");
inline const QString kLimitSlaveTail = QStringLiteral(" ведомых Vextor!");
inline const QString kLimitSingleTail = QStringLiteral(" одиночных Vextor!");
inline const QString kAskDeleteHead = QStringLiteral("Удалить ");
inline const QString kAskDeleteTail = QStringLiteral(" ?");
inline const QString kBadNameChars = QStringLiteral(
    "Имя прибора содержит символы, которые нельзя сохранить в файле проекта (перевод строки или "
    "знаки вне кодировки windows-1251). Имя не изменено.");

// Mark.
inline const QString kAskMarkHead = QStringLiteral("Установить метку на прибор  ");
inline const QString kAskUnmarkHead = QStringLiteral("Снять метку с прибора  ");
inline const QString kAskMarkTail = QStringLiteral(" ?    ");

// Popup menu.
inline const QString kMenuAddMaster = QStringLiteral("Добавить Vextor мастер");
inline const QString kMenuAddSlave = QStringLiteral("Добавить Vextor ведомый");
inline const QString kMenuAddSingle = QStringLiteral("Добавить Vextor одиночный");
inline const QString kMenuRename = QStringLiteral("Редактировать");
inline const QString kMenuDelete = QStringLiteral("Удалить");
inline const QString kMenuReadFromDevice = QStringLiteral("Считать из прибора");
inline const QString kMenuWriteToDevice = QStringLiteral("Записать в прибор");
inline const QString kMenuOpenFile = QStringLiteral("Открыть файл");
inline const QString kMenuSaveFileAs = QStringLiteral("Сохранить файл как...");
inline const QString kMenuCompareFile = QStringLiteral("Сравнить с файлом...");

// Filter list.
inline const QString kFilterAll = QStringLiteral("Показать всё");
inline const QString kFilterDevices = QStringLiteral("Показать Vextor");
inline const QString kFilterProblems = QStringLiteral("Показать проблеммные ");
inline const QString kFilterCheckPaths = QStringLiteral("Проверить пути");
inline const QString kNoProblems = QStringLiteral("Проблеммы не обнаружены!");
inline const QString kNoMissingPaths = QStringLiteral("Несуществующие пути не обнаружены!");

// Modbus line byte in words.
inline const QString kMantissaFirst = QStringLiteral("мантисса/порядок");
inline const QString kExponentFirst = QStringLiteral("порядок/мантисса");

// Project commands.
inline const QString kProjectFilter = QStringLiteral("Файл проекта (*.prj)|*.prj");
inline const QString kProjectSuffix = QStringLiteral("prj");
inline const QString kDialogCreate = QStringLiteral("Создать...");
inline const QString kDialogOpen = QStringLiteral("Открыть");
inline const QString kDialogSaveAs = QStringLiteral("Сохранить как...");
inline const QString kFileMissing = QStringLiteral("Указанного файла не существует.");
inline const QString kAskSaveChanges = QStringLiteral("Сохранить изменения проекта?");
inline const QString kAskOverwrite = QStringLiteral("Указанный файл уже существует. Перезаписать?");
inline const QString kCommandFailed = QStringLiteral("Ошибка выполнения");
inline const QString kMkdirFailed = QStringLiteral("Ошибка в создании директории!");
inline const QString kLogOpen = QStringLiteral("открытие проекта - ");
inline const QString kLogSave = QStringLiteral("сохранение проекта - ");
inline const QString kLogSaveAs = QStringLiteral("проект сохранен как - ");
inline const QString kLogCreate = QStringLiteral("создание проекта - ");

// Reading and writing the project file.
inline const QString kReadErrorHead = QStringLiteral("Ошибка чтения файла проекта ");
inline const QString kReadErrorLine = QStringLiteral(": в строке ");
inline const QString kReadErrorNumber = QStringLiteral(" ожидается число. Проект не изменён.");
inline const QString kReadErrorRange = QStringLiteral(" число вне диапазона 0...255. Проект не изменён.");
inline const QString kReadErrorIo = QStringLiteral(": файл не удалось прочитать. Проект не изменён.");
inline const QString kReadErrorTooLarge =
    QStringLiteral(": файл длиной %1 байт не может быть файлом проекта (не более %2). Проект не изменён.");
inline const QString kShortFileHead = QStringLiteral("Файл проекта ");
inline const QString kShortFileMid = QStringLiteral(" обрывается на строке ");
inline const QString kShortFileTail = QStringLiteral(" из 213. Недостающие значения взяты по умолчанию.");
inline const QString kWriteErrorHead = QStringLiteral("Ошибка записи файла проекта ");
inline const QString kWriteErrorUnencodable =
    QStringLiteral(": текст в строке %1 нельзя сохранить в кодировке windows-1251. Файл не изменён.");
inline const QString kWriteErrorIo = QStringLiteral(": %1. Файл не изменён.");

// Working file check.
inline const QString kAskSearchFiles =
    QStringLiteral("Один или несколько рабочих файлов проекта не найдены!\nПроизвести поиск файлов в "
                   "директории проекта?");
inline const QString kAllFilesFound = QStringLiteral("Все рабочие файлы найдены!");
inline const QString kAskForgetAfterSearch =
    QStringLiteral("Не все файлы удалось найти! Удалить несуществующие пути из файла проекта?");
inline const QString kAskForget = QStringLiteral("Удалить несуществующие пути из файла проекта?");

} // namespace vextor::project_texts

namespace vextor::project_texts {

// Listing of a project for the command-line tool.
// The tree's device tooltips.
inline const QString kTipMaster = QStringLiteral("Мастер");
inline const QString kTipSlave = QStringLiteral("Ведомый %1");
inline const QString kTipSingle = QStringLiteral("Одиночный прибор %1");
inline const QString kTipPort = QStringLiteral("Порт COM%1");
inline const QString kTipZarnet = QStringLiteral("Протокол Zarnet, адрес %1");
inline const QString kTipModbus = QStringLiteral("Протокол ModBus, адрес %1; %2, %3");
inline const QString kShowProject = QStringLiteral("project %1, port COM%2, protocol %3");
inline const QString kShowMaster = QStringLiteral("master");
inline const QString kShowSlave = QStringLiteral("slave %1");
inline const QString kShowSingle = QStringLiteral("single %1");
inline const QString kShowDevice =
    QStringLiteral("%1 \"%2\": %3, Zarnet address %4, Modbus address %5, Modbus %6 baud, %7, %8");
inline const QString kShowZarnet = QStringLiteral("Zarnet");
inline const QString kShowModbus = QStringLiteral("Modbus");
inline const QString kShowConfig = QStringLiteral("  configuration: ");
inline const QString kShowEvents = QStringLiteral("  events: ");
inline const QString kShowVisual = QStringLiteral("  visualisation: ");
inline const QString kShowPresent = QStringLiteral(" (exists)");
inline const QString kShowMissing = QStringLiteral(" (missing)");
inline const QString kShowNoFile = QStringLiteral(" (no file)");
inline const QString kShowNoDevices = QStringLiteral("no devices");

} // namespace vextor::project_texts
