#include "AssignmentPage.h"

#include "AssignmentTableBox.h"

#include <QBoxLayout>
#include <QPushButton>
#include <algorithm>

namespace vextor {

AssignmentPage::AssignmentPage(ConfigImage& image, Kind kind, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    const bool analog = kind == Kind::Analog;
    tables_[0] =
        new AssignmentTableBox(image, analog ? AssignmentTable::AnalogIn : AssignmentTable::DiscreteIn, this);
    tables_[1] = new AssignmentTableBox(
        image, analog ? AssignmentTable::AnalogOut : AssignmentTable::DiscreteOut, this);
    layout_ = new QBoxLayout(QBoxLayout::TopToBottom, this);
    // The page's minimum is its own (minimumSizeHint), not that of the tables side by side.
    layout_->setSizeConstraint(QLayout::SetNoConstraint);
    layout_->addWidget(tables_[0], 1);
    layout_->addWidget(tables_[1], 1);
}

QSize AssignmentPage::minimumSizeHint() const {
    const QSize in = tables_[0]->minimumSizeHint(), out = tables_[1]->minimumSizeHint();
    const QMargins m = layout_->contentsMargins();
    return {std::max(in.width(), out.width()) + m.left() + m.right(),
            in.height() + layout_->spacing() + out.height() + m.top() + m.bottom()};
}

void AssignmentPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QMargins m = layout_->contentsMargins();
    const int sideBySide = tables_[0]->minimumSizeHint().width() + layout_->spacing() +
                           tables_[1]->minimumSizeHint().width() + m.left() + m.right();
    const auto direction = width() >= sideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (layout_->direction() != direction)
        layout_->setDirection(direction);
}

void AssignmentPage::configurationChanged(ConfigViews views) {
    const bool analog = kind_ == Kind::Analog;
    if (views & (analog ? ViewAnalogInputs : ViewDiscreteInputs))
        tables_[0]->editor().showAssignments();
    if (views & (analog ? ViewAnalogOutputs : ViewDiscreteOutputs))
        tables_[1]->editor().showAssignments();
}

void AssignmentPage::selectFirstRows() {
    for (AssignmentTableBox* table : tables_)
        table->selectRow(1);
}

void AssignmentPage::setTransferRunning(bool running) {
    for (AssignmentTableBox* table : tables_) {
        table->applyButton()->setEnabled(!running);
        table->clearButton()->setEnabled(!running);
    }
}

} // namespace vextor
