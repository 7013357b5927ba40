#pragma once
// One assignment table of the "A In/Out" and "D In/Out" tabs: its grid, its row, address and number
// entries, "Применить" and the "255   0" clear button, bound to the headless AssignmentTab over
// ConfigImage.
#include "config/AssignmentTab.h"
#include "config/ui/fields/WidgetFields.h"

#include <QGroupBox>
#include <memory>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vextor {

class AssignmentTableBox : public QGroupBox {
public:
    AssignmentTableBox(ConfigImage& image, AssignmentTable table, QWidget* parent = nullptr);
    ~AssignmentTableBox() override;

    AssignmentTab& editor() { return *editor_; }
    // Grid row row (1-based) selected, and its pair shown in the entries.
    void selectRow(int row);

    QTableWidget* grid() const { return grid_; }
    QLineEdit* rowEdit() const { return row_; }
    QLineEdit* addressEdit() const { return address_; }
    QLineEdit* numberEdit() const { return number_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* clearButton() const { return clear_; }
    QString cell(int row, int column) const;

private:
    QTableWidget* grid_;
    QLineEdit* row_;
    QLineEdit* address_;
    QLineEdit* number_;
    QPushButton* apply_;
    QPushButton* clear_;
    LineEditField rowField_, addressField_, numberField_;
    std::unique_ptr<AssignmentTab> editor_;

    void drawGrid();
};

} // namespace vextor
