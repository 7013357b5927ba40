#pragma once
// The controller memory layout of ConfigImage, written once: a walk over every field in address
// order with its name, width and type. A field's address follows from the widths before it, and
// the walk checks it against the block bases below as it passes them. Encoding and decoding, the
// configuration file's order, the read and write plans and the dump all take their addresses and
// names from this walk, so none of them can drift from the others.
//
// A visitor provides:
//   field(const Field&, T& value)        T is uint8_t, int8_t, uint16_t, float, or RawBytes (the
//                                        last four bytes of a kind-0 sensor, kept as they are)
//   reserved(address, width)             bytes the model does not keep: 0 on the way out, dropped on
//                                        the way in
//   record(name, index, address, body)   a record (index -1 when it is not an array element); the
//                                        visitor calls body() to visit the record's members
#include "ConfigImage.h"

#include <array>
#include <string_view>
#include <type_traits>

namespace vextor::layout {

// Where the blocks of the image begin, as the controller's memory map fixes them.
inline constexpr uint32_t kPortBase = 3;
inline constexpr uint32_t kFactoryBase = 6;
inline constexpr uint32_t kSensorBase = 66;
inline constexpr uint32_t kAnalogInBase = 150;
inline constexpr uint32_t kAnalogOutBase = 178;
inline constexpr uint32_t kDiscreteInBase = 190;
inline constexpr uint32_t kDiscreteOutBase = 254;
inline constexpr uint32_t kTimesBase = 318; // calendar times, delays, system kinds, options, link supervision
inline constexpr uint32_t kSetPointBase = 346;
inline constexpr uint32_t kDriveBase = 432; // drive control, overloads, sound, slaves, fans, counters
inline constexpr uint32_t kSPVPIDBase = 494;
inline constexpr uint32_t kPIDBase = 548;
inline constexpr uint32_t kConditionBase = 620;
inline constexpr uint32_t kCalendarBase = 1132;

using RawBytes = std::array<uint8_t, 4>;

enum class Rule : uint8_t {
    Plain,
    Unchecked,  // a float taken as it is even from the controller (a condition's Notch)
    Year,       // a season's Year: read from the controller, never sent to it
    NotchStart, // TempDownNotch: a controller byte 0xFF stands for 30
};

struct Field {
    uint32_t address = 0;
    const char* name = "";
    int index = -1; // element of an array field, or -1
    Rule rule = Rule::Plain;
};

// Runs a visitor over the fields in address order, counting the addresses.
template <class V> class Walker {
public:
    constexpr explicit Walker(V& v) : v_(v) {}

    template <class T>
    constexpr void field(const char* name, T& value, Rule rule = Rule::Plain, int index = -1) {
        v_.field(Field{at_, name, index, rule}, value);
        at_ += sizeof(T);
    }
    constexpr void reserved(uint32_t width) {
        v_.reserved(at_, width);
        at_ += width;
    }
    template <class Body> constexpr void record(const char* name, int index, Body&& body) {
        v_.record(name, index, at_, body);
    }
    // A block begins here: the widths walked so far must add up to its base.
    constexpr void block(uint32_t base) { consistent_ = consistent_ && at_ == base; }

    constexpr uint32_t address() const { return at_; }
    constexpr bool consistent() const { return consistent_; }

private:
    V& v_;
    uint32_t at_ = kImageFirstAddress;
    bool consistent_ = true;
};

template <class Image, class Visitor> constexpr bool visitImage(Image& im, Visitor& v) {
    static_assert(std::is_same_v<std::remove_const_t<Image>, ConfigImage>);
    Walker w(v);

    w.block(kPortBase);
    w.field("MB_Params", im.MB_Params);
    w.field("Zarnet_Modbus", im.Zarnet_Modbus);
    w.field("MB_Address", im.MB_Address);

    w.block(kFactoryBase);
    w.field("Rmin50", im.Rmin50);
    w.field("Rmax50", im.Rmax50);
    w.field("Rmin100", im.Rmin100);
    w.field("Rmax100", im.Rmax100);
    w.field("Rmin1000", im.Rmin1000);
    w.field("Rmax1000", im.Rmax1000);
    w.field("KfDAC1", im.KfDAC1);
    w.field("KfDAC2", im.KfDAC2);
    w.field("KfRetDAC1", im.KfRetDAC1);
    w.field("KfRetDAC2", im.KfRetDAC2);
    w.field("KoefU1", im.KoefU1);
    w.field("KoefI5", im.KoefI5);
    w.field("KoefU10", im.KoefU10);
    w.field("KoefI20", im.KoefI20);
    w.field("Rmax5000", im.Rmax5000);

    w.block(kSensorBase);
    for (int i = 0; i < kSensorCount; ++i) {
        auto& s = im.ArrSensors[i];
        w.record("ArrSensors", i, [&] {
            w.field("KindSensor", s.KindSensor);
            w.field("TypeClb", s.TypeClb);
            w.field("Rbegin", s.Rbegin);
            w.field("Rline", s.Rline);
            // The kind has just been taken (or is about to be sent), so it decides the tail.
            if (s.KindSensor == kRawSensorKind)
                w.field("Byte", s.Byte);
            else
                w.field("FValue", s.FValue);
        });
    }

    auto pairs = [&](const char* name, auto& table, int count) {
        for (int i = 0; i < count; ++i)
            w.record(name, i, [&] {
                w.field("Adr", table[i].Adr);
                w.field("Num", table[i].Num);
            });
    };
    w.block(kAnalogInBase);
    pairs("AdrNumAIn", im.AdrNumAIn, kAnalogInCount);
    w.block(kAnalogOutBase);
    pairs("AdrNumAOut", im.AdrNumAOut, kAnalogOutCount);
    w.block(kDiscreteInBase);
    pairs("AdrNumDIn", im.AdrNumDIn, kDiscreteInCount);
    w.block(kDiscreteOutBase);
    pairs("AdrNumDut", im.AdrNumDut, kDiscreteOutCount);

    auto timeOfDay = [&](auto& t) {
        w.field("Hour", t.Hour);
        w.field("Minute", t.Minute);
        w.field("Second", t.Second);
    };
    auto season = [&](const char* name, auto& p) {
        w.record(name, -1, [&] {
            timeOfDay(p);
            w.field("Day", p.Day);
            w.field("Month", p.Month);
            w.field("Year", p.Year, Rule::Year);
        });
    };
    w.block(kTimesBase);
    season("SummerBegin", im.SummerBegin);
    season("WinterBegin", im.WinterBegin);
    w.record("DayBegin", -1, [&] { timeOfDay(im.DayBegin); });
    w.field("DelayOnVent1", im.DelayOnVent1);
    w.record("NightBegin", -1, [&] { timeOfDay(im.NightBegin); });
    w.field("DelayOnVent2", im.DelayOnVent2);
    w.field("TimeHeatDoor", im.TimeHeatDoor);
    w.field("DelayFlowCtrl", im.DelayFlowCtrl);
    w.field("TminGlick", im.TminGlick);
    w.field("KindSystems", im.KindSystems);
    w.field("Options", im.Options);
    w.field("QuantityAttemptLink", im.QuantityAttemptLink);
    w.field("TimeNoAsking", im.TimeNoAsking);

    w.block(kSetPointBase);
    w.field("PresetTempAir", im.PresetTempAir);
    w.field("PresetTempWarming", im.PresetTempWarming);
    w.field("PresetTempWaterHWP", im.PresetTempWaterHWP);
    w.field("PresetAnyParam", im.PresetAnyParam);
    w.field("DeltaTNightDay", im.DeltaTNightDay);
    w.field("DeltaTWeekend", im.DeltaTWeekend);
    w.field("CorrTHeat", im.CorrTHeat);
    w.field("SPVCascadeKoef", im.SPVCascadeKoef);
    w.field("SHCascadeKoef", im.SHCascadeKoef);
    w.field("Histeresis", im.Histeresis);
    w.field("TempOffPumpH", im.TempOffPumpH);
    w.field("TempOffPumpC", im.TempOffPumpC);
    w.field("TimeTempOffPumpH", im.TimeTempOffPumpH);
    w.field("TimeTempOffPumpC", im.TimeTempOffPumpC);
    w.field("MinTempBackWater", im.MinTempBackWater);
    w.field("PresetTempBWNight", im.PresetTempBWNight);
    w.field("PresetTimeWarming", im.PresetTimeWarming);
    w.field("TempDownNotch", im.TempDownNotch, Rule::NotchStart);
    w.field("TimeDownNotch", im.TimeDownNotch);
    w.field("BotBorderForHeating", im.BotBorderForHeating);
    w.field("BotBorderForCooling", im.BotBorderForCooling);
    w.field("RecupWinterDeltaTmin", im.RecupWinterDeltaTmin);
    w.field("RecupWinterUmin", im.RecupWinterUmin);
    w.field("RecupWinterDeltaTmax", im.RecupWinterDeltaTmax);
    w.field("RecupWinterUmax", im.RecupWinterUmax);
    w.field("RecupSummerDeltaTmin", im.RecupSummerDeltaTmin);
    w.field("RecupSummerUmin", im.RecupSummerUmin);
    w.field("RecupSummerDeltaTmax", im.RecupSummerDeltaTmax);
    w.field("RecupSummerUmax", im.RecupSummerUmax);
    auto curve = [&](const char* name, auto& table) {
        for (int i = 0; i < static_cast<int>(table.size()); ++i)
            w.record(name, i, [&] {
                w.field("Arg", table[i].Arg);
                w.field("Value", table[i].Value);
            });
    };
    curve("TempStTempBW", im.TempStTempBW);
    curve("TempStTempH", im.TempStTempH);
    curve("TempBWDeltaT", im.TempBWDeltaT);

    w.block(kDriveBase);
    w.field("DC1FullTime", im.DC1FullTime);
    w.field("DC1MinTime", im.DC1MinTime);
    w.field("DC1LuftTime", im.DC1LuftTime);
    w.field("DC2FullTime", im.DC2FullTime);
    w.field("DC2MinTime", im.DC2MinTime);
    w.field("DC2LuftTime", im.DC2LuftTime);
    w.field("DCFlags", im.DCFlags);
    w.field("DAC1erProcent", im.DAC1erProcent);
    w.field("DAC1erTime", im.DAC1erTime);
    w.field("DAC2erProcent", im.DAC2erProcent);
    w.field("DAC2erTime", im.DAC2erTime);
    w.field("SoundOn", im.SoundOn);
    for (int i = 0; i < kSlaveCount; ++i)
        w.record("Slaves", i, [&] {
            w.field("Address", im.Slaves[i].Address);
            w.field("Type", im.Slaves[i].Type);
            w.field("Options", im.Slaves[i].Options);
        });
    w.field("DefaultSpeedInVent", im.DefaultSpeedInVent);
    w.field("DefaultSpeedOutVent", im.DefaultSpeedOutVent);
    w.field("MaxQuantityHeat", im.MaxQuantityHeat);
    w.field("TimeWorkPump", im.TimeWorkPump);
    w.reserved(2);
    w.field("KoefOutVent", im.KoefOutVent);
    for (int i = 0; i < static_cast<int>(im.KoefCounters.size()); ++i)
        w.field("KoefCounters", im.KoefCounters[i], Rule::Plain, i);

    auto pids = [&](const char* name, auto& table, int count) {
        for (int i = 0; i < count; ++i)
            w.record(name, i, [&] {
                auto& p = table[i];
                w.field("KProp", p.KProp);
                w.field("KInt", p.KInt);
                w.field("KDif", p.KDif);
                w.field("StartIntError", p.StartIntError);
                w.field("PeriodDif", p.PeriodDif);
                w.reserved(1);
            });
    };
    w.block(kSPVPIDBase);
    pids("SPVPIDKoef", im.SPVPIDKoef, kSPVPIDCount);
    w.block(kPIDBase);
    pids("PIDKoef", im.PIDKoef, kPIDCount);

    w.block(kConditionBase);
    for (int i = 0; i < kConditionCount; ++i) {
        auto& c = im.Conditions[i];
        w.record("Conditions", i, [&] {
            w.field("Kind", c.Kind);
            w.field("AdrInput1", c.AdrInput1);
            w.field("NumInput1", c.NumInput1);
            w.field("AdrInput2", c.AdrInput2);
            w.field("NumInput2", c.NumInput2);
            w.field("AdrOutput", c.AdrOutput);
            w.field("NumOutput", c.NumOutput);
            w.field("IfValueOutput", c.IfValueOutput);
            w.field("ElseValueOutput", c.ElseValueOutput);
            w.field("Flags", c.Flags);
            w.field("Priority", c.Priority);
            w.field("Memo", c.Memo);
            w.field("Notch", c.Notch, Rule::Unchecked);
        });
    }

    // The controller holds the months one after another, five bytes each.
    w.block(kCalendarBase);
    for (int m = 0; m < kCalendarMonths; ++m)
        w.record("Calendars", m, [&] {
            for (int k = 0; k < kCalendarBytes; ++k)
                w.field("Byte", im.Calendars[k][m], Rule::Plain, k);
        });

    w.block(kCfgVersionAddress);
    w.field("CfgVersion", im.CfgVersion);
    w.block(kImageEnd);
    return w.consistent();
}

// ------------------------------------------------------------------------------------------------
// Addresses by name, worked out from the walk at compile time.

struct Span {
    uint32_t address = 0;
    uint32_t count = 0;
    constexpr uint32_t end() const { return address + count; }
    bool operator==(const Span&) const = default;
};

// A field or record: "KindSystems", "KoefCounters[2]", "PIDKoef" (every element), "PIDKoef[1]",
// "ArrSensors[3].Rline", "SummerBegin.Year".
struct Path {
    std::string_view record;
    int recordIndex = -1;
    std::string_view field;
    int fieldIndex = -1;
};

// Element index of a record array, whole ("PIDKoef[1]").
constexpr Path element(std::string_view array, int index) {
    return Path{{}, -1, array, index};
}

namespace detail {

constexpr int takeIndex(std::string_view& name) {
    if (name.empty() || name.back() != ']')
        return -1;
    const auto open = name.find('[');
    int index = 0;
    for (auto k = open + 1; k + 1 < name.size(); ++k)
        index = index * 10 + (name[k] - '0');
    name = name.substr(0, open);
    return index;
}

constexpr Path parsePath(std::string_view text) {
    Path p;
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        p.field = text;
        p.fieldIndex = takeIndex(p.field);
    } else {
        p.record = text.substr(0, dot);
        p.recordIndex = takeIndex(p.record);
        p.field = text.substr(dot + 1);
        p.fieldIndex = takeIndex(p.field);
    }
    return p;
}

// Every field of the walk, and every reserved byte inside a record, with where it lies.
struct Entry {
    std::string_view record; // empty outside a record
    int recordIndex = -1;
    std::string_view name; // empty for reserved bytes
    int index = -1;
    uint32_t address = 0;
    uint32_t width = 0;
};
struct Table {
    std::array<Entry, 1024> entries{};
    size_t size = 0;
    bool consistent = false;
};

struct TableBuilder {
    Table& table;
    std::string_view current;
    int currentIndex = -1;

    constexpr void add(std::string_view name, int index, uint32_t address, uint32_t width) {
        table.entries[table.size++] = Entry{current, currentIndex, name, index, address, width};
    }
    template <class T> constexpr void field(const Field& f, T&) {
        add(f.name, f.index, f.address, sizeof(T));
    }
    constexpr void reserved(uint32_t address, uint32_t width) {
        if (!current.empty())
            add({}, -1, address, width);
    }
    template <class Body> constexpr void record(const char* name, int index, uint32_t, Body& body) {
        current = name;
        currentIndex = index;
        body();
        current = {};
        currentIndex = -1;
    }
};

constexpr Table buildTable() {
    ConfigImage im{};
    Table table;
    TableBuilder builder{table, {}, -1};
    table.consistent = visitImage(im, builder);
    return table;
}
inline constexpr Table kTable = buildTable();

constexpr bool matches(const Path& target, const Entry& e) {
    if (target.record.empty()) {
        // "PIDKoef" or "PIDKoef[1]": the whole record; "KindSystems", "KoefCounters[2]": a field
        if (!e.record.empty())
            return e.record == target.field && (target.fieldIndex < 0 || e.recordIndex == target.fieldIndex);
        return e.name == target.field && (target.fieldIndex < 0 || e.index == target.fieldIndex);
    }
    return e.record == target.record && (target.recordIndex < 0 || e.recordIndex == target.recordIndex) &&
           e.name == target.field && (target.fieldIndex < 0 || e.index == target.fieldIndex);
}

constexpr Span find(const Path& target) {
    uint32_t first = ~0u, end = 0;
    for (size_t k = 0; k < kTable.size; ++k) {
        const Entry& e = kTable.entries[k];
        if (!matches(target, e))
            continue;
        first = e.address < first ? e.address : first;
        end = e.address + e.width > end ? e.address + e.width : end;
    }
    if (end == 0)
        throw "no such field in the configuration layout";
    return Span{first, end - first};
}

} // namespace detail

// The bytes from the first byte of `first` to the last byte of `last` (of `first` alone when last
// is not given). An unknown name stops the build where the constant is defined.
constexpr Span span(const Path& first, const Path& last) {
    const Span a = detail::find(first);
    const Span b = detail::find(last);
    return Span{a.address, b.end() - a.address};
}
constexpr Span span(const Path& only) {
    return span(only, only);
}
constexpr Span span(std::string_view first, std::string_view last = {}) {
    return span(detail::parsePath(first), detail::parsePath(last.empty() ? first : last));
}

// Every block base above is where the widths before it put it, and the walk ends at the image's
// last address.
static_assert(detail::kTable.consistent,
              "a field width or a block base of the configuration layout is wrong");

inline constexpr uint32_t kSensorSize = span("ArrSensors[0]").count;
inline constexpr uint32_t kPIDSize = span("PIDKoef[0]").count;
inline constexpr uint32_t kConditionSize = span("Conditions[0]").count;
static_assert(kSensorSize == 14 && kPIDSize == 18 && kConditionSize == 16);

// ------------------------------------------------------------------------------------------------
// The byte codecs over the walk, for the controller's memory and for the configuration file. The
// two differ only in the field rules: towards the controller a Year goes out as 0, and on the way
// in a float passes the plausibility rule and a TempDownNotch of 0xFF means 30; a file keeps every
// value exactly as it was saved.

enum class Medium { Controller, File };

// Fills a whole-image byte array indexed by device address; reserved bytes stay 0.
class Encoder {
public:
    explicit Encoder(Medium medium);
    std::array<uint8_t, kImageEnd> bytes{};

    template <class T> void field(const Field& f, const T& value) { put(f, value); }
    void reserved(uint32_t, uint32_t) {}
    template <class Body> void record(const char*, int, uint32_t, Body& body) { body(); }

private:
    void put(const Field& f, uint8_t x);
    void put(const Field& f, int8_t x);
    void put(const Field& f, uint16_t x);
    void put(const Field& f, float x);
    void put(const Field& f, const RawBytes& x);
    Medium medium_;
};

// Takes the fields lying wholly inside the device addresses [first, first + count) from in.
class Decoder {
public:
    Decoder(Medium medium, uint32_t first, uint32_t count, const uint8_t* in);

    template <class T> void field(const Field& f, T& value) { take(f, value); }
    void reserved(uint32_t, uint32_t) {}
    template <class Body> void record(const char*, int, uint32_t, Body& body) { body(); }

private:
    const uint8_t* at(uint32_t address, uint32_t width) const;
    void take(const Field& f, uint8_t& x) const;
    void take(const Field& f, int8_t& x) const;
    void take(const Field& f, uint16_t& x) const;
    void take(const Field& f, float& x) const;
    void take(const Field& f, RawBytes& x) const;
    Medium medium_;
    uint32_t first_;
    uint32_t count_;
    const uint8_t* in_;
};

} // namespace vextor::layout
