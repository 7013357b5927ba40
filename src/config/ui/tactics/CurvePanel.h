#pragma once
// A titled four-point curve: two columns of entries under their headers, points numbered 1 to 4. A
// click on the panel outside its entries runs onPanelClick (the reference curve).
#include "config/TacticFields.h"
#include "config/ui/fields/WidgetFields.h"

#include <QGroupBox>
#include <array>
#include <functional>

class QLineEdit;

namespace vextor {

class CurvePanel : public QGroupBox {
public:
    CurvePanel(const QString& title, const QString& argHeader, const QString& valueHeader,
               QWidget* parent = nullptr);
    CurveEntries entries();
    QLineEdit* entry(int index) const { return fields_[static_cast<size_t>(index)].widget(); }
    std::function<void()> onPanelClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::array<LineEditField, 8> fields_;
};

} // namespace vextor
