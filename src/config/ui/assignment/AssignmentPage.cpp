#include "AssignmentPage.h"

#include "AssignmentTableBox.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace vextor {

AssignmentPage::AssignmentPage(ConfigImage& image, Kind kind, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    const bool analog = kind == Kind::Analog;
    tables_[0] =
        new AssignmentTableBox(image, analog ? AssignmentTable::AnalogIn : AssignmentTable::DiscreteIn, this);
    tables_[1] = new AssignmentTableBox(
        image, analog ? AssignmentTable::AnalogOut : AssignmentTable::DiscreteOut, this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tables_[0], 1);
    layout->addWidget(tables_[1], 1);
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
