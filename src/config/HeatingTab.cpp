#include "HeatingTab.h"

#include "TacticTexts.h"

namespace vextor {

namespace t = tactic_texts;

HeatingTab::HeatingTab(ConfigImage& image, HeatingControls controls) : image_(image), c_(controls) {}

void HeatingTab::showHeating() {
    const ConfigImage& im = image_;
    c_.heatingOn.setChecked(im.KindSystems & kKindHeating);
    c_.overheatControl.setChecked(im.Options & kOptOverheatControl);
    c_.overcoolControl.setChecked(im.Options & kOptOvercoolControl);
    c_.cascade.setChecked(im.Options & kOptHeatingCascade);
    c_.weekendShift.setChecked(im.Options & kOptWeekendShift);
    c_.nightShift.setChecked(im.Options & kOptNightShift);
    c_.alternatePumps.setChecked(im.Options & kOptAlternatePumps);
    c_.deltaTNightDay.setText(oneDecimal(im.DeltaTNightDay));
    c_.deltaTWeekend.setText(oneDecimal(im.DeltaTWeekend));
    c_.corrTHeat.setText(oneDecimal(im.CorrTHeat));
    c_.cascadeKoef.setText(formatFixed(im.SHCascadeKoef, 6, 3));
    c_.minTempBackWater.setText(QString::number(im.MinTempBackWater));
    c_.timeWorkPump.setText(QString::number(im.TimeWorkPump));
    showCurve(im.TempStTempH, c_.heatingCurve);
    showCurve(im.TempBWDeltaT, c_.overheatCurve);
    showPID(im.PIDKoef[0], c_.pid);
}

void HeatingTab::applyHeating() {
    ConfigImage& im = image_;
    resetValueErrors();
    setBits(im.KindSystems, kKindHeating, c_.heatingOn.isChecked());
    setBits(im.Options, kOptOverheatControl, c_.overheatControl.isChecked());
    setBits(im.Options, kOptOvercoolControl, c_.overcoolControl.isChecked());
    setBits(im.Options, kOptHeatingCascade, c_.cascade.isChecked());
    setBits(im.Options, kOptWeekendShift, c_.weekendShift.isChecked());
    setBits(im.Options, kOptNightShift, c_.nightShift.isChecked());
    setBits(im.Options, kOptAlternatePumps, c_.alternatePumps.isChecked());
    storeFloat(c_.deltaTNightDay, im.DeltaTNightDay, t::kCoefMin, t::kCoefMax);
    storeFloat(c_.deltaTWeekend, im.DeltaTWeekend, t::kCoefMin, t::kCoefMax);
    storeFloat(c_.corrTHeat, im.CorrTHeat, t::kCoefMin, t::kCoefMax);
    storeFloat(c_.cascadeKoef, im.SHCascadeKoef, t::kCoefMin, t::kCoefMax);
    storeU8(c_.minTempBackWater, im.MinTempBackWater);
    storeU8(c_.timeWorkPump, im.TimeWorkPump);
    applyCurve(im.TempStTempH, c_.heatingCurve);
    applyCurve(im.TempBWDeltaT, c_.overheatCurve);
    applyPID(im.PIDKoef[0], c_.pid);
}

void HeatingTab::setDefaultHeatingCurve() {
    fillCurve(kReferenceHeatingCurve, c_.heatingCurve);
}

void HeatingTab::setDefaultOverheatCurve() {
    fillCurve(kReferenceOverheatCurve, c_.overheatCurve);
}

} // namespace vextor
