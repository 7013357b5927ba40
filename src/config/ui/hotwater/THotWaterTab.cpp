#include "THotWaterTab.h"

#include "config/TacticTexts.h"

#include <QPushButton>

namespace vextor {

THotWaterTab::THotWaterTab(ConfigImage& image, QWidget* parent)
    : TSetPointTab(tactic_texts::kHotWaterOn, tactic_texts::kPresetTempWaterHWP, parent),
      editor_(std::make_unique<HotWaterTab>(image, controls())) {
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applyHotWater(); });
    editor_->showHotWater();
}

THotWaterTab::~THotWaterTab() = default;

void THotWaterTab::configurationChanged(ConfigViews views) {
    if (views & ViewHotWater)
        editor_->showHotWater();
}

} // namespace vextor
