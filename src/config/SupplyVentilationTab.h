#pragma once
// The " СПВ " tab without its widgets: the supply air handling unit's delays, set points, pump
// limits, the warm-up mode, the night return-water curve and the three PID sets of ConfigImage.
#include "link/EditField.h"
#include "TacticFields.h"

#include <QString>
#include <functional>

namespace vextor {

// Positions of the warm-up mode choice.
inline constexpr int kWarmingByWaterItem = 0;
inline constexpr int kWarmingByTimeItem = 1;
// What the mode that is not chosen leaves in the image.
inline constexpr uint8_t kFixedWarmingTime = 60;
inline constexpr float kFixedWarmingTemp = 50.0f;

// The reference night curve a click on the table's panel puts into the entries.
inline constexpr std::array<CurvePoint, 4> kReferenceNightCurve = {
    {{-100, 55}, {-25, 45}, {-5, 35}, {100, 25}}};

struct SupplyVentilationControls {
    EditField &delayOnVent1, &delayOnVent2, &timeHeatDoor;
    FlagField &spvOn, &warmingByOutdoor, &weekendOff, &cascade, &fallingPreset, &nightCurve;
    EditField& presetTempAir;
    ChoiceField& warmingMode;
    EditField& warming;
    EditField &cascadeKoef, &histeresis;
    EditField &tempOffPumpH, &tempOffPumpC, &timeTempOffPumpH, &timeTempOffPumpC;
    EditField &minTempBackWater, &presetTempBWNight;
    EditField &tempDownNotch, &timeDownNotch;
    EditField &botBorderHeating, &botBorderCooling;
    CurveEntries night;
    EditField &speedIn, &speedOut, &maxQuantityHeat, &koefOutVent;
    std::array<PIDControls, kSPVPIDCount> pid;
    ChoiceField& pidPage; // which PID page is in front
};

struct PlainSupplyVentilationControls {
    PlainEditField delayOnVent1, delayOnVent2, timeHeatDoor;
    PlainFlagField spvOn, warmingByOutdoor, weekendOff, cascade, fallingPreset, nightCurve;
    PlainEditField presetTempAir;
    PlainChoiceField warmingMode;
    PlainEditField warming, cascadeKoef, histeresis;
    PlainEditField tempOffPumpH, tempOffPumpC, timeTempOffPumpH, timeTempOffPumpC;
    PlainEditField minTempBackWater, presetTempBWNight, tempDownNotch, timeDownNotch;
    PlainEditField botBorderHeating, botBorderCooling;
    PlainCurveEntries night;
    PlainEditField speedIn, speedOut, maxQuantityHeat, koefOutVent;
    std::array<PlainPIDControls, kSPVPIDCount> pid;
    PlainChoiceField pidPage;
    SupplyVentilationControls controls() {
        return {delayOnVent1,     delayOnVent2,
                timeHeatDoor,     spvOn,
                warmingByOutdoor, weekendOff,
                cascade,          fallingPreset,
                nightCurve,       presetTempAir,
                warmingMode,      warming,
                cascadeKoef,      histeresis,
                tempOffPumpH,     tempOffPumpC,
                timeTempOffPumpH, timeTempOffPumpC,
                minTempBackWater, presetTempBWNight,
                tempDownNotch,    timeDownNotch,
                botBorderHeating, botBorderCooling,
                night.entries(),  speedIn,
                speedOut,         maxQuantityHeat,
                koefOutVent,      {pid[0].controls(), pid[1].controls(), pid[2].controls()},
                pidPage};
    }
};

class SupplyVentilationTab {
public:
    SupplyVentilationTab(ConfigImage& image, SupplyVentilationControls controls);

    // Fills every entry from the image and brings "Калорифер/день" to the front.
    void showSupplyVentilation();
    // "Применить": every entry in its order; the flags and the fixed warm-up value of the mode not
    // chosen are stored even after a refusal.
    void applySupplyVentilation();
    // A click on the night table's panel.
    void setDefaultNightCurve();
    // The engineer chose a warm-up mode: only the entry's caption follows.
    void warmingModeChanged();

    // The caption of the warm-up entry.
    const QString& warmingCaption() const { return warmingCaption_; }
    std::function<void()> captionChanged;

    // The heating tab's entry of the same MinTempBackWater: a refresh of this tab sets it as well.
    EditField* minTempBackWaterDuplicate = nullptr;

private:
    ConfigImage& image_;
    SupplyVentilationControls c_;
    QString warmingCaption_;

    void setWarmingCaption(const QString& caption);
};

} // namespace vextor
