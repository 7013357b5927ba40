#pragma once
// The " СГВС " tab: the hot-water tactic, its set point and PID set, bound to the headless
// HotWaterTab over ConfigImage.
#include "config/HotWaterTab.h"
#include "config/ui/tactics/SetPointPage.h"

#include <memory>

namespace vextor {

class HotWaterPage : public SetPointPage {
public:
    explicit HotWaterPage(ConfigImage& image, QWidget* parent = nullptr);
    ~HotWaterPage() override;
    HotWaterTab& editor() { return *editor_; }
    void configurationChanged(ConfigViews views) override;

private:
    std::unique_ptr<HotWaterTab> editor_;
};

} // namespace vextor
