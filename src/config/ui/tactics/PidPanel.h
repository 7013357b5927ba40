#pragma once
// The five PID entries of a tactic in a form, behind the PID seam.
#include "config/TacticFields.h"
#include "config/ui/fields/WidgetFields.h"

#include <QWidget>

class QLineEdit;

namespace vextor {

class PidPanel : public QWidget {
public:
    explicit PidPanel(QWidget* parent = nullptr);
    PIDControls controls() {
        return {kPropField_, kIntField_, kDifField_, startIntErrorField_, periodDifField_};
    }
    QLineEdit* kProp() const { return kPropField_.widget(); }
    QLineEdit* kInt() const { return kIntField_.widget(); }
    QLineEdit* kDif() const { return kDifField_.widget(); }
    QLineEdit* startIntError() const { return startIntErrorField_.widget(); }
    QLineEdit* periodDif() const { return periodDifField_.widget(); }

private:
    LineEditField kPropField_, kIntField_, kDifField_, startIntErrorField_, periodDifField_;
};

} // namespace vextor
