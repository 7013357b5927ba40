#include "AssignmentTab.h"

#include "TabTexts.h"

namespace vextor {

namespace t = tab_texts;

std::span<AdrNum> assignmentPairs(ConfigImage& image, AssignmentTable table) {
    switch (table) {
    case AssignmentTable::AnalogIn:
        return image.AdrNumAIn;
    case AssignmentTable::AnalogOut:
        return image.AdrNumAOut;
    case AssignmentTable::DiscreteIn:
        return image.AdrNumDIn;
    case AssignmentTable::DiscreteOut:
        return image.AdrNumDut;
    }
    return {};
}

int assignmentImageRows(AssignmentTable table) {
    switch (table) {
    case AssignmentTable::AnalogIn:
        return kAnalogInCount;
    case AssignmentTable::AnalogOut:
        return kAnalogOutCount;
    case AssignmentTable::DiscreteIn:
        return kDiscreteInCount;
    case AssignmentTable::DiscreteOut:
        return kDiscreteOutCount;
    }
    return 0;
}

QString assignmentTitle(AssignmentTable table) {
    switch (table) {
    case AssignmentTable::AnalogIn:
        return t::kAnalogInTitle;
    case AssignmentTable::AnalogOut:
        return t::kAnalogOutTitle;
    case AssignmentTable::DiscreteIn:
        return t::kDiscreteInTitle;
    case AssignmentTable::DiscreteOut:
        return t::kDiscreteOutTitle;
    }
    return {};
}

QString assignmentRowCaption(AssignmentTable table) {
    const bool analog = table == AssignmentTable::AnalogIn || table == AssignmentTable::AnalogOut;
    return analog ? t::kAnalogRowCaption : t::kDiscreteRowCaption;
}

QString assignmentChannelHeader(AssignmentTable table) {
    const bool input = table == AssignmentTable::AnalogIn || table == AssignmentTable::DiscreteIn;
    return input ? t::kColInput : t::kColOutput;
}

QString assignmentRowName(AssignmentTable table, int index) {
    auto pick = [index](const auto& names) {
        return index >= 0 && index < static_cast<int>(names.size()) ? names[static_cast<size_t>(index)]
                                                                    : QString();
    };
    switch (table) {
    case AssignmentTable::AnalogIn:
        return pick(t::kAnalogInNames);
    case AssignmentTable::AnalogOut:
        return pick(t::kAnalogOutNames);
    case AssignmentTable::DiscreteIn:
        return pick(t::kDiscreteInNames);
    case AssignmentTable::DiscreteOut:
        return pick(t::kDiscreteOutNames);
    }
    return {};
}

AssignmentTab::AssignmentTab(ConfigImage& image, AssignmentTable table, EditField& row, EditField& address,
                             EditField& number)
    : image_(image), table_(table), row_(row), address_(address), number_(number) {
    const int rows = static_cast<int>(assignmentPairs(image_, table_).size());
    grid_.resize(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        grid_[i].number = QString::number(i + 1);
        grid_[i].name = assignmentRowName(table_, i);
    }
}

void AssignmentTab::showAssignments() {
    const auto pairs = assignmentPairs(image_, table_);
    const int rows = assignmentImageRows(table_);
    for (int i = 0; i < rows; ++i) {
        grid_[i].address = QString::number(pairs[i].Adr);
        grid_[i].channel = QString::number(pairs[i].Num);
    }
    if (gridChanged)
        gridChanged();
}

void AssignmentTab::selectAssignment(int row) {
    if (row < 1 || row > rowCount())
        return;
    const AdrNum& p = assignmentPairs(image_, table_)[static_cast<size_t>(row - 1)];
    row_.setText(QString::number(row));
    address_.setText(QString::number(p.Adr));
    number_.setText(QString::number(p.Num));
}

bool AssignmentTab::applyAssignment() {
    resetValueErrors();
    // The row number can be typed by hand: it is checked before anything is stored.
    const long long row = checkInteger(row_, QStringLiteral("1"), QString::number(rowCount()), 0);
    if (valueErrorShown())
        return false;
    AdrNum& p = assignmentPairs(image_, table_)[static_cast<size_t>(row - 1)];
    const long long adr = checkInteger(address_, t::kByteMin, t::kByteMax, p.Adr);
    const long long num = checkInteger(number_, t::kByteMin, t::kByteMax, p.Num);
    // As in every tab, a refused entry keeps its stored value and the entries after it are not
    // checked; an accepted address before a refused number is kept.
    p.Adr = static_cast<uint8_t>(adr);
    p.Num = static_cast<uint8_t>(num);
    showAssignments();
    return !valueErrorShown();
}

void AssignmentTab::clearAssignments() {
    for (AdrNum& p : assignmentPairs(image_, table_))
        p = kUnassigned;
    showAssignments();
}

} // namespace vextor
