#include "SetPointTactics.h"

#include "TacticTexts.h"

namespace vextor {

namespace t = tactic_texts;

namespace {

constexpr int kHotWaterPID = 1;
constexpr int kProcessPID = 2;

void showSetPoint(const ConfigImage& im, uint8_t kindBit, float preset, int pid, const SetPointControls& c) {
    c.on.setChecked(im.KindSystems & kindBit);
    c.preset.setText(oneDecimal(preset));
    showPID(im.PIDKoef[pid], c.pid);
}

void applySetPoint(ConfigImage& im, uint8_t kindBit, float& preset, const QString& minText,
                   const QString& maxText, int pid, const SetPointControls& c) {
    resetValueErrors();
    setBits(im.KindSystems, kindBit, c.on.isChecked());
    storeFloat(c.preset, preset, minText, maxText);
    applyPID(im.PIDKoef[pid], c.pid);
}

} // namespace

void HotWaterTab::showHotWater() {
    showSetPoint(image_, kKindHotWater, image_.PresetTempWaterHWP, kHotWaterPID, c_);
}

void HotWaterTab::applyHotWater() {
    applySetPoint(image_, kKindHotWater, image_.PresetTempWaterHWP, t::kZero, t::kHotWaterMax, kHotWaterPID,
                  c_);
}

void ProcessTab::showProcess() {
    showSetPoint(image_, kKindProcess, image_.PresetAnyParam, kProcessPID, c_);
}

void ProcessTab::applyProcess() {
    applySetPoint(image_, kKindProcess, image_.PresetAnyParam, t::kCoefMin, t::kCoefMax, kProcessPID, c_);
}

} // namespace vextor
