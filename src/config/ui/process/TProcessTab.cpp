#include "TProcessTab.h"

#include "config/TacticTexts.h"

#include <QPushButton>

namespace vextor {

TProcessTab::TProcessTab(ConfigImage& image, QWidget* parent)
    : TSetPointTab(tactic_texts::kProcessOn, tactic_texts::kPresetAnyParam, parent),
      editor_(std::make_unique<ProcessTab>(image, controls())) {
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applyProcess(); });
    editor_->showProcess();
}

TProcessTab::~TProcessTab() = default;

void TProcessTab::configurationChanged(ConfigViews views) {
    if (views & ViewProcess)
        editor_->showProcess();
}

} // namespace vextor
