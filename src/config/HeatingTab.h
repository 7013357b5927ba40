#pragma once
// The " СОт " tab without its widgets: the heating tactic's flags, shifts and corrections, the
// heating curve and the return-water overheat curve, and its PID set (PIDKoef[0]).
#include "TacticFields.h"

namespace vextor {

// Reference curves a click on a curve's panel puts into its entries.
inline constexpr std::array<CurvePoint, 4> kReferenceHeatingCurve = {
    {{-100, 95}, {-25, 95}, {8, 42}, {100, 42}}};
inline constexpr std::array<CurvePoint, 4> kReferenceOverheatCurve = {
    {{-100, 25}, {-25, 25}, {-14, 60}, {8, 30}}};

struct HeatingControls {
    FlagField &heatingOn, &overheatControl, &overcoolControl, &cascade, &weekendShift, &nightShift,
        &alternatePumps;
    EditField &deltaTNightDay, &deltaTWeekend, &corrTHeat, &cascadeKoef, &minTempBackWater, &timeWorkPump;
    CurveEntries heatingCurve;
    CurveEntries overheatCurve;
    PIDControls pid;
};

struct PlainHeatingControls {
    PlainFlagField heatingOn, overheatControl, overcoolControl, cascade, weekendShift, nightShift,
        alternatePumps;
    PlainEditField deltaTNightDay, deltaTWeekend, corrTHeat, cascadeKoef, minTempBackWater, timeWorkPump;
    PlainCurveEntries heatingCurve, overheatCurve;
    PlainPIDControls pid;
    HeatingControls controls() {
        return {heatingOn,
                overheatControl,
                overcoolControl,
                cascade,
                weekendShift,
                nightShift,
                alternatePumps,
                deltaTNightDay,
                deltaTWeekend,
                corrTHeat,
                cascadeKoef,
                minTempBackWater,
                timeWorkPump,
                heatingCurve.entries(),
                overheatCurve.entries(),
                pid.controls()};
    }
};

class HeatingTab {
public:
    HeatingTab(ConfigImage& image, HeatingControls controls);

    void showHeating();
    // "Применить": the flags, then every entry in its order; the other tabs' bits stay.
    void applyHeating();
    void setDefaultHeatingCurve();
    void setDefaultOverheatCurve();

private:
    ConfigImage& image_;
    HeatingControls c_;
};

} // namespace vextor
