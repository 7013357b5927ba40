#pragma once
// The controller memory layout of ConfigImage, written once as a walk over every field with its
// device address. Encoding and decoding visit the same walk, so the layout cannot drift between them.
//
// A visitor provides:
//   u8(addr, uint8_t&)  i8(addr, int8_t&)  u16(addr, uint16_t&)  f32(addr, float&, bool check)
//   year(addr, uint8_t&)          a season Year byte: read, but always written as 0
//   notchStart(addr, int8_t&)     TempDownNotch: a controller byte 0xFF stands for 30
//   sensorTail(addr, Sensor&)     the last four bytes of a sensor record (raw for kind 0)
// Reserved bytes (472-473, the last byte of every PID record) are not visited: they are 0 on the way
// out and dropped on the way in.
#include "ConfigImage.h"

#include <type_traits>

namespace vextor::layout {

inline constexpr uint32_t kSensorBase = 66, kSensorSize = 14;
inline constexpr uint32_t kAnalogInBase = 150, kAnalogOutBase = 178, kDiscreteInBase = 190,
                          kDiscreteOutBase = 254;
inline constexpr uint32_t kSlaveBase = 444;
inline constexpr uint32_t kKoefCountersBase = 478;
inline constexpr uint32_t kSPVPIDBase = 494, kPIDBase = 548, kPIDSize = 18;
inline constexpr uint32_t kConditionBase = 620, kConditionSize = 16;
inline constexpr uint32_t kCalendarBase = 1132;

template <class Image, class Visitor> void visitImage(Image& im, Visitor& v) {
    static_assert(std::is_same_v<std::remove_const_t<Image>, ConfigImage>);
    v.u8(3, im.MB_Params);
    v.u8(4, im.Zarnet_Modbus);
    v.u8(5, im.MB_Address);

    uint32_t a = 6;
    for (auto* f : {&im.Rmin50, &im.Rmax50, &im.Rmin100, &im.Rmax100, &im.Rmin1000, &im.Rmax1000, &im.KfDAC1,
                    &im.KfDAC2, &im.KfRetDAC1, &im.KfRetDAC2, &im.KoefU1, &im.KoefI5, &im.KoefU10,
                    &im.KoefI20, &im.Rmax5000}) {
        v.f32(a, *f, true);
        a += 4;
    }

    for (uint32_t i = 0; i < kSensorCount; ++i) {
        auto& s = im.ArrSensors[i];
        uint32_t b = kSensorBase + kSensorSize * i;
        v.u8(b, s.KindSensor);
        v.u8(b + 1, s.TypeClb);
        v.f32(b + 2, s.Rbegin, true);
        v.f32(b + 6, s.Rline, true);
        v.sensorTail(b + 10, s);
    }

    auto pairs = [&](auto& table, uint32_t base, int count) {
        for (int i = 0; i < count; ++i) {
            v.u8(base + 2 * i, table[i].Adr);
            v.u8(base + 2 * i + 1, table[i].Num);
        }
    };
    pairs(im.AdrNumAIn, kAnalogInBase, kAnalogInCount);
    pairs(im.AdrNumAOut, kAnalogOutBase, kAnalogOutCount);
    pairs(im.AdrNumDIn, kDiscreteInBase, kDiscreteInCount);
    pairs(im.AdrNumDut, kDiscreteOutBase, kDiscreteOutCount);

    auto season = [&](auto& p, uint32_t b) {
        v.u8(b, p.Hour);
        v.u8(b + 1, p.Minute);
        v.u8(b + 2, p.Second);
        v.u8(b + 3, p.Day);
        v.u8(b + 4, p.Month);
        v.year(b + 5, p.Year);
    };
    auto timeOfDay = [&](auto& t, uint32_t b) {
        v.u8(b, t.Hour);
        v.u8(b + 1, t.Minute);
        v.u8(b + 2, t.Second);
    };
    season(im.SummerBegin, 318);
    season(im.WinterBegin, 324);
    timeOfDay(im.DayBegin, 330);
    v.u8(333, im.DelayOnVent1);
    timeOfDay(im.NightBegin, 334);
    v.u8(337, im.DelayOnVent2);
    v.u8(338, im.TimeHeatDoor);
    v.u8(339, im.DelayFlowCtrl);
    v.i8(340, im.TminGlick);
    v.u8(341, im.KindSystems);
    v.u16(342, im.Options);
    v.u8(344, im.QuantityAttemptLink);
    v.u8(345, im.TimeNoAsking);

    a = 346;
    for (auto* f : {&im.PresetTempAir, &im.PresetTempWarming, &im.PresetTempWaterHWP, &im.PresetAnyParam,
                    &im.DeltaTNightDay, &im.DeltaTWeekend, &im.CorrTHeat, &im.SPVCascadeKoef,
                    &im.SHCascadeKoef, &im.Histeresis}) {
        v.f32(a, *f, true);
        a += 4;
    }
    v.u8(386, im.TempOffPumpH);
    v.u8(387, im.TempOffPumpC);
    v.u16(388, im.TimeTempOffPumpH);
    v.u16(390, im.TimeTempOffPumpC);
    v.u8(392, im.MinTempBackWater);
    v.u8(393, im.PresetTempBWNight);
    v.u8(394, im.PresetTimeWarming);
    v.notchStart(395, im.TempDownNotch);
    v.u16(396, im.TimeDownNotch);
    v.u8(398, im.BotBorderForHeating);
    v.u8(399, im.BotBorderForCooling);
    v.i8(400, im.RecupWinterDeltaTmin);
    v.u8(401, im.RecupWinterUmin);
    v.i8(402, im.RecupWinterDeltaTmax);
    v.u8(403, im.RecupWinterUmax);
    v.i8(404, im.RecupSummerDeltaTmin);
    v.u8(405, im.RecupSummerUmin);
    v.i8(406, im.RecupSummerDeltaTmax);
    v.u8(407, im.RecupSummerUmax);
    auto curve = [&](auto& table, uint32_t b) {
        for (uint32_t i = 0; i < 4; ++i) {
            v.i8(b + 2 * i, table[i].Arg);
            v.i8(b + 2 * i + 1, table[i].Value);
        }
    };
    curve(im.TempStTempBW, 408);
    curve(im.TempStTempH, 416);
    curve(im.TempBWDeltaT, 424);

    v.u8(432, im.DC1FullTime);
    v.u8(433, im.DC1MinTime);
    v.u8(434, im.DC1LuftTime);
    v.u8(435, im.DC2FullTime);
    v.u8(436, im.DC2MinTime);
    v.u8(437, im.DC2LuftTime);
    v.u8(438, im.DCFlags);
    v.u8(439, im.DAC1erProcent);
    v.u8(440, im.DAC1erTime);
    v.u8(441, im.DAC2erProcent);
    v.u8(442, im.DAC2erTime);
    v.u8(443, im.SoundOn);
    for (uint32_t i = 0; i < kSlaveCount; ++i) {
        v.u8(kSlaveBase + 3 * i, im.Slaves[i].Address);
        v.u8(kSlaveBase + 3 * i + 1, im.Slaves[i].Type);
        v.u8(kSlaveBase + 3 * i + 2, im.Slaves[i].Options);
    }
    v.u8(468, im.DefaultSpeedInVent);
    v.u8(469, im.DefaultSpeedOutVent);
    v.u8(470, im.MaxQuantityHeat);
    v.u8(471, im.TimeWorkPump);
    v.f32(474, im.KoefOutVent, true);
    for (uint32_t i = 0; i < 4; ++i)
        v.f32(kKoefCountersBase + 4 * i, im.KoefCounters[i], true);

    auto pid = [&](auto& p, uint32_t b) {
        v.f32(b, p.KProp, true);
        v.f32(b + 4, p.KInt, true);
        v.f32(b + 8, p.KDif, true);
        v.f32(b + 12, p.StartIntError, true);
        v.u8(b + 16, p.PeriodDif);
    };
    for (uint32_t i = 0; i < kSPVPIDCount; ++i)
        pid(im.SPVPIDKoef[i], kSPVPIDBase + kPIDSize * i);
    for (uint32_t i = 0; i < kPIDCount; ++i)
        pid(im.PIDKoef[i], kPIDBase + kPIDSize * i);

    for (uint32_t i = 0; i < kConditionCount; ++i) {
        auto& c = im.Conditions[i];
        uint32_t b = kConditionBase + kConditionSize * i;
        uint32_t k = b;
        for (auto* f : {&c.Kind, &c.AdrInput1, &c.NumInput1, &c.AdrInput2, &c.NumInput2, &c.AdrOutput,
                        &c.NumOutput, &c.IfValueOutput, &c.ElseValueOutput, &c.Flags, &c.Priority, &c.Memo})
            v.u8(k++, *f);
        v.f32(b + 12, c.Notch, false);
    }

    for (uint32_t m = 0; m < kCalendarMonths; ++m)
        for (uint32_t k = 0; k < kCalendarBytes; ++k)
            v.u8(kCalendarBase + kCalendarBytes * m + k, im.Calendars[k][m]);

    v.u16(kCfgVersionAddress, im.CfgVersion);
}

} // namespace vextor::layout
