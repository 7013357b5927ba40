#include "TacticWidgets.h"

#include "config/TabTexts.h"
#include "config/TacticTexts.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace vextor {

namespace t = tactic_texts;

namespace {
constexpr int kEntryWidth = 90;
constexpr int kCaptionWidth = 160;
} // namespace

QLineEdit* numberEdit(QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setFixedWidth(kEntryWidth);
    return e;
}

namespace {
// A caption that asks for its whole text on one line and wraps only when its column is narrower.
class CaptionLabel : public QLabel {
public:
    CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setWordWrap(true);
        setMinimumWidth(kCaptionWidth);
    }
    QSize sizeHint() const override {
        const QSize wrapped = QLabel::sizeHint();
        const int line = fontMetrics().horizontalAdvance(text()) + 2 * margin() + 2 * frameWidth() + 4;
        return {std::max(wrapped.width(), line), wrapped.height()};
    }
};
} // namespace

QLabel* captionLabel(const QString& text, QWidget* parent) {
    return new CaptionLabel(text, parent);
}

QFormLayout* captionForm(QWidget* parent) {
    auto* f = new QFormLayout(parent);
    f->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    f->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    f->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
    return f;
}

QLabel* addCaptioned(QFormLayout* form, const QString& caption, QWidget* field) {
    auto* label = captionLabel(caption);
    label->setBuddy(field);
    form->addRow(label, field);
    return label;
}

TPIDPanel::TPIDPanel(QWidget* parent)
    : QWidget(parent), kPropField_(numberEdit(this)), kIntField_(numberEdit(this)),
      kDifField_(numberEdit(this)), startIntErrorField_(numberEdit(this)), periodDifField_(numberEdit(this)) {
    auto* form = captionForm(this);
    addCaptioned(form, t::kKProp, kProp());
    addCaptioned(form, t::kKInt, kInt());
    addCaptioned(form, t::kKDif, kDif());
    addCaptioned(form, t::kStartIntError, startIntError());
    addCaptioned(form, t::kPeriodDif, periodDif());
}

TCurvePanel::TCurvePanel(const QString& title, const QString& argHeader, const QString& valueHeader,
                         QWidget* parent)
    : QGroupBox(title, parent), fields_{LineEditField(numberEdit(this)), LineEditField(numberEdit(this)),
                                        LineEditField(numberEdit(this)), LineEditField(numberEdit(this)),
                                        LineEditField(numberEdit(this)), LineEditField(numberEdit(this)),
                                        LineEditField(numberEdit(this)), LineEditField(numberEdit(this))} {
    setToolTip(t::kCurveHint);
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

CurveEntries TCurvePanel::entries() {
    CurveEntries e{};
    for (size_t i = 0; i < e.size(); ++i)
        e[i] = &fields_[i];
    return e;
}

void TCurvePanel::mousePressEvent(QMouseEvent* event) {
    // The entries take their own clicks; what reaches the panel is outside them.
    if (event->button() == Qt::LeftButton && onPanelClick)
        onPanelClick();
    QGroupBox::mousePressEvent(event);
}

TTacticTab::TTacticTab(QWidget* parent) : QWidget(parent), apply_(new QPushButton(tab_texts::kApply, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(9, 0, 9, 9);
    bar->addWidget(apply_);
    bar->addStretch(1);
    layout->addLayout(bar);
}

void TTacticTab::setPage(QWidget* page) {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, scroll, 1);
}

void TTacticTab::setTransferRunning(bool running) {
    apply_->setEnabled(!running);
}

} // namespace vextor

namespace vextor {

TSetPointTab::TSetPointTab(const QString& onCaption, const QString& presetCaption, QWidget* parent)
    : TTacticTab(parent), on_(new QCheckBox(onCaption)), preset_(numberEdit()), pid_(new TPIDPanel) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout;
    column->addWidget(on_.widget());
    auto* main = new QGroupBox;
    addCaptioned(captionForm(main), presetCaption, preset_.widget());
    column->addWidget(main);
    auto* pidBox = new QGroupBox(t::kPIDGroup);
    auto* pidLayout = new QVBoxLayout(pidBox);
    pidLayout->addWidget(pid_);
    column->addWidget(pidBox);
    column->addStretch(1);
    auto* row = new QHBoxLayout(page);
    row->addLayout(column);
    row->addStretch(1);
    setPage(page);
}

} // namespace vextor
