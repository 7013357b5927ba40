#include "ProcessPage.h"

#include "config/TacticTexts.h"
#include "config/ui/tactics/CaptionForm.h"

#include <QPushButton>

namespace vextor {

ProcessPage::ProcessPage(ConfigImage& image, QWidget* parent)
    : SetPointPage(tactic_texts::kProcessOn, tactic_texts::kPresetAnyParam, parent),
      editor_(std::make_unique<ProcessTab>(image, controls())) {
    connect(applyButton(), &QPushButton::clicked, this, [this] { editor_->applyProcess(); });
    editor_->showProcess();
}

ProcessPage::~ProcessPage() = default;

void ProcessPage::configurationChanged(ConfigViews views) {
    if (views & ViewProcess)
        editor_->showProcess();
}

} // namespace vextor
