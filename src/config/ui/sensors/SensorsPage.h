#pragma once
// The "Датчики" tab: the sensor grid, the kind choice, the three parameter groups and "Применить",
// bound to the headless SensorsTab over ConfigImage.
#include "config/ConfigObserver.h"
#include "config/SensorsTab.h"
#include "config/ui/fields/WidgetFields.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace vextor {

class UserDialogs;

class SensorsPage : public QWidget, public ConfigObserver {
public:
    SensorsPage(ConfigImage& image, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~SensorsPage() override;

    SensorsTab& editor() { return *editor_; }

    // ConfigObserver: the grid follows ViewSensors; the first row is selected after a read or a load.
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override;
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

    // Controls, for the window and its tests.
    QTableWidget* grid() const { return grid_; }
    QComboBox* kindChoice() const { return kind_; }
    QPushButton* applyButton() const { return apply_; }
    QLineEdit* numberEdit() const { return number_; }
    QLineEdit* r0Edit() const { return r0_; }
    QLineEdit* minEdit() const { return min_; }
    QLineEdit* maxEdit() const { return max_; }
    QLineEdit* shuntEdit() const { return shunt_; }
    QButtonGroup* wiringGroup() const { return wiring_; }
    QListWidget* materialList() const { return material_; }
    QGroupBox* resistanceGroup() const { return resistanceGroup_; }
    QGroupBox* lm235Group() const { return lm235Group_; }
    QGroupBox* rangeGroup() const { return rangeGroup_; }
    QGroupBox* rangeTitleGroup() const { return rangeInner_; }

    // SensorGridRow of the grid as shown.
    QString cell(int row, int column) const;

private:
    QTableWidget* grid_;
    QLineEdit* number_;
    QComboBox* kind_;
    QPushButton* apply_;
    bool transferRunning_ = false;
    QGroupBox* resistanceGroup_;
    QLineEdit* r0_;
    QButtonGroup* wiring_;
    QLineEdit* resistanceLines_;
    QListWidget* material_;
    QGroupBox* lm235Group_;
    QLineEdit* voltage_;
    QLineEdit* lm235Lines_;
    QGroupBox* rangeGroup_;
    QGroupBox* rangeInner_;
    QLineEdit* min_;
    QLineEdit* max_;
    QLabel* shuntLabel_;
    QLineEdit* shunt_;

    LineEditField numberField_, r0Field_, resistanceLinesField_, voltageField_, lm235LinesField_, minField_,
        maxField_, shuntField_;
    ComboChoiceField kindField_;
    ButtonGroupChoiceField wiringField_;
    ListChoiceField materialField_;
    std::unique_ptr<SensorsTab> editor_;

    void drawGrid();
    void drawPanel();
    void selectRow(int row);
};

} // namespace vextor
