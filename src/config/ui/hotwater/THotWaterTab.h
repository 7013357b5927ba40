#pragma once
// The " СГВС " tab: the hot-water tactic, its set point and PID set, bound to the headless
// HotWaterTab over ConfigImage.
#include "config/ui/tactics/TacticWidgets.h"

#include <memory>

namespace vextor {

class THotWaterTab : public TSetPointTab {
public:
    explicit THotWaterTab(ConfigImage& image, QWidget* parent = nullptr);
    ~THotWaterTab() override;
    HotWaterTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

private:
    std::unique_ptr<HotWaterTab> editor_;
};

} // namespace vextor
