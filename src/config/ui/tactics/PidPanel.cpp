#include "PidPanel.h"

#include "CaptionForm.h"
#include "config/TacticTexts.h"

#include <QFormLayout>

namespace vextor {

namespace t = tactic_texts;

PidPanel::PidPanel(QWidget* parent)
    : QWidget(parent), kPropField_(numberEdit(this)), kIntField_(numberEdit(this)),
      kDifField_(numberEdit(this)), startIntErrorField_(numberEdit(this)), periodDifField_(numberEdit(this)) {
    auto* form = captionForm(this);
    addCaptioned(form, t::kKProp, kProp());
    addCaptioned(form, t::kKInt, kInt());
    addCaptioned(form, t::kKDif, kDif());
    addCaptioned(form, t::kStartIntError, startIntError());
    addCaptioned(form, t::kPeriodDif, periodDif());
}

} // namespace vextor
