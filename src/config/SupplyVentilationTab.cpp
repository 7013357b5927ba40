#include "SupplyVentilationTab.h"

#include "TacticTexts.h"

namespace vextor {

namespace t = tactic_texts;

SupplyVentilationTab::SupplyVentilationTab(ConfigImage& image, SupplyVentilationControls controls)
    : image_(image), c_(controls), warmingCaption_(t::kWarmingTempShown) {}

void SupplyVentilationTab::showSupplyVentilation() {
    const ConfigImage& im = image_;
    c_.delayOnVent1.setText(QString::number(im.DelayOnVent1));
    c_.delayOnVent2.setText(QString::number(im.DelayOnVent2));
    c_.timeHeatDoor.setText(QString::number(im.TimeHeatDoor));
    c_.spvOn.setChecked(im.KindSystems & kKindSupplyVentilation);
    c_.warmingByOutdoor.setChecked(im.Options & kOptWarmingByOutdoor);
    c_.weekendOff.setChecked(im.Options & kOptSpvWeekendOff);
    c_.cascade.setChecked(im.Options & kOptSpvCascade);
    c_.fallingPreset.setChecked(im.Options & kOptFallingPreset);
    c_.nightCurve.setChecked(im.Options & kOptNightCurve);
    c_.presetTempAir.setText(oneDecimal(im.PresetTempAir));
    if (im.Options & kOptWarmingByWater) {
        c_.warmingMode.setCurrentIndex(kWarmingByWaterItem);
        c_.warming.setText(oneDecimal(im.PresetTempWarming));
        setWarmingCaption(t::kWarmingTempShown);
    } else {
        c_.warmingMode.setCurrentIndex(kWarmingByTimeItem);
        c_.warming.setText(QString::number(im.PresetTimeWarming));
        setWarmingCaption(t::kWarmingTime);
    }
    c_.cascadeKoef.setText(formatFixed(im.SPVCascadeKoef, 6, 3));
    c_.histeresis.setText(oneDecimal(im.Histeresis));
    c_.tempOffPumpH.setText(QString::number(im.TempOffPumpH));
    c_.tempOffPumpC.setText(QString::number(im.TempOffPumpC));
    c_.timeTempOffPumpH.setText(QString::number(im.TimeTempOffPumpH));
    c_.timeTempOffPumpC.setText(QString::number(im.TimeTempOffPumpC));
    c_.minTempBackWater.setText(QString::number(im.MinTempBackWater));
    c_.presetTempBWNight.setText(QString::number(im.PresetTempBWNight));
    c_.tempDownNotch.setText(QString::number(im.TempDownNotch));
    c_.timeDownNotch.setText(QString::number(im.TimeDownNotch));
    c_.botBorderHeating.setText(QString::number(im.BotBorderForHeating));
    c_.botBorderCooling.setText(QString::number(im.BotBorderForCooling));
    showCurve(im.TempStTempBW, c_.night);
    c_.speedIn.setText(QString::number(im.DefaultSpeedInVent));
    c_.speedOut.setText(QString::number(im.DefaultSpeedOutVent));
    c_.maxQuantityHeat.setText(QString::number(im.MaxQuantityHeat));
    c_.koefOutVent.setText(formatFixed(im.KoefOutVent, 6, 4));
    for (int i = 0; i < kSPVPIDCount; ++i)
        showPID(im.SPVPIDKoef[i], c_.pid[i]);
    c_.pidPage.setCurrentIndex(0);
    if (minTempBackWaterDuplicate)
        minTempBackWaterDuplicate->setText(c_.minTempBackWater.text());
}

void SupplyVentilationTab::applySupplyVentilation() {
    ConfigImage& im = image_;
    resetValueErrors();
    storeU8(c_.delayOnVent1, im.DelayOnVent1);
    storeU8(c_.delayOnVent2, im.DelayOnVent2);
    storeU8(c_.timeHeatDoor, im.TimeHeatDoor);
    setBits(im.KindSystems, kKindSupplyVentilation, c_.spvOn.isChecked());
    setBits(im.Options, kOptWarmingByOutdoor, c_.warmingByOutdoor.isChecked());
    setBits(im.Options, kOptSpvWeekendOff, c_.weekendOff.isChecked());
    setBits(im.Options, kOptSpvCascade, c_.cascade.isChecked());
    setBits(im.Options, kOptFallingPreset, c_.fallingPreset.isChecked());
    setBits(im.Options, kOptNightCurve, c_.nightCurve.isChecked());
    storeFloat(c_.presetTempAir, im.PresetTempAir, t::kAirMin, t::kAirMax);
    if (c_.warmingMode.currentIndex() == kWarmingByWaterItem) {
        storeFloat(c_.warming, im.PresetTempWarming, t::kZero, t::kWarmingMax);
        im.PresetTimeWarming = kFixedWarmingTime;
        setBits(im.Options, kOptWarmingByWater, true);
    } else {
        storeU8(c_.warming, im.PresetTimeWarming);
        im.PresetTempWarming = kFixedWarmingTemp;
        setBits(im.Options, kOptWarmingByWater, false);
    }
    storeFloat(c_.cascadeKoef, im.SPVCascadeKoef, t::kCoefMin, t::kCoefMax);
    storeFloat(c_.histeresis, im.Histeresis, t::kAirMin, t::kAirMax);
    storeU8(c_.tempOffPumpH, im.TempOffPumpH);
    storeU8(c_.tempOffPumpC, im.TempOffPumpC);
    storeU16(c_.timeTempOffPumpH, im.TimeTempOffPumpH);
    storeU16(c_.timeTempOffPumpC, im.TimeTempOffPumpC);
    storeU8(c_.minTempBackWater, im.MinTempBackWater);
    storeU8(c_.presetTempBWNight, im.PresetTempBWNight);
    storeI8(c_.tempDownNotch, im.TempDownNotch);
    storeU16(c_.timeDownNotch, im.TimeDownNotch);
    storeU8(c_.botBorderHeating, im.BotBorderForHeating);
    storeU8(c_.botBorderCooling, im.BotBorderForCooling);
    applyCurve(im.TempStTempBW, c_.night);
    storeU8(c_.speedIn, im.DefaultSpeedInVent);
    storeU8(c_.speedOut, im.DefaultSpeedOutVent);
    storeU8(c_.maxQuantityHeat, im.MaxQuantityHeat);
    storeFloat(c_.koefOutVent, im.KoefOutVent, t::kCoefMin, t::kCoefMax);
    for (int i = 0; i < kSPVPIDCount; ++i)
        applyPID(im.SPVPIDKoef[i], c_.pid[i]);
}

void SupplyVentilationTab::setDefaultNightCurve() {
    fillCurve(kReferenceNightCurve, c_.night);
}

void SupplyVentilationTab::warmingModeChanged() {
    setWarmingCaption(c_.warmingMode.currentIndex() == kWarmingByWaterItem ? t::kWarmingTempChosen
                                                                           : t::kWarmingTime);
}

void SupplyVentilationTab::setWarmingCaption(const QString& caption) {
    warmingCaption_ = caption;
    if (captionChanged)
        captionChanged();
}

} // namespace vextor
