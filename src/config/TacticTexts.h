#pragma once
// Texts of the tactic tabs (" СПВ ", " СОт ", " СГВС ", " Технол. Процесс", " Рекуперация "), byte for
// byte as the engineer sees them, and the limits their entries are checked against.
#include "TabTexts.h"

#include <QString>
#include <array>

namespace vextor::tactic_texts {

// --- Entry limits ---
using tab_texts::kByteMax;
using tab_texts::kByteMin;
inline const QString kWordMax = QStringLiteral("65535");
inline const QString kSignedMin = QStringLiteral("-128");
inline const QString kSignedMax = QStringLiteral("127");
inline const QString kCoefMin = QStringLiteral("-10000,0");
inline const QString kCoefMax = QStringLiteral("10000,0");
inline const QString kAirMin = QStringLiteral("-100,0");
inline const QString kAirMax = QStringLiteral("100,0");
inline const QString kZero = QStringLiteral("0,0");
inline const QString kWarmingMax = QStringLiteral("200,0");
inline const QString kHotWaterMax = QStringLiteral("100,0");
inline const QString kVoltageMax = QStringLiteral("25,5");
inline const QString kPeriodMin = QStringLiteral("1");
inline const QString kPeriodMax = QStringLiteral("31");
inline const QString kPercentMax = QStringLiteral("100");

// --- PID entries, on every tactic tab ---
inline const QString kPIDGroup = QStringLiteral("ПИД регулятор ");
inline const QString kKProp = QStringLiteral("Коэф ПРОП");
inline const QString kKInt = QStringLiteral("Коэф ИНТ");
inline const QString kKDif = QStringLiteral("Коэф ДИФ");
inline const QString kStartIntError = QStringLiteral("Нач. интегр. ошибка");
inline const QString kPeriodDif = QStringLiteral("Период  диф. (от 1 до 31)");

// --- " СПВ " ---
inline const QString kSpvOn = QStringLiteral("Управление СПВ");
inline const QString kDelayOnVent1 = QStringLiteral("Задержка включения приточного вентилятора, сек");
inline const QString kDelayOnVent2 = QStringLiteral("Задержка включения вытяжного вентилятора, сек");
inline const QString kTimeHeatDoor = QStringLiteral("Время прогрева воздушной заслонки, сек");
inline const QString kWarmingByOutdoor = QStringLiteral("Изменять Тпрогр. от Тнар.возд.");
inline const QString kSpvWeekendOff = QStringLiteral("СПВ  выключать в выходные дни");
inline const QString kSpvCascade = QStringLiteral("Каскадное управление СПВ ");
inline const QString kCoefficient = QStringLiteral("Коэффициент");
inline const QString kFallingGroup = QStringLiteral(" Падающая уставка после прогрева ");
inline const QString kFallingUse = QStringLiteral("Использовать");
inline const QString kFallingStart = QStringLiteral("Т нач. С");
inline const QString kFallingTime = QStringLiteral("Время падения, сек");
inline const QString kNightGroup = QStringLiteral(" Ночью  Тобр.воды = f(Тнар) ");
inline const QString kNightApply = QStringLiteral("Применять!");
inline const QString kOutdoorColumn = QStringLiteral("Т наруж, C");
inline const QString kNightWaterColumn = QStringLiteral("Тобр.воды, C");
inline const QString kPresetTempAir = QStringLiteral("Температура канальная, C");
inline const QString kWarmingGroup = QStringLiteral(" Прогрев калорифера ");
inline const std::array<QString, 2> kWarmingModes = {QStringLiteral("По Тобр.воды"),
                                                     QStringLiteral("По времени, сек")};
// The warm-up entry's caption: as shown from the image, and as chosen by the engineer.
inline const QString kWarmingTempShown = QStringLiteral("Температура,  °C ");
inline const QString kWarmingTempChosen = QStringLiteral("Температура");
inline const QString kWarmingTime = QStringLiteral("Время, сек");
inline const QString kHisteresis = QStringLiteral("Гистерезис  нагрев/охлаждение, С");
inline const QString kPumpHeaterGroup = QStringLiteral("Отключение насоса калорифера ");
inline const QString kPumpCoolerGroup = QStringLiteral("Отключение насоса кондиционера ");
inline const QString kPumpTemp = QStringLiteral("Температура, С");
inline const QString kPumpTime = QStringLiteral("Время, сек");
inline const QString kMinTempBackWater = QStringLiteral("Минимальная температура обратной воды, C");
inline const QString kPresetTempBWNight = QStringLiteral("Температура обратной воды ночью, C");
inline const QString kBotBorderHeating = QStringLiteral("Нижняя граница при нагреве (%)");
inline const QString kBotBorderCooling = QStringLiteral("Нижняя граница при охлаждении (%)");
inline const QString kNoSpeedSetter = QStringLiteral("Если нет задатчика V вращения");
inline const QString kSpeedIn = QStringLiteral("Приточный, [%]");
inline const QString kSpeedOut = QStringLiteral("Вытяжной, [%]");
inline const QString kMaxQuantityHeat = QStringLiteral("Количество попыток прогрева");
inline const QString kSpeedSetter = QStringLiteral("Если есть задатчик V вращения");
inline const QString kFrequencyDrives = QStringLiteral(" Для частотных приводов ");
inline const std::array<QString, 3> kSpvPIDPages = {
    QStringLiteral("Калорифер/день"), QStringLiteral("Калорифер/ночь"), QStringLiteral("Кондиционер/день")};

// --- " СОт " ---
inline const QString kHeatingOn = QStringLiteral("Управление Отоплением");
inline const QString kOverheatControl = QStringLiteral("СОт  контроль перегрева ОВ включен");
inline const QString kOvercoolControl = QStringLiteral("СОт  контроль переохлаждения ОВ включен");
inline const QString kYes = QStringLiteral("Да");
inline const QString kDeltaTWeekend = QStringLiteral("Сдвиг Т отопл. в выходные, C");
inline const QString kDeltaTNightDay = QStringLiteral("Сдвиг Т отопл. ночью, C");
inline const QString kAlternatePumps = QStringLiteral("Поочерёдное управление насосами");
inline const QString kAlternateYes = QStringLiteral("Да!");
inline const QString kCorrTHeat = QStringLiteral("Коррекция Т отопления, C");
inline const QString kDuplicatesSpv = QStringLiteral(" Дублирует СПВ ");
inline const QString kTimeWorkPump = QStringLiteral("Время работы одного насоса, ч");
inline const QString kHeatingCurve = QStringLiteral(" График отопления ");
inline const QString kHeatingWaterColumn = QStringLiteral("Тотоплен., C");
inline const QString kOverheatCurve = QStringLiteral("Перегрев обратной воды");
inline const QString kReturnWaterColumn = QStringLiteral("Тобр.в., C");
inline const QString kDeltaTColumn = QStringLiteral("DeltaT, C");
inline const QString kCurveHint = QStringLiteral("Щелчок по полю вне ячеек заполняет типовой график");

// --- " СГВС " ---
inline const QString kHotWaterOn = QStringLiteral("Управление ГВС");
inline const QString kPresetTempWaterHWP = QStringLiteral("Температура воды для  ГВС, C");

// --- " Технол. Процесс" ---
inline const QString kProcessOn = QStringLiteral("Технологический процесс");
inline const QString kPresetAnyParam = QStringLiteral("Уставка ТП");

// --- " Рекуперация " ---
inline const QString kRecuperationKind = QStringLiteral(" Рекуперация ");
inline const std::array<QString, 5> kRecuperationKinds = {
    QStringLiteral("На задвижку"), QStringLiteral("Роторный рекуператор"),
    QStringLiteral("Трубчатый (пластинчатый)"), QStringLiteral("Гликолевый"), QStringLiteral("Нет")};
inline const QString kParameters = QStringLiteral(" Параметры ");
inline const QString kWinter = QStringLiteral(" Зима ");
inline const QString kSummer = QStringLiteral(" Лето");
inline const QString kWinterDeltaTmin = QStringLiteral("(Ткан-Тнар)min, C");
inline const QString kWinterDeltaTmax = QStringLiteral("(Ткан-Тнар)max, C");
inline const QString kSummerDeltaTmin = QStringLiteral("(Тнар-Ткан)min, C");
inline const QString kSummerDeltaTmax = QStringLiteral("(Тнар-Ткан)max, C");
inline const QString kUminVolts = QStringLiteral("Umin, В");
inline const QString kUmaxVolts = QStringLiteral("Umax, В");
inline const QString kUmin = QStringLiteral("Umin");
inline const QString kUmax = QStringLiteral("Umax");
inline const QString kRotaryOff = QStringLiteral("Тх для выключения");
inline const QString kRotaryOn = QStringLiteral("Тх для включения");
inline const QString kTubularOpening = QStringLiteral("% открытия при обмерзании");
inline const QString kTubularOnly = QStringLiteral("Только для трубчатого рекуператора");
inline const QString kTminGlick = QStringLiteral("T min для гликолевого рекуператора, С");

} // namespace vextor::tactic_texts
