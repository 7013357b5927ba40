#include "HotWaterPage.h"

#include "config/TacticTexts.h"
#include "config/ui/tactics/CaptionForm.h"

#include <QPushButton>

namespace vextor {

HotWaterPage::HotWaterPage(ConfigImage& image, QWidget* parent)
    : SetPointPage(tactic_texts::kHotWaterOn, tactic_texts::kPresetTempWaterHWP, parent),
      editor_(std::make_unique<HotWaterTab>(image, controls())) {
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applyHotWater(); });
    editor_->showHotWater();
}

HotWaterPage::~HotWaterPage() = default;

void HotWaterPage::configurationChanged(ConfigViews views) {
    if (views & ViewHotWater)
        editor_->showHotWater();
}

} // namespace vextor
