#pragma once
// The frame of a tab that holds one tactic switch, one set point and a PID set (" СГВС " and
// " Технол. Процесс").
#include "PidPanel.h"
#include "TacticPage.h"
#include "config/SetPointControls.h"
#include "config/ui/fields/WidgetFields.h"

class QCheckBox;
class QLineEdit;

namespace vextor {

class SetPointPage : public TacticPage {
public:
    SetPointPage(const QString& onCaption, const QString& presetCaption, QWidget* parent = nullptr);
    SetPointControls controls() { return {on_, preset_, pid_->controls()}; }
    QCheckBox* onBox() const { return on_.widget(); }
    QLineEdit* presetEdit() const { return preset_.widget(); }
    PidPanel* pid() const { return pid_; }

private:
    CheckBoxField on_;
    LineEditField preset_;
    PidPanel* pid_;
};

} // namespace vextor
