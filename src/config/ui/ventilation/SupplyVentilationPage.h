#pragma once
// The " СПВ " tab: the supply air handling unit's entries, flags, warm-up mode, night curve and
// three PID pages, bound to the headless SupplyVentilationTab over ConfigImage.
#include "config/SupplyVentilationTab.h"
#include "config/ui/fields/WidgetFields.h"
#include "config/ui/tactics/CurvePanel.h"
#include "config/ui/tactics/PidPanel.h"
#include "config/ui/tactics/TacticPage.h"

#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace vextor {

class SupplyVentilationPage : public TacticPage {
public:
    explicit SupplyVentilationPage(ConfigImage& image, QWidget* parent = nullptr);
    ~SupplyVentilationPage() override;

    SupplyVentilationTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

    // Controls, for the window and its tests.
    QCheckBox* spvOn() const { return spvOn_.widget(); }
    QCheckBox* nightCurveOn() const { return nightCurve_.widget(); }
    QButtonGroup* warmingModes() const { return warmingGroup_; }
    QLabel* warmingCaption() const { return warmingCaption_; }
    QLineEdit* warmingEdit() const { return warming_.widget(); }
    QLineEdit* presetTempAirEdit() const { return presetTempAir_.widget(); }
    QLineEdit* minTempBackWaterEdit() const { return minTempBackWater_.widget(); }
    QLineEdit* timeTempOffPumpHEdit() const { return timeTempOffPumpH_.widget(); }
    QLineEdit* tempDownNotchEdit() const { return tempDownNotch_.widget(); }
    QLineEdit* koefOutVentEdit() const { return koefOutVent_.widget(); }
    CurvePanel* nightCurve() const { return night_; }
    QTabWidget* pidPages() const { return pidTabs_; }
    PidPanel* pid(int page) const { return pid_[static_cast<size_t>(page)]; }

private:
    LineEditField delayOnVent1_, delayOnVent2_, timeHeatDoor_;
    CheckBoxField spvOn_, warmingByOutdoor_, weekendOff_, cascade_, fallingPreset_, nightCurve_;
    LineEditField presetTempAir_;
    QButtonGroup* warmingGroup_;
    ButtonGroupChoiceField warmingMode_;
    QLabel* warmingCaption_;
    LineEditField warming_, cascadeKoef_, histeresis_;
    LineEditField tempOffPumpH_, tempOffPumpC_, timeTempOffPumpH_, timeTempOffPumpC_;
    LineEditField minTempBackWater_, presetTempBWNight_, tempDownNotch_, timeDownNotch_;
    LineEditField botBorderHeating_, botBorderCooling_;
    CurvePanel* night_;
    LineEditField speedIn_, speedOut_, maxQuantityHeat_, koefOutVent_;
    QTabWidget* pidTabs_;
    std::array<PidPanel*, kSPVPIDCount> pid_;
    TabPageChoiceField pidPage_;
    std::unique_ptr<SupplyVentilationTab> editor_;

    void buildPage();
};

} // namespace vextor
