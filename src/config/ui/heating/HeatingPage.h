#pragma once
// The " СОт " tab: the heating tactic's flags, shifts, cascade, the return-water minimum it shares
// with " СПВ ", the two curves and the PID set, bound to the headless HeatingTab over ConfigImage.
#include "config/HeatingTab.h"
#include "config/ui/tactics/CurvePanel.h"
#include "config/ui/tactics/PidPanel.h"
#include "config/ui/tactics/TacticPage.h"

#include <memory>

class QLineEdit;

namespace vextor {

class HeatingPage : public TacticPage {
public:
    explicit HeatingPage(ConfigImage& image, QWidget* parent = nullptr);
    ~HeatingPage() override;

    HeatingTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

    // The entry of " Дублирует СПВ ": the " СПВ " refresh sets it too.
    LineEditField& minTempBackWaterField() { return minTempBackWater_; }

    QCheckBox* heatingOn() const { return heatingOn_.widget(); }
    QCheckBox* nightShift() const { return nightShift_.widget(); }
    QLineEdit* deltaTNightDayEdit() const { return deltaTNightDay_.widget(); }
    QLineEdit* minTempBackWaterEdit() const { return minTempBackWater_.widget(); }
    QLineEdit* timeWorkPumpEdit() const { return timeWorkPump_.widget(); }
    CurvePanel* heatingCurve() const { return heatingCurve_; }
    CurvePanel* overheatCurve() const { return overheatCurve_; }
    PidPanel* pid() const { return pid_; }

private:
    CheckBoxField heatingOn_, overheatControl_, overcoolControl_, cascade_, weekendShift_, nightShift_,
        alternatePumps_;
    LineEditField deltaTNightDay_, deltaTWeekend_, corrTHeat_, cascadeKoef_, minTempBackWater_, timeWorkPump_;
    CurvePanel* heatingCurve_;
    CurvePanel* overheatCurve_;
    PidPanel* pid_;
    std::unique_ptr<HeatingTab> editor_;

    void buildPage();
};

} // namespace vextor
