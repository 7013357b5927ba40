#pragma once
// The "БУ и Ф" tab: the grid of the 32 conditions and the editor of one, bound to the headless
// ConditionsTab over ConfigImage.
#include "config/ConditionsTab.h"
#include "config/ConfigObserver.h"
#include "config/ui/fields/WidgetFields.h"
#include "config/ui/general/GeneralWidgetFields.h"

#include <QWidget>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vextor {

class ConditionsPage : public QWidget, public ConfigObserver {
public:
    ConditionsPage(ConfigImage& image, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~ConditionsPage() override;

    ConditionsTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override;
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

    QTableWidget* grid() const { return grid_; }
    QString cell(int row, int column) const;
    QComboBox* kindList() const { return kind_; }
    QLineEdit* numberEdit() const { return number_; }
    QLineEdit* adr1Edit() const { return adr1_; }
    QLineEdit* num1Edit() const { return num1_; }
    QLineEdit* time1Edit() const { return time1_; }
    QLineEdit* time2Edit() const { return time2_; }
    QLineEdit* set1Edit() const { return set1_; }
    QLineEdit* set2Edit() const { return set2_; }
    QLineEdit* outAddressEdit() const { return outAddress_; }
    QLineEdit* outNumberEdit() const { return outNumber_; }
    QLineEdit* ifValueEdit() const { return ifValue_; }
    QLineEdit* elseValueEdit() const { return elseValue_; }
    QLineEdit* dependencyEdit() const { return dependency_; }
    QRadioButton* outputTypeButton(int type) const { return outputButtons_[type]; }
    QGroupBox* operand1Group() const { return operand1_; }
    QGroupBox* operand2Group() const { return operand2_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* clearButton() const { return clear_; }

private:
    QTableWidget* grid_;
    QLineEdit* number_;
    QComboBox* kind_;
    QGroupBox* operand1_;
    QFormLayout* operand1Form_;
    QLineEdit *adr1_, *num1_, *time1_;
    QGroupBox* operand2_;
    QFormLayout* operand2Form_;
    QLineEdit *adr2_, *num2_, *time2_;
    QCheckBox* numberFlag_;
    QGroupBox* numberGroup_;
    QLineEdit* notch_;
    QWidget* setPoints_;
    QLineEdit *set1_, *set2_;
    QGroupBox* output_;
    QFormLayout* outputForm_;
    QButtonGroup* outputType_;
    QRadioButton* outputButtons_[3];
    QWidget* outputTypeRow_;
    QLineEdit *outAddress_, *outNumber_, *ifValue_, *elseValue_, *ifPriority_, *elsePriority_;
    QWidget* priorityRow_;
    QLineEdit* dependency_;
    QPushButton* apply_;
    QPushButton* clear_;

    LineEditField numberField_, adr1Field_, num1Field_, time1Field_, adr2Field_, num2Field_, time2Field_,
        notchField_, set1Field_, set2Field_, outAddressField_, outNumberField_, ifValueField_,
        elseValueField_, ifPriorityField_, elsePriorityField_, dependencyField_;
    ComboChoiceField kindField_;
    ButtonGroupChoiceField outputTypeField_;
    CheckBoxField numberFlagField_;
    std::unique_ptr<ConditionsTab> editor_;

    void drawGrid();
    void drawPanel();
    void selectRow(int row);
};

} // namespace vextor
