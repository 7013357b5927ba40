#include "HotWaterTab.h"

#include "TacticTexts.h"

namespace vextor {

namespace {
constexpr int kHotWaterPID = 1;
} // namespace

void HotWaterTab::showHotWater() {
    showSetPoint(image_, kKindHotWater, image_.PresetTempWaterHWP, kHotWaterPID, c_);
}

void HotWaterTab::applyHotWater() {
    applySetPoint(image_, kKindHotWater, image_.PresetTempWaterHWP, tactic_texts::kZero,
                  tactic_texts::kHotWaterMax, kHotWaterPID, c_);
}

} // namespace vextor
