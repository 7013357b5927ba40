#include "ProcessTab.h"

#include "TacticTexts.h"

namespace vextor {

namespace {
constexpr int kProcessPID = 2;
} // namespace

void ProcessTab::showProcess() {
    showSetPoint(image_, kKindProcess, image_.PresetAnyParam, kProcessPID, c_);
}

void ProcessTab::applyProcess() {
    applySetPoint(image_, kKindProcess, image_.PresetAnyParam, tactic_texts::kCoefMin, tactic_texts::kCoefMax,
                  kProcessPID, c_);
}

} // namespace vextor
