#pragma once
// One assignment table of the "A In/Out" and "D In/Out" tabs without its widgets: the named
// signals of the control programs bound to (device address, channel number) pairs of ConfigImage.
// The four tables share this editor; they differ in their image field, row names and captions.
#include "ConfigImage.h"
#include "link/NumericConversions.h"

#include <QString>
#include <functional>
#include <span>
#include <vector>

namespace vextor {

enum class AssignmentTable { AnalogIn, AnalogOut, DiscreteIn, DiscreteOut };

struct AssignmentGridRow {
    QString number, name, address, channel;
    bool operator==(const AssignmentGridRow&) const = default;
};

// The pair (255, 0): not assigned.
inline constexpr AdrNum kUnassigned{255, 0};

// The pairs of a table as the model holds them (8 for the analog outputs).
std::span<AdrNum> assignmentPairs(ConfigImage& image, AssignmentTable table);
// Rows that belong to the image: the grid shows pairs only for these (14, 6, 32, 32).
int assignmentImageRows(AssignmentTable table);
QString assignmentTitle(AssignmentTable table);
QString assignmentRowCaption(AssignmentTable table);    // "Номер строки" or "N строки"
QString assignmentChannelHeader(AssignmentTable table); // "№ вх" or " № вых"
// The name of row index (0-based); empty for the two unnamed analog output rows.
QString assignmentRowName(AssignmentTable table, int index);

class AssignmentTab {
public:
    AssignmentTab(ConfigImage& image, AssignmentTable table, EditField& row, EditField& address,
                  EditField& number);

    AssignmentTable table() const { return table_; }
    // Rows of the grid: every pair the model holds.
    int rowCount() const { return static_cast<int>(grid_.size()); }
    const std::vector<AssignmentGridRow>& grid() const { return grid_; }

    // Writes every image row's pair into the grid.
    void showAssignments();
    // Row 1..rowCount(): the row number and its pair go to the entries; anything else is ignored.
    void selectAssignment(int row);
    // "Применить": the row number (1..rowCount()), then the address, then the number, each an
    // "integer" checked by the one-message rule. A refused row number stores nothing; a refused
    // address or number keeps its stored value. True when every entry was taken.
    bool applyAssignment();
    // "255   0": every pair the model holds becomes (255, 0).
    void clearAssignments();

    std::function<void()> gridChanged;

private:
    ConfigImage& image_;
    AssignmentTable table_;
    EditField& row_;
    EditField& address_;
    EditField& number_;
    std::vector<AssignmentGridRow> grid_;
};

} // namespace vextor
