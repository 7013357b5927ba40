#include "ConfigImage.h"

#include "ConfigLayout.h"
#include "link/NumericConversions.h"

#include <algorithm>
#include <bit>

namespace vextor {
namespace layout {

Encoder::Encoder(Medium medium) : medium_(medium) {}

void Encoder::put(const Field& f, uint8_t x) {
    // The controller keeps its own year; the configurator never sends one.
    bytes[f.address] = (f.rule == Rule::Year && medium_ == Medium::Controller) ? 0 : x;
}
void Encoder::put(const Field& f, int8_t x) {
    bytes[f.address] = static_cast<uint8_t>(x);
}
void Encoder::put(const Field& f, uint16_t x) {
    wordToImage(x, &bytes[f.address]);
}
void Encoder::put(const Field& f, float x) {
    if (f.rule != Rule::Unchecked) {
        floatToImage(x, &bytes[f.address]);
        return;
    }
    // An unchecked float (a condition's Notch) may hold two set-point words: its bits go out as
    // they are, a negative zero included.
    const auto bits = std::bit_cast<uint32_t>(x);
    for (int i = 0; i < 4; ++i)
        bytes[f.address + i] = static_cast<uint8_t>(bits >> (8 * i));
}
void Encoder::put(const Field& f, const RawBytes& x) {
    std::copy(x.begin(), x.end(), &bytes[f.address]);
}

Decoder::Decoder(Medium medium, uint32_t first, uint32_t count, const uint8_t* in)
    : medium_(medium), first_(first), count_(count), in_(in) {}

const uint8_t* Decoder::at(uint32_t a, uint32_t width) const {
    if (a < first_ || uint64_t{a} + width > uint64_t{first_} + count_)
        return nullptr;
    return in_ + (a - first_);
}
void Decoder::take(const Field& f, uint8_t& x) const {
    if (auto p = at(f.address, 1))
        x = *p;
}
void Decoder::take(const Field& f, int8_t& x) const {
    auto p = at(f.address, 1);
    if (!p)
        return;
    // An erased cell (0xFF) would otherwise show a start temperature of -1.
    if (f.rule == Rule::NotchStart && medium_ == Medium::Controller && *p == 0xFF)
        x = 30;
    else
        x = static_cast<int8_t>(*p);
}
void Decoder::take(const Field& f, uint16_t& x) const {
    if (auto p = at(f.address, 2))
        x = wordFromImage(p);
}
void Decoder::take(const Field& f, float& x) const {
    // A file keeps its floats exactly as they were saved.
    if (auto p = at(f.address, 4))
        x = floatFromImage(medium_ == Medium::Controller && f.rule != Rule::Unchecked, p);
}
void Decoder::take(const Field& f, RawBytes& x) const {
    if (auto p = at(f.address, 4))
        std::copy(p, p + 4, x.begin());
}

} // namespace layout

void encodeRange(const ConfigImage& image, uint32_t address, uint32_t count, uint8_t* out) {
    layout::Encoder e(layout::Medium::Controller);
    layout::visitImage(image, e);
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t a = uint64_t{address} + i;
        out[i] = (a >= kImageFirstAddress && a < kImageEnd) ? e.bytes[a] : 0;
    }
}

void decodeBlock(ConfigImage& image, uint32_t address, uint32_t count, const uint8_t* in) {
    if (count == 0 || in == nullptr)
        return;
    layout::Decoder d(layout::Medium::Controller, address, count, in);
    layout::visitImage(image, d);
}

void loadDefaultConfiguration(ConfigImage& im) {
    // Every field outside the list below is 0, the pump alternation time and the port's protocol
    // selector among them: a new project must not inherit them from the controller read last.
    im = ConfigImage{};
    im.MB_Params = 1;
    im.MB_Address = 2;
    for (auto& s : im.ArrSensors)
        s.KindSensor = kNoSensor;
    for (auto& p : im.AdrNumAIn)
        p = {255, 0};
    for (auto& p : im.AdrNumAOut)
        p = {255, 0};
    for (auto& p : im.AdrNumDIn)
        p = {255, 0};
    for (auto& p : im.AdrNumDut)
        p = {255, 0};

    im.SummerBegin = {7, 0, 0, 3, 5, 15};
    im.WinterBegin = {7, 0, 0, 1, 9, 15};
    im.DayBegin = {7, 0, 0};
    im.NightBegin = {19, 0, 0};
    im.DelayOnVent1 = im.DelayOnVent2 = im.DelayFlowCtrl = 3;
    im.TimeHeatDoor = 15;
    im.TminGlick = 24;
    im.QuantityAttemptLink = 3;
    im.TimeNoAsking = 30;

    im.PresetTempAir = im.PresetTempWarming = 24.0f;
    im.PresetTempWaterHWP = 40.0f;
    im.DeltaTNightDay = im.DeltaTWeekend = -2.0f;
    im.SPVCascadeKoef = im.SHCascadeKoef = 1.0f;
    im.Histeresis = 2.0f;
    im.TempOffPumpH = 33;
    im.TempOffPumpC = 18;
    im.TimeTempOffPumpH = im.TimeTempOffPumpC = 60;
    im.MinTempBackWater = 5;
    im.PresetTempBWNight = 30;
    im.PresetTimeWarming = 35;
    im.TempDownNotch = 20;
    im.TimeDownNotch = 33;
    im.BotBorderForHeating = im.BotBorderForCooling = 3;
    im.RecupWinterDeltaTmin = im.RecupSummerDeltaTmin = 2;
    im.RecupWinterUmin = im.RecupSummerUmin = 20;
    im.RecupWinterDeltaTmax = im.RecupSummerDeltaTmax = 20;
    im.RecupWinterUmax = im.RecupSummerUmax = 100;
    im.TempStTempBW = {{{-100, 32}, {-25, 30}, {-14, 28}, {8, 26}}};
    im.TempStTempH = {{{-100, 90}, {-30, 70}, {-10, 50}, {10, 30}}};
    im.TempBWDeltaT = {{{30, 10}, {40, 11}, {50, 12}, {60, 13}}};

    im.DC1FullTime = im.DC2FullTime = 30;
    im.DC1MinTime = im.DC1LuftTime = im.DC2MinTime = im.DC2LuftTime = 10;
    im.DAC1erProcent = im.DAC2erProcent = 50;
    im.DAC1erTime = im.DAC2erTime = 30;
    for (auto& s : im.Slaves)
        s = {0, 255, 1};
    im.DefaultSpeedInVent = im.DefaultSpeedOutVent = 50;
    im.MaxQuantityHeat = 3;
    im.KoefOutVent = 1.0f;
    im.KoefCounters = {1.0f, 1.0f, 1.0f, 1.0f};
    for (auto& p : im.SPVPIDKoef)
        p.PeriodDif = 1;
    for (auto& p : im.PIDKoef)
        p.PeriodDif = 1;
    for (auto& c : im.Conditions) {
        c.Kind = 255;
        c.AdrInput1 = 255;
        c.AdrInput2 = 255;
        c.AdrOutput = 255;
    }

    static constexpr uint8_t kDefaultCalendar[kCalendarMonths][kCalendarBytes] = {
        {0x01, 0x83, 0xC1, 0x60, 0x30}, {0x02, 0x30, 0x18, 0x0C, 0x06}, {0x03, 0x18, 0x0C, 0x06, 0x03},
        {0x04, 0x83, 0xC1, 0x60, 0x30}, {0x05, 0x60, 0x30, 0x18, 0x0C}, {0x06, 0x0C, 0x06, 0x83, 0x01},
        {0x07, 0x83, 0xC1, 0x60, 0x30}, {0x08, 0x30, 0x18, 0x0C, 0x06}, {0x09, 0x06, 0x83, 0xC1, 0x20},
        {0x0A, 0xC1, 0x60, 0x30, 0x18}, {0x0B, 0x18, 0x0C, 0x06, 0x03}, {0x0C, 0x06, 0x83, 0xC1, 0x60},
    };
    for (int m = 0; m < kCalendarMonths; ++m)
        for (int k = 0; k < kCalendarBytes; ++k)
            im.Calendars[k][m] = kDefaultCalendar[m][k];
}

} // namespace vextor
