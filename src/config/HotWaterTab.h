#pragma once
// The " СГВС " tab without its widgets: KindSystems bit 2, PresetTempWaterHWP ("single" 0,0..100,0)
// and PIDKoef[1].
#include "SetPointControls.h"

namespace vextor {

class HotWaterTab {
public:
    HotWaterTab(ConfigImage& image, SetPointControls controls) : image_(image), c_(controls) {}
    void showHotWater();
    void applyHotWater();

private:
    ConfigImage& image_;
    SetPointControls c_;
};

} // namespace vextor
