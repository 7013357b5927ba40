#include "DemoTactics.h"

#include "config/RecuperationTab.h"
#include "config/TacticFields.h"

namespace vextor {

void applyDemoTactics(ConfigImage& im) {
    im.KindSystems = static_cast<uint8_t>(kKindSupplyVentilation | kKindHeating | kKindHotWater |
                                          kKindProcess | kRecuperationBits[kRecupRotary]);
    constexpr uint16_t kTacticOptions = kOptNightCurve | kOptFallingPreset | kOptSpvCascade |
                                        kOptSpvWeekendOff | kOptWarmingByOutdoor | kOptWarmingByWater |
                                        kOptAlternatePumps | kOptOverheatControl | kOptOvercoolControl |
                                        kOptHeatingCascade | kOptWeekendShift | kOptNightShift;
    im.Options = static_cast<uint16_t>(
        (im.Options & ~kTacticOptions) | kOptWarmingByWater | kOptSpvWeekendOff | kOptFallingPreset |
        kOptNightCurve | kOptOverheatControl | kOptWeekendShift | kOptNightShift | kOptAlternatePumps);

    // Supply ventilation: warm-up by the return water, a falling set point after it.
    im.DelayOnVent1 = 5;
    im.DelayOnVent2 = 10;
    im.TimeHeatDoor = 30;
    im.PresetTempAir = 20.0f;
    im.PresetTempWarming = 45.0f;
    im.PresetTimeWarming = 60;
    im.SPVCascadeKoef = 1.2f;
    im.Histeresis = 1.5f;
    im.TempOffPumpH = 12;
    im.TempOffPumpC = 16;
    im.TimeTempOffPumpH = 600;
    im.TimeTempOffPumpC = 900;
    im.MinTempBackWater = 15;
    im.PresetTempBWNight = 25;
    im.TempDownNotch = 28;
    im.TimeDownNotch = 900;
    im.BotBorderForHeating = 10;
    im.BotBorderForCooling = 15;
    im.TempStTempBW = {{{-30, 45}, {-15, 38}, {0, 30}, {10, 22}}};
    im.DefaultSpeedInVent = 80;
    im.DefaultSpeedOutVent = 75;
    im.MaxQuantityHeat = 3;
    im.KoefOutVent = 0.95f;
    im.SPVPIDKoef[0] = {8.5f, 0.12f, 1.0f, 10.0f, 5};
    im.SPVPIDKoef[1] = {6.0f, 0.08f, 0.5f, 5.0f, 5};
    im.SPVPIDKoef[2] = {4.0f, 0.05f, 0.0f, 0.0f, 3};

    // Heating by the outdoor temperature, lowered at night and at weekends, two pumps in turn.
    im.DeltaTNightDay = -3.0f;
    im.DeltaTWeekend = -5.0f;
    im.CorrTHeat = 1.5f;
    im.SHCascadeKoef = 0.8f;
    im.TimeWorkPump = 168;
    im.TempStTempH = {{{-30, 95}, {-15, 75}, {0, 60}, {10, 45}}};
    im.TempBWDeltaT = {{{40, 5}, {50, 8}, {60, 12}, {70, 15}}};
    im.PIDKoef[0] = {5.0f, 0.1f, 0.0f, 0.0f, 4};

    // Hot water at 55 °C; the process holds a duct pressure of 250 Pa.
    im.PresetTempWaterHWP = 55.0f;
    im.PIDKoef[1] = {3.5f, 0.2f, 0.0f, 0.0f, 2};
    im.PresetAnyParam = 250.0f;
    im.PIDKoef[2] = {1.2f, 0.05f, 0.0f, 0.0f, 1};

    // The rotary recuperator; the other kinds' entries hold sensible values too.
    im.RecupWinterDeltaTmin = 3;
    im.RecupWinterUmin = 20;
    im.RecupWinterDeltaTmax = 15;
    im.RecupWinterUmax = 100;
    im.RecupSummerDeltaTmin = 2;
    im.RecupSummerUmin = 15;
    im.RecupSummerDeltaTmax = 10;
    im.RecupSummerUmax = 90;
    im.TminGlick = 5;
    im.PIDKoef[3] = {2.0f, 0.1f, 0.0f, 0.0f, 3};
}

} // namespace vextor
