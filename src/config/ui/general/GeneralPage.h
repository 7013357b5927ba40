#pragma once
// The tab " Общие " (with the group " Ведомые "), bound to the headless GeneralTab and SlavesEditor
// over ConfigImage.
#include "GeneralWidgetFields.h"
#include "config/ConfigObserver.h"
#include "config/GeneralTab.h"
#include "config/ui/fields/WidgetFields.h"

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QLayout;
class QResizeEvent;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace vextor {

class GeneralPage : public QWidget, public ConfigObserver {
public:
    explicit GeneralPage(ConfigImage& image, QWidget* parent = nullptr);
    ~GeneralPage() override;

    GeneralTab& editor() { return *editor_; }
    SlavesEditor& slaves() { return *slaves_; }
    void configurationChanged(ConfigViews views) override;
    void selectFirstRows() override {}
    void showFirstPage() override {}
    void setTransferRunning(bool running) override;

    QDateEdit* summerDateEdit() const { return summerDate_; }
    QTimeEdit* summerTimeEdit() const { return summerTime_; }
    QLineEdit* delayFlowCtrlEdit() const { return delayFlowCtrl_; }
    QLineEdit* dac1PercentEdit() const { return dac1Percent_; }
    QLineEdit* counterEdit(int i) const { return counters_[i]; }
    QCheckBox* dac1RangeBox() const { return dac1Range_; }
    QCheckBox* overload2Box() const { return overload2_; }
    QLineEdit* slaveAddressEdit(int row) const { return slaveAddress_[row]; }
    QComboBox* slaveTypeList(int row) const { return slaveType_[row]; }
    QComboBox* slaveFrameList(int row) const { return slaveFrame_[row]; }
    QComboBox* slaveBaudList(int row) const { return slaveBaud_[row]; }
    QPushButton* addButton(int index) const { return addButtons_[index]; }
    QPushButton* removeLastButton() const { return removeLast_; }
    QPushButton* applyButton() const { return apply_; }

private:
    QDateEdit* summerDate_;
    QTimeEdit* summerTime_;
    QDateEdit* winterDate_;
    QTimeEdit* winterTime_;
    QTimeEdit* dayTime_;
    QTimeEdit* nightTime_;
    QLineEdit* delayFlowCtrl_;
    QLineEdit* quantityAttemptLink_;
    QLineEdit* timeNoAsking_;
    QCheckBox* dac1Range_;
    QCheckBox* dac2Range_;
    QCheckBox* overload1_;
    QCheckBox* overload2_;
    QLineEdit* dac1Percent_;
    QLineEdit* dac1Time_;
    QLineEdit* dac2Percent_;
    QLineEdit* dac2Time_;
    std::array<QLineEdit*, 4> counters_{};
    std::array<QLineEdit*, kSlaveCount> slaveAddress_{};
    std::array<QComboBox*, kSlaveCount> slaveType_{}, slaveFrame_{}, slaveBaud_{};
    std::array<QPushButton*, kSlaveButtonCount> addButtons_{};
    QPushButton* removeLast_;
    QPushButton* apply_;

    DateEditField summerDateField_, winterDateField_;
    TimeEditField summerTimeField_, winterTimeField_, dayTimeField_, nightTimeField_;
    LineEditField delayFlowCtrlField_, quantityAttemptLinkField_, timeNoAskingField_, dac1PercentField_,
        dac1TimeField_, dac2PercentField_, dac2TimeField_;
    CheckBoxField dac1RangeField_, dac2RangeField_, overload1Field_, overload2Field_;
    std::vector<std::unique_ptr<LineEditField>> counterFields_, slaveAddressFields_;
    std::vector<std::unique_ptr<ComboChoiceField>> slaveChoiceFields_;
    std::unique_ptr<SlavesEditor> slaves_;
    std::unique_ptr<GeneralTab> editor_;
    bool transferRunning_ = false;
    QBoxLayout* columns_ = nullptr;
    QLayout* leftColumn_ = nullptr;
    QLayout* rightColumn_ = nullptr;

    void drawSlaves();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace vextor
