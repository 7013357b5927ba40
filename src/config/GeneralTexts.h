#pragma once
// Texts of the tabs "ДУ приводов ", " Общие " (with its group " Ведомые "), "БУ и Ф" and
// "Календарь", byte for byte as the engineer sees them.
#include "TabTexts.h"
#include "link/AddressLimits.h"

#include <QString>
#include <array>

namespace vextor::general_texts {

using tab_texts::kApply;
using tab_texts::kByteMax;
using tab_texts::kByteMin;

// --- "ДУ приводов " ---
inline const QString kDriveTitle1 = QStringLiteral(" КЗР №1 ");
inline const QString kDriveTitle2 = QStringLiteral(" КЗР №2 ");
inline const QString kOpenOwnOutput = QStringLiteral("Открытие - собственный выход");
inline const QString kCloseOwnOutput = QStringLiteral("Закрытие - собственный выход");
inline const QString kFullTime = QStringLiteral("Full Time");
inline const QString kMinTime = QStringLiteral("Min Time");
inline const QString kLuftTime = QStringLiteral("Luft Time");
inline const QString kDiscreteUse = QStringLiteral(" Дискретное управление ");
// DCFlags bits 0..4.
inline const std::array<QString, 5> kDCFlagCaptions = {
    QStringLiteral("Калорифер             дискр привод №1"),
    QStringLiteral("Кондиционер         дискр привод №2"),
    QStringLiteral("Отопление             дискр привод №2"),
    QStringLiteral("ГВС                         дискр привод №2"),
    QStringLiteral("Технол. процесс    дискр привод №1")};

// --- " Общие " ---
inline const QString kSummerBegin = QStringLiteral("Начало  лета");
inline const QString kWinterBegin = QStringLiteral("Начало  зимы");
inline const QString kDayBegin = QStringLiteral("Начало  дня");
inline const QString kNightBegin = QStringLiteral("Начало  ночи");
inline const QString kDateCaption = QStringLiteral("Дата [д.м.]");
inline const QString kTimeCaption = QStringLiteral("Время [ч:м:]");
inline const QString kDelayFlowCtrl = QStringLiteral("Задержка контроля датчиков протока,  сек");
inline const QString kQuantityAttemptLink = QStringLiteral("Количество попыток связи с ведомым");
inline const QString kTimeNoAsking = QStringLiteral("Время отсутствия связи с ведущим, С");
inline const QString kDac1Range = QStringLiteral("ЦАП №1 напряжение от 2 до 10 В");
inline const QString kDac2Range = QStringLiteral("ЦАП №2 напряжение от 2 до 10 В");
inline const QString kDac1Overload = QStringLiteral(" Контроль перегрузки  ЦАПа  №1 ");
inline const QString kDac2Overload = QStringLiteral(" Контроль перегрузки  ЦАПа  №2 ");
inline const QString kOverload1Check = QStringLiteral("1");
inline const QString kOverload2Check = QStringLiteral("2");
inline const QString kMaxPercent = QStringLiteral("MAX  %");
inline const QString kMaxTime = QStringLiteral("MAX время, сек");
inline const QString kCountersTitle = QStringLiteral("  Коэффициенты  для  ");
inline const QString kCountersNote = QStringLiteral("счетчиков  Lintra-Quilon");
inline const std::array<QString, 4> kCounterCaptions = {
    QStringLiteral("Счетчик 1, К ="), QStringLiteral("Счетчик 2, К ="), QStringLiteral("Счетчик 3, К ="),
    QStringLiteral("Счетчик 4, К =")};

// --- group " Ведомые " ---
inline const QString kSlavesTitle = QStringLiteral(" Ведомые ");
// The caption over the slave rows, one part per column: spaces cannot line the parts up with the
// entries in a proportional font, so each part stands over its own column. The last one spans the
// frame and speed lists.
inline const std::array<QString, 3> kSlavesHeader = {
    QStringLiteral("Адрес (1...127)"), QStringLiteral("Тип  прибора"), QStringLiteral("Чётность/Скорость")};
inline const QString kSlavesNote = QStringLiteral("Приборы,  подключенные в качестве  ВЕДОМЫХ");
inline const QString kAddDevice = QStringLiteral("Добавить прибор");
inline const QString kRemoveLast = QStringLiteral("Удалить последний");
// The type list; position 8 is the empty slot.
inline const std::array<QString, 9> kSlaveTypeItems = {
    QStringLiteral("Sorvel (2)"),    QStringLiteral("Pelkor (3)"),    QStringLiteral("Lintra (9)"),
    QStringLiteral("Dunmar (34)"),   QStringLiteral("Vextor (32)"),   QStringLiteral("Vardex  (65)"),
    QStringLiteral("Toshiba  (67)"), QStringLiteral("Danfoss  (69)"), QStringLiteral("Нет")};
inline const std::array<QString, 8> kSlaveButtons = {
    QStringLiteral("Sorvel"), QStringLiteral("Pelkor"), QStringLiteral("Lintra"),  QStringLiteral("Dunmar"),
    QStringLiteral("Vextor"), QStringLiteral("Vardex"), QStringLiteral("Toshiba"), QStringLiteral("Danfoss")};

// --- "БУ и Ф" ---
inline const std::array<QString, 13> kConditionHeaders = {
    QStringLiteral("№"),          QStringLiteral("Вид"),        QString(),
    QStringLiteral("Операнд 1"),  QStringLiteral("Операнд 2"),  QStringLiteral("Выход"),
    QStringLiteral("Знач. IF"),   QStringLiteral("Знач. ELSE"), QStringLiteral("Зависит от"),
    QStringLiteral("Твкл / Оп3"), QStringLiteral("Твыкл"),      QStringLiteral("Задержка"),
    QStringLiteral("Длит-ть")};
// The kind list; the position is the Kind value, 17 is no condition.
inline const std::array<QString, 18> kConditionKinds = {
    QStringLiteral("если О1 Больше"),         QStringLiteral("если О1 Меньше"),
    QStringLiteral("если Разность Больше"),   QStringLiteral("если Разность Меньше"),
    QStringLiteral("если Сумма Больше"),      QStringLiteral("если Сумма Меньше"),
    QStringLiteral("если О1 Равен О2"),       QStringLiteral("если О1 Не Равен О2"),
    QStringLiteral("задержка от Д-вх/вых"),   QStringLiteral("задержка по Включению"),
    QStringLiteral("задержка от условия"),    QStringLiteral("Импульсы короткие"),
    QStringLiteral("Вкл/Выкл по таймеру"),    QStringLiteral("Счётный триггер"),
    QStringLiteral("Импульсы длинные"),       QStringLiteral("если O1больше, 2 уст."),
    QStringLiteral("если О1 меньше, 2 уст."), QStringLiteral("НЕТ условия")};
inline const QString kGridNoKind = QStringLiteral("Нет");
inline const QString kGridDash = QStringLiteral("-");
inline const QString kGridNone = QStringLiteral("нет");
inline const QString kGridSelfOutput = QStringLiteral("self / ");
inline const QString kGridSelfInput = QStringLiteral("Self / ");
inline const QString kGridSlash = QStringLiteral(" / ");
inline const QString kGridPriority = QStringLiteral(" p");
inline const QString kGridDependency = QStringLiteral("У/Ф N");
inline const QString kGridConditionNo = QStringLiteral("№ усл = ");
inline const QString kGridPush = QStringLiteral("Push");
inline const QString kGridPop = QStringLiteral("Pop");
inline const QString kGridHours = QStringLiteral(" час");

inline const QString kRowNumber = QStringLiteral("Номер строки");
inline const QString kKindCaption = QStringLiteral("Вид  условия или функции");
inline const QString kOutputGroup = QStringLiteral(" Выбор выхода  ");
inline const std::array<QString, 3> kOutputTypes = {QStringLiteral("A"), QStringLiteral("D"),
                                                    QStringLiteral("НЕТ")};
inline const QString kAddress = QStringLiteral("Адрес");
inline const QString kOutputNumber = QStringLiteral("N выхода");
inline const QString kIfValue = QStringLiteral("Значение IF");
inline const QString kElseValue = QStringLiteral("Значение ELSE");
inline const QString kAfterDelay = QStringLiteral("После Тзад");
inline const QString kBeforeDelay = QStringLiteral("До Тзад");
inline const QString kPriority = QStringLiteral("Приоритет");
inline const QString kDependency = QStringLiteral("Зависит от условия N");
inline const QString kOperand1 = QStringLiteral("Операнд 1");
inline const QString kOperand2 = QStringLiteral("Операнд 2");
inline const QString kOperand = QStringLiteral("Операнд");
inline const QString kDelay = QStringLiteral("Задержка");
inline const QString kDuration = QStringLiteral("Длительность");
inline const QString kConditionNumber = QStringLiteral("Номер условия");
inline const QString kStateOn = QStringLiteral("Состояние  Вкл");
inline const QString kStateOff = QStringLiteral("Состояние  Выкл");
inline const QString kEdge = QStringLiteral("Фронт    ");
inline const QString kSwitchedOn = QStringLiteral("Включено");
inline const QString kSwitchedOff = QStringLiteral("вЫключено");
inline const QString kInOutNumber = QStringLiteral("N вх/вых");
inline const QString kNumberSign = QStringLiteral("№");
inline const QString kInputNumber = QStringLiteral("N входа");
inline const QString kHours = QStringLiteral("[часы]");
inline const QString kTimeEntry = QStringLiteral("ЧЧ : MМ : CC");
inline const QString kTimePreset = QStringLiteral("00:00:00");
inline const QString kNumberFlag = QStringLiteral("-  число");
inline const QString kNumberGroup = QStringLiteral("Число");
inline const QString kSetPoint1 = QStringLiteral("уст. 1");
inline const QString kSetPoint2 = QStringLiteral("уст. 2");
inline const QString kClearTable = QStringLiteral("Очистить таблицу");
inline const QString kNeedDependency = QStringLiteral("Должна быть зависимость!");

// --- "Календарь" ---
inline const QString kStartDate = QStringLiteral("Начальная Дата Календаря");
inline const QString kPcDate = QStringLiteral("Дата ПК");
inline const std::array<QString, 12> kMonthNames = {
    QStringLiteral("Январь "),  QStringLiteral("Февраль "), QStringLiteral("Март "),
    QStringLiteral("Апрель "),  QStringLiteral("Май "),     QStringLiteral("Июнь "),
    QStringLiteral("Июль "),    QStringLiteral("Август "),  QStringLiteral("Сентябрь "),
    QStringLiteral("Октябрь "), QStringLiteral("Ноябрь "),  QStringLiteral("Декабрь ")};

// Validation limits.
inline const QString kPercentMax = QStringLiteral("100");
inline const QString kCounterMin = QStringLiteral("-10000,0");
inline const QString kCounterMax = QStringLiteral("10000,0");
// A slave's device-protocol address on the controller's own line: the link's range.
inline const QString kSlaveAddressMin = QString::number(kMinZarnetAddress);
inline const QString kSlaveAddressMax = QString::number(kMaxZarnetLinkAddress);
inline const QString kConditionMin = QStringLiteral("1");
inline const QString kConditionMax = QStringLiteral("32");
inline const QString kPriorityMax = QStringLiteral("15");
inline const QString kOutputNumberMax = QStringLiteral("127");
inline const QString kNotchMin = QStringLiteral("-100000,0");
inline const QString kNotchMax = QStringLiteral("100000,0");
inline const QString kTenthsMin = QStringLiteral("0,0");
inline const QString kAnalogMax = QStringLiteral("25,5");
inline const QString kSetPointMax = QStringLiteral("6553,5");

} // namespace vextor::general_texts
