#pragma once
// The "A In/Out" and "D In/Out" tabs: two assignment tables each, every table with its grid, its
// row, address and number entries, "Применить" and the "255   0" clear button, bound to the
// headless AssignmentTab over ConfigImage.
#include "config/AssignmentTab.h"
#include "config/ConfigObserver.h"
#include "config/ui/fields/WidgetFields.h"

#include <QGroupBox>
#include <QWidget>
#include <array>
#include <memory>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vextor {

class TAssignmentTable : public QGroupBox {
public:
    TAssignmentTable(ConfigImage& image, AssignmentTable table, QWidget* parent = nullptr);
    ~TAssignmentTable() override;

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

// One of the two tabs: the analog tables (inputs and outputs) or the discrete ones.
class TAssignmentPage : public QWidget, public ConfigObserver {
public:
    enum class Kind { Analog, Discrete };
    TAssignmentPage(ConfigImage& image, Kind kind, QWidget* parent = nullptr);

    TAssignmentTable* inputs() const { return tables_[0]; }
    TAssignmentTable* outputs() const { return tables_[1]; }

    // ConfigObserver: each table follows its own view bit; the first rows after a read or a load.
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override;
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

private:
    Kind kind_;
    std::array<TAssignmentTable*, 2> tables_{};
};

} // namespace vextor
