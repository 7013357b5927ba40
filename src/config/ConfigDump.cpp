#include "ConfigDump.h"

#include "ConfigLayout.h"
#include "link/NumericConversions.h"
#include "texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>

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
    static QString number(uint8_t v) { return QString::number(v); }
    static QString number(int8_t v) { return QString::number(v); }
    static QString number(uint16_t v) { return QString::number(v); }
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

// The heading over each section, placed before the field or record of that name.
struct Heading {
    std::string_view field;
    const char* text;
};
constexpr Heading kHeadings[] = {
    {"MB_Params", "Всякое"},
    {"ArrSensors", "Аналоговые датчики"},
    {"AdrNumAIn", "Аналоговые входы"},
    {"AdrNumAOut", "Аналоговые выходы"},
    {"AdrNumDIn", "Дискретные входы"},
    {"AdrNumDut", "Дискретные выходы"},
    {"SummerBegin", "Начало лета"},
    {"WinterBegin", "Начало зимы"},
    {"DayBegin", "Начало дня"},
    {"DelayOnVent1", "Задержка включения приточного вентилятора"},
    {"NightBegin", "Начало ночи"},
    {"DelayOnVent2", "Задержка включения вытяжного вентилятора"},
    {"TimeHeatDoor", "Время прогрева жалюзи"},
    {"DelayFlowCtrl", "Задержка контроля реле перепада"},
    {"TminGlick", "Уставка для гликолевого рекуператора"},
    {"KindSystems", "Виды систем (тактики)"},
    {"Options", "Опции: Набор флагов"},
    {"QuantityAttemptLink", "Количество перезапросов ведомого"},
    {"TimeNoAsking", "Макс. время отсутствия запросов ведущего"},
    {"PresetTempAir", "Уставка Т канальная"},
    {"PresetTempWarming", "Уставка Т прогрева калорифера"},
    {"PresetTempWaterHWP", "Уставка Т температура воды ГВС"},
    {"PresetAnyParam", "Уставка технологического процесса"},
    {"DeltaTNightDay", "Уставка Сдвиг Тотопления ночью"},
    {"DeltaTWeekend", "Уставка Сдвиг Тотопления в выходные"},
    {"CorrTHeat", "Уставка Коррекция Т отопления"},
    {"SPVCascadeKoef", "СПВ коэфф. каскадного управления"},
    {"SHCascadeKoef", "СОт коэфф. каскадного управления"},
    {"Histeresis", "Гистерезис в СПВ"},
    {"TempOffPumpH", "Т выкл. насоса калорифера"},
    {"TempOffPumpC", "Т выкл. насоса кондиционера"},
    {"TimeTempOffPumpH", "Время Тнар. возд >"},
    {"TimeTempOffPumpC", "Время Тнар. возд <"},
    {"MinTempBackWater", "Уставка Минимальная Тобр. воды"},
    {"PresetTempBWNight", "Уставка для ПИД - Тобр. воды ночью"},
    {"PresetTimeWarming", "Уставка время прогрева калорифера"},
    {"TempDownNotch", "Начальная температура падающей уставки"},
    {"TimeDownNotch", "Время действия падающей уставки"},
    {"BotBorderForHeating", "СПВ Нижняя граница при нагреве, %"},
    {"BotBorderForCooling", "СПВ Нижняя граница при охлаждении, %"},
    {"RecupWinterDeltaTmin", "Рекуперация зима дельтаТмин"},
    {"RecupWinterUmin", "Рекуперация зима Uмин"},
    {"RecupWinterDeltaTmax", "Рекуперация зима дельтаТмакс"},
    {"RecupWinterUmax", "Рекуперация зима Uмакс"},
    {"RecupSummerDeltaTmin", "Рекуперация лето дельтаТмин"},
    {"RecupSummerUmin", "Рекуперация лето Uмин"},
    {"RecupSummerDeltaTmax", "Рекуперация лето дельтаТмакс"},
    {"RecupSummerUmax", "Рекуперация лето Uмакс"},
    {"TempStTempBW", "СПВ Таблица зависимости Тов(ночь) от Т нар.возд"},
    {"TempStTempH", "СОт Таблица зависимости Тотопления от Т нар.возд"},
    {"TempBWDeltaT", "СОт Таблица зависимости Тпоправки от Т обр. воды"},
    {"DC1FullTime", "Дискр.упр.1 Время перехода от мин. к макс."},
    {"DC1MinTime", "Дискр.упр.1 Минимальное время включения, *0.2 сек"},
    {"DC1LuftTime", "Дискр.упр.1 Время выборки люфта, *0.2 сек"},
    {"DC2FullTime", "Дискр.упр.2 Время перехода от мин. к макс."},
    {"DC2MinTime", "Дискр.упр.2 Минимальное время включения, *0.2 сек"},
    {"DC2LuftTime", "Дискр.упр.2 Время выборки люфта, *0.2 сек"},
    {"DCFlags", "Флаги дискретного управления"},
    {"DAC1erProcent", "ЦАП1. Процент перегрузки"},
    {"DAC1erTime", "ЦАП1. Время перегрузки"},
    {"DAC2erProcent", "ЦАП2. Процент перегрузки"},
    {"DAC2erTime", "ЦАП2. Время перегрузки"},
    {"SoundOn", "Звук включен/выключен"},
    {"Slaves", "Ведомые"},
    {"DefaultSpeedInVent", "Скорость приточного вентилятора"},
    {"DefaultSpeedOutVent", "Скорость вытяжного вентилятора"},
    {"MaxQuantityHeat", "Количество попыток прогрева"},
    {"KoefOutVent", "Коэффициент для вытяжного вентилятора"},
    {"KoefCounters", "Коэффициенты счетчиков импульсов"},
    {"SPVPIDKoef", "СПВ массив коэф. ПИД регулятора"},
    {"PIDKoef", "Массив коэф. ПИД регулятора СОт, СГВС, ТП, Рекупер"},
    {"Conditions", "Массив Блока Условий"},
    {"Calendars", "Массив Календаря"},
};

// Within the first section the factory constants stand apart, in two groups.
constexpr std::string_view kSeparatorBefore[] = {"Rmin50", "KfDAC1"};
// Not shown at all.
constexpr std::string_view kHidden[] = {"TimeWorkPump", "CfgVersion"};
// The factory constants and the sensor characteristics show their shortest digits; every other
// float shows five decimals.
constexpr std::string_view kShortestFloats[] = {"Rmin50",   "Rmax50", "Rmin100", "Rmax100",   "Rmin1000",
                                                "Rmax1000", "KfDAC1", "KfDAC2",  "KfRetDAC1", "KfRetDAC2",
                                                "KoefU1",   "KoefI5", "KoefU10", "KoefI20",   "Rmax5000"};

// How a record is shown.
enum class Shape {
    Lines, // one line per member: "334 - NightBegin.Hour = 19", "66 - ArrSensors[0].KindSensor = 255"
    Row,   // one line for the record, its members joined by ':' ("150 - AdrNumAIn[0] = 255:0")
    Block, // a head line, then one indented "Member:value" line per member
};
struct RecordShape {
    std::string_view record;
    Shape shape;
};
constexpr RecordShape kRecordShapes[] = {
    {"AdrNumAIn", Shape::Row},    {"AdrNumAOut", Shape::Row},   {"AdrNumDIn", Shape::Row},
    {"AdrNumDut", Shape::Row},    {"TempStTempBW", Shape::Row}, {"TempStTempH", Shape::Row},
    {"TempBWDeltaT", Shape::Row}, {"Slaves", Shape::Row},       {"SPVPIDKoef", Shape::Row},
    {"PIDKoef", Shape::Row},      {"Calendars", Shape::Row},    {"Conditions", Shape::Block},
};

template <class List> bool listed(const List& list, std::string_view name) {
    return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

QString indexed(std::string_view name, int index) {
    QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (index >= 0)
        text += QStringLiteral("[%1]").arg(index);
    return text;
}

// The value down to its last bit: the shortest digits that give it back, and for a NaN (which has
// many bit patterns and no digits) the pattern itself.
QString exactText(float v) {
    if (!std::isnan(v))
        return DumpBuilder::shortest(v);
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return QStringLiteral("nan(0x%1)").arg(bits, 8, 16, QLatin1Char('0'));
}
template <class T> QString exactText(T v) {
    return QString::number(v);
}

// Walks the layout and writes the lines, and the fields one by one.
class DumpVisitor {
public:
    DumpBuilder d;
    std::vector<DumpField> fields;

    template <class T> void field(const layout::Field& f, const T& value) {
        if constexpr (std::is_same_v<T, layout::RawBytes>)
            lineOfRecord(f, value); // only a kind-0 sensor's tail
        else
            plainField(f, value);
    }
    template <class T> void plainField(const layout::Field& f, const T& value) {
        const std::string_view name = f.name;
        if (!inRecord_) {
            if (listed(kHidden, name))
                return;
            if (listed(kSeparatorBefore, name))
                d.separator();
            if (f.index <= 0)
                headingFor(name);
            const QString shown = format(name, value);
            d.line(f.address, indexed(name, f.index), shown);
            keep(indexed(name, f.index), shown, exactText(value), f.rule);
            return;
        }
        const QString shown = format(name, value);
        switch (shape_) {
        case Shape::Lines:
            d.line(f.address, prefix_ + indexed(f.name, f.index), shown);
            break;
        case Shape::Row:
            row_ << shown;
            break;
        case Shape::Block:
            d.lines << QString(15, QLatin1Char(' ')) + QLatin1String(f.name) + QLatin1Char(':') + shown;
            break;
        }
        keep(prefix_ + indexed(f.name, f.index), shown, exactText(value), f.rule);
    }
    // A record's reserved byte is never kept, so a row shows it as 0.
    void reserved(uint32_t, uint32_t width) {
        if (inRecord_ && shape_ == Shape::Row)
            for (uint32_t k = 0; k < width; ++k)
                row_ << QStringLiteral("0");
    }
    template <class Body> void record(const char* name, int index, uint32_t address, Body& body) {
        record_ = name;
        shape_ = shapeOf(record_);
        if (index <= 0)
            headingFor(record_);
        const QString label = record_ == "Calendars" ? QStringLiteral("Calendars[i,%1]").arg(index + 1)
                                                     : indexed(record_, index);
        if (shape_ == Shape::Block)
            d.lines << QString::number(address) + QStringLiteral(" - ") + label + QStringLiteral(" = ");
        prefix_ = label + QLatin1Char('.');
        row_.clear();
        inRecord_ = true;
        body();
        inRecord_ = false;
        if (shape_ == Shape::Row)
            d.line(address, label, row_.join(QLatin1Char(':')));
        // Each sensor stands apart.
        if (record_ == "ArrSensors")
            d.separator();
    }

private:
    static Shape shapeOf(std::string_view record) {
        for (const auto& s : kRecordShapes)
            if (s.record == record)
                return s.shape;
        return Shape::Lines;
    }
    void headingFor(std::string_view name) {
        for (const auto& h : kHeadings)
            if (h.field == name) {
                d.heading(h.text);
                section_ = QString::fromUtf8(h.text);
                return;
            }
    }

    void keep(const QString& name, const QString& shown, const QString& exact, layout::Rule rule) {
        fields.push_back(DumpField{section_, name, shown, exact, rule == layout::Rule::Year});
    }

    // A kind-0 sensor's raw tail.
    void lineOfRecord(const layout::Field& f, const layout::RawBytes& value) {
        for (int k = 0; k < static_cast<int>(value.size()); ++k) {
            const QString name = prefix_ + indexed(f.name, k);
            const QString shown = DumpBuilder::number(value[k]);
            // A resistance thermometer: the number of wires and the material. The last two bytes
            // mean nothing to the text, but they are kept, so a change in them is a change.
            if (k < 2)
                d.line(f.address + k, name, shown);
            keep(name, shown, shown, f.rule);
        }
    }

    QString format(std::string_view name, uint8_t v) const {
        // The protocol selector and the calendar's day patterns are bit sets.
        return name == "Zarnet_Modbus" || (inRecord_ && record_ == "Calendars") ? DumpBuilder::hex(v)
                                                                                : DumpBuilder::number(v);
    }
    QString format(std::string_view, int8_t v) const { return DumpBuilder::number(v); }
    QString format(std::string_view, uint16_t v) const { return DumpBuilder::number(v); }
    QString format(std::string_view name, float v) const {
        const bool shortest = inRecord_ ? record_ == "ArrSensors" : listed(kShortestFloats, name);
        return shortest ? DumpBuilder::shortest(v) : DumpBuilder::fixed(v);
    }

    std::string_view record_;
    Shape shape_ = Shape::Lines;
    bool inRecord_ = false;
    QString prefix_;
    QStringList row_;
    QString section_;
};

} // namespace

QStringList configurationDumpLines(const ConfigImage& im) {
    DumpVisitor v;
    layout::visitImage(im, v);
    return v.d.lines;
}

std::vector<DumpField> configurationDumpFields(const ConfigImage& im) {
    DumpVisitor v;
    layout::visitImage(im, v);
    return std::move(v.fields);
}

} // namespace vextor
