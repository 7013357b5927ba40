#include "CurvePanel.h"

#include "CaptionForm.h"
#include "config/TacticTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace vextor {

CurvePanel::CurvePanel(const QString& title, const QString& argHeader, const QString& valueHeader,
                       QWidget* parent)
    : QGroupBox(title, parent), fields_{LineEditField(numberEdit(this)), LineEditField(numberEdit(this)),
                                        LineEditField(numberEdit(this)), LineEditField(numberEdit(this)),
                                        LineEditField(numberEdit(this)), LineEditField(numberEdit(this)),
                                        LineEditField(numberEdit(this)), LineEditField(numberEdit(this))} {
    setToolTip(tactic_texts::kCurveHint);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(argHeader, this), 0, 1);
    grid->addWidget(new QLabel(valueHeader, this), 0, 2);
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(QString::number(i + 1), this), i + 1, 0);
        grid->addWidget(entry(2 * i), i + 1, 1);
        grid->addWidget(entry(2 * i + 1), i + 1, 2);
    }
    grid->setColumnStretch(3, 1);
}

CurveEntries CurvePanel::entries() {
    CurveEntries e{};
    for (size_t i = 0; i < e.size(); ++i)
        e[i] = &fields_[i];
    return e;
}

void CurvePanel::mousePressEvent(QMouseEvent* event) {
    // The entries take their own clicks; what reaches the panel is outside them.
    if (event->button() == Qt::LeftButton && onPanelClick)
        onPanelClick();
    QGroupBox::mousePressEvent(event);
}

} // namespace vextor
