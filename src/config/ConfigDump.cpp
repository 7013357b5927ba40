#include "ConfigDump.h"

#include "ConfigLayout.h"
#include "link/NumericConversions.h"
#include "texts.h"

#include <charconv>

namespace vextor {
namespace {

class DumpBuilder {
public:
    QStringList lines;

    void separator() { lines << QString::fromUtf8(texts::kDumpSeparator); }
    void heading(const char* text) {
        separator();
        lines << QString::fromUtf8(text);
        separator();
    }
    void line(uint32_t address, const QString& name, const QString& value) {
        lines << QString::number(address) + QStringLiteral(" - ") + name + QStringLiteral(" = ") + value;
    }
    // A heading with one field under it.
    template <class T> void scalar(const char* title, uint32_t address, const char* name, T value) {
        heading(title);
        line(address, QString::fromLatin1(name), number(value));
    }

    static QString number(uint8_t v) { return QString::number(v); }
    static QString number(int8_t v) { return QString::number(v); }
    static QString number(uint16_t v) { return QString::number(v); }
    static QString number(float v) { return fixed(v); }
    static QString hex(uint8_t v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); }
    // Set points, coefficients and thresholds: precision 5, five decimals (24,00000).
    static QString fixed(float v) { return formatFixed(v, 5, 5); }
    // Factory constants and sensor characteristics: the shortest digits that give the single back
    // (0,385 rather than the widened 0,38499999046325684), in the general style: plain unless the
    // exponent is below -4 or reaches the digit count (100000 and 0,0001, not 1e+05 and 1e-04).
    static QString shortest(float v) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general);
        QString text = QString::fromLatin1(buffer, result.ptr - buffer);
        text.replace(QLatin1Char('.'), QLatin1Char(','));
        return text;
    }
};

} // namespace

QStringList configurationDumpLines(const ConfigImage& im) {
    DumpBuilder d;
    using B = DumpBuilder;

    d.heading("Всякое");
    d.lines << QStringLiteral("3 - MB_Params = ") + B::number(im.MB_Params);
    d.lines << QStringLiteral("4 - Zarnet_Modbus = ") + B::hex(im.Zarnet_Modbus);
    d.lines << QStringLiteral("5 - MB_Address = ") + B::number(im.MB_Address);
    d.separator();
    const std::pair<const char*, float> factory[] = {
        {"Rmin50", im.Rmin50},       {"Rmax50", im.Rmax50},     {"Rmin100", im.Rmin100},
        {"Rmax100", im.Rmax100},     {"Rmin1000", im.Rmin1000}, {"Rmax1000", im.Rmax1000},
        {"KfDAC1", im.KfDAC1},       {"KfDAC2", im.KfDAC2},     {"KfRetDAC1", im.KfRetDAC1},
        {"KfRetDAC2", im.KfRetDAC2}, {"KoefU1", im.KoefU1},     {"KoefI5", im.KoefI5},
        {"KoefU10", im.KoefU10},     {"KoefI20", im.KoefI20},   {"Rmax5000", im.Rmax5000},
    };
    for (int i = 0; i < 15; ++i) {
        if (i == 6)
            d.separator();
        d.line(6 + 4 * i, QString::fromLatin1(factory[i].first), B::shortest(factory[i].second));
    }

    d.heading("Аналоговые датчики");
    for (int i = 0; i < kSensorCount; ++i) {
        const auto& s = im.ArrSensors[i];
        const uint32_t b = layout::kSensorBase + layout::kSensorSize * i;
        const QString name = QStringLiteral("ArrSensors[%1].").arg(i);
        d.line(b, name + QStringLiteral("KindSensor"), B::number(s.KindSensor));
        d.line(b + 1, name + QStringLiteral("TypeClb"), B::number(s.TypeClb));
        d.line(b + 2, name + QStringLiteral("Rbegin"), B::shortest(s.Rbegin));
        d.line(b + 6, name + QStringLiteral("Rline"), B::shortest(s.Rline));
        if (s.KindSensor != kRawSensorKind) {
            d.line(b + 10, name + QStringLiteral("FValue"), B::shortest(s.FValue));
        } else {
            d.line(b + 10, name + QStringLiteral("Byte[0]"), B::number(s.Byte[0]));
            d.line(b + 11, name + QStringLiteral("Byte[1]"), B::number(s.Byte[1]));
        }
        d.separator();
    }

    auto pairs = [&](const char* title, const char* name, const auto& table, int count, uint32_t base) {
        d.heading(title);
        for (int i = 0; i < count; ++i)
            d.line(base + 2 * i, QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i),
                   B::number(table[i].Adr) + QLatin1Char(':') + B::number(table[i].Num));
    };
    pairs("Аналоговые входы", "AdrNumAIn", im.AdrNumAIn, kAnalogInCount, layout::kAnalogInBase);
    pairs("Аналоговые выходы", "AdrNumAOut", im.AdrNumAOut, kAnalogOutCount, layout::kAnalogOutBase);
    pairs("Дискретные входы", "AdrNumDIn", im.AdrNumDIn, kDiscreteInCount, layout::kDiscreteInBase);
    pairs("Дискретные выходы", "AdrNumDut", im.AdrNumDut, kDiscreteOutCount, layout::kDiscreteOutBase);

    auto season = [&](const char* title, const char* name, const DateTimePoint& p, uint32_t b) {
        d.heading(title);
        const std::pair<const char*, uint8_t> parts[] = {{"Hour", p.Hour},     {"Minute", p.Minute},
                                                         {"Second", p.Second}, {"Day", p.Day},
                                                         {"Month", p.Month},   {"Year", p.Year}};
        for (int k = 0; k < 6; ++k)
            d.line(b + k, QStringLiteral("%1.%2").arg(QLatin1String(name), QLatin1String(parts[k].first)),
                   B::number(parts[k].second));
    };
    auto timeOfDay = [&](const char* title, const char* name, const TimeOfDay& t, uint32_t b) {
        d.heading(title);
        const std::pair<const char*, uint8_t> parts[] = {
            {"Hour", t.Hour}, {"Minute", t.Minute}, {"Second", t.Second}};
        for (int k = 0; k < 3; ++k)
            d.line(b + k, QStringLiteral("%1.%2").arg(QLatin1String(name), QLatin1String(parts[k].first)),
                   B::number(parts[k].second));
    };
    season("Начало лета", "SummerBegin", im.SummerBegin, 318);
    season("Начало зимы", "WinterBegin", im.WinterBegin, 324);
    timeOfDay("Начало дня", "DayBegin", im.DayBegin, 330);
    d.scalar("Задержка включения приточного вентилятора", 333, "DelayOnVent1", im.DelayOnVent1);
    timeOfDay("Начало ночи", "NightBegin", im.NightBegin, 334);
    d.scalar("Задержка включения вытяжного вентилятора", 337, "DelayOnVent2", im.DelayOnVent2);
    d.scalar("Время прогрева жалюзи", 338, "TimeHeatDoor", im.TimeHeatDoor);
    d.scalar("Задержка контроля реле перепада", 339, "DelayFlowCtrl", im.DelayFlowCtrl);
    d.scalar("Уставка для гликолевого рекуператора", 340, "TminGlick", im.TminGlick);
    d.scalar("Виды систем (тактики)", 341, "KindSystems", im.KindSystems);
    d.scalar("Опции: Набор флагов", 342, "Options", im.Options);
    d.scalar("Количество перезапросов ведомого", 344, "QuantityAttemptLink", im.QuantityAttemptLink);
    d.scalar("Макс. время отсутствия запросов ведущего", 345, "TimeNoAsking", im.TimeNoAsking);
    d.scalar("Уставка Т канальная", 346, "PresetTempAir", im.PresetTempAir);
    d.scalar("Уставка Т прогрева калорифера", 350, "PresetTempWarming", im.PresetTempWarming);
    d.scalar("Уставка Т температура воды ГВС", 354, "PresetTempWaterHWP", im.PresetTempWaterHWP);
    d.scalar("Уставка технологического процесса", 358, "PresetAnyParam", im.PresetAnyParam);
    d.scalar("Уставка Сдвиг Тотопления ночью", 362, "DeltaTNightDay", im.DeltaTNightDay);
    d.scalar("Уставка Сдвиг Тотопления в выходные", 366, "DeltaTWeekend", im.DeltaTWeekend);
    d.scalar("Уставка Коррекция Т отопления", 370, "CorrTHeat", im.CorrTHeat);
    d.scalar("СПВ коэфф. каскадного управления", 374, "SPVCascadeKoef", im.SPVCascadeKoef);
    d.scalar("СОт коэфф. каскадного управления", 378, "SHCascadeKoef", im.SHCascadeKoef);
    d.scalar("Гистерезис в СПВ", 382, "Histeresis", im.Histeresis);
    d.scalar("Т выкл. насоса калорифера", 386, "TempOffPumpH", im.TempOffPumpH);
    d.scalar("Т выкл. насоса кондиционера", 387, "TempOffPumpC", im.TempOffPumpC);
    d.scalar("Время Тнар. возд >", 388, "TimeTempOffPumpH", im.TimeTempOffPumpH);
    d.scalar("Время Тнар. возд <", 390, "TimeTempOffPumpC", im.TimeTempOffPumpC);
    d.scalar("Уставка Минимальная Тобр. воды", 392, "MinTempBackWater", im.MinTempBackWater);
    d.scalar("Уставка для ПИД - Тобр. воды ночью", 393, "PresetTempBWNight", im.PresetTempBWNight);
    d.scalar("Уставка время прогрева калорифера", 394, "PresetTimeWarming", im.PresetTimeWarming);
    d.scalar("Начальная температура падающей уставки", 395, "TempDownNotch", im.TempDownNotch);
    d.scalar("Время действия падающей уставки", 396, "TimeDownNotch", im.TimeDownNotch);
    d.scalar("СПВ Нижняя граница при нагреве, %", 398, "BotBorderForHeating", im.BotBorderForHeating);
    d.scalar("СПВ Нижняя граница при охлаждении, %", 399, "BotBorderForCooling", im.BotBorderForCooling);
    d.scalar("Рекуперация зима дельтаТмин", 400, "RecupWinterDeltaTmin", im.RecupWinterDeltaTmin);
    d.scalar("Рекуперация зима Uмин", 401, "RecupWinterUmin", im.RecupWinterUmin);
    d.scalar("Рекуперация зима дельтаТмакс", 402, "RecupWinterDeltaTmax", im.RecupWinterDeltaTmax);
    d.scalar("Рекуперация зима Uмакс", 403, "RecupWinterUmax", im.RecupWinterUmax);
    d.scalar("Рекуперация лето дельтаТмин", 404, "RecupSummerDeltaTmin", im.RecupSummerDeltaTmin);
    d.scalar("Рекуперация лето Uмин", 405, "RecupSummerUmin", im.RecupSummerUmin);
    d.scalar("Рекуперация лето дельтаТмакс", 406, "RecupSummerDeltaTmax", im.RecupSummerDeltaTmax);
    d.scalar("Рекуперация лето Uмакс", 407, "RecupSummerUmax", im.RecupSummerUmax);

    auto curve = [&](const char* title, const char* name, const std::array<CurvePoint, 4>& t, uint32_t b) {
        d.heading(title);
        for (int i = 0; i < 4; ++i)
            d.line(b + 2 * i, QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i),
                   B::number(t[i].Arg) + QLatin1Char(':') + B::number(t[i].Value));
    };
    curve("СПВ Таблица зависимости Тов(ночь) от Т нар.возд", "TempStTempBW", im.TempStTempBW, 408);
    curve("СОт Таблица зависимости Тотопления от Т нар.возд", "TempStTempH", im.TempStTempH, 416);
    curve("СОт Таблица зависимости Тпоправки от Т обр. воды", "TempBWDeltaT", im.TempBWDeltaT, 424);

    d.scalar("Дискр.упр.1 Время перехода от мин. к макс.", 432, "DC1FullTime", im.DC1FullTime);
    d.scalar("Дискр.упр.1 Минимальное время включения, *0.2 сек", 433, "DC1MinTime", im.DC1MinTime);
    d.scalar("Дискр.упр.1 Время выборки люфта, *0.2 сек", 434, "DC1LuftTime", im.DC1LuftTime);
    d.scalar("Дискр.упр.2 Время перехода от мин. к макс.", 435, "DC2FullTime", im.DC2FullTime);
    d.scalar("Дискр.упр.2 Минимальное время включения, *0.2 сек", 436, "DC2MinTime", im.DC2MinTime);
    d.scalar("Дискр.упр.2 Время выборки люфта, *0.2 сек", 437, "DC2LuftTime", im.DC2LuftTime);
    d.scalar("Флаги дискретного управления", 438, "DCFlags", im.DCFlags);
    d.scalar("ЦАП1. Процент перегрузки", 439, "DAC1erProcent", im.DAC1erProcent);
    d.scalar("ЦАП1. Время перегрузки", 440, "DAC1erTime", im.DAC1erTime);
    d.scalar("ЦАП2. Процент перегрузки", 441, "DAC2erProcent", im.DAC2erProcent);
    d.scalar("ЦАП2. Время перегрузки", 442, "DAC2erTime", im.DAC2erTime);
    d.scalar("Звук включен/выключен", 443, "SoundOn", im.SoundOn);

    d.heading("Ведомые");
    for (int i = 0; i < kSlaveCount; ++i) {
        const auto& s = im.Slaves[i];
        d.line(layout::kSlaveBase + 3 * i, QStringLiteral("Slaves[%1]").arg(i),
               B::number(s.Address) + QLatin1Char(':') + B::number(s.Type) + QLatin1Char(':') +
                   B::number(s.Options));
    }

    d.scalar("Скорость приточного вентилятора", 468, "DefaultSpeedInVent", im.DefaultSpeedInVent);
    d.scalar("Скорость вытяжного вентилятора", 469, "DefaultSpeedOutVent", im.DefaultSpeedOutVent);
    d.scalar("Количество попыток прогрева", 470, "MaxQuantityHeat", im.MaxQuantityHeat);
    d.scalar("Коэффициент для вытяжного вентилятора", 474, "KoefOutVent", im.KoefOutVent);

    d.heading("Коэффициенты счетчиков импульсов");
    for (int i = 0; i < 4; ++i)
        d.line(layout::kKoefCountersBase + 4 * i, QStringLiteral("KoefCounters[%1]").arg(i),
               B::fixed(im.KoefCounters[i]));

    auto pids = [&](const char* title, const char* name, const auto& table, int count, uint32_t base) {
        d.heading(title);
        for (int i = 0; i < count; ++i) {
            const PIDRecord& p = table[i];
            // The record's last byte is reserved and never kept, so it always shows 0.
            d.line(base + layout::kPIDSize * i, QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i),
                   QStringList{B::fixed(p.KProp), B::fixed(p.KInt), B::fixed(p.KDif),
                               B::fixed(p.StartIntError), B::number(p.PeriodDif), QStringLiteral("0")}
                       .join(QLatin1Char(':')));
        }
    };
    pids("СПВ массив коэф. ПИД регулятора", "SPVPIDKoef", im.SPVPIDKoef, kSPVPIDCount, layout::kSPVPIDBase);
    pids("Массив коэф. ПИД регулятора СОт, СГВС, ТП, Рекупер", "PIDKoef", im.PIDKoef, kPIDCount,
         layout::kPIDBase);

    d.heading("Массив Блока Условий");
    const QString indent(15, QLatin1Char(' '));
    for (int i = 0; i < kConditionCount; ++i) {
        const auto& c = im.Conditions[i];
        d.lines << QString::number(layout::kConditionBase + layout::kConditionSize * i) +
                       QStringLiteral(" - Conditions[%1] = ").arg(i);
        const std::pair<const char*, uint8_t> bytes[] = {
            {"Kind", c.Kind},
            {"AdrInput1", c.AdrInput1},
            {"NumInput1", c.NumInput1},
            {"AdrInput2", c.AdrInput2},
            {"NumInput2", c.NumInput2},
            {"AdrOutput", c.AdrOutput},
            {"NumOutput", c.NumOutput},
            {"IfValueOutput", c.IfValueOutput},
            {"ElseValueOutput", c.ElseValueOutput},
            {"Flags", c.Flags},
            {"Priority", c.Priority},
            {"Memo", c.Memo},
        };
        for (const auto& [label, value] : bytes)
            d.lines << indent + QLatin1String(label) + QLatin1Char(':') + B::number(value);
        d.lines << indent + QStringLiteral("Notch:") + B::fixed(c.Notch);
    }

    d.heading("Массив Календаря");
    for (int m = 0; m < kCalendarMonths; ++m) {
        QStringList bytes;
        for (int k = 0; k < kCalendarBytes; ++k)
            bytes << B::hex(im.Calendars[k][m]);
        d.line(layout::kCalendarBase + kCalendarBytes * m, QStringLiteral("Calendars[i,%1]").arg(m + 1),
               bytes.join(QLatin1Char(':')));
    }
    return d.lines;
}

} // namespace vextor
