#pragma once
// The " Технол. Процесс" tab without its widgets: KindSystems bit 3, PresetAnyParam ("single"
// -10000,0..10000,0) and PIDKoef[2].
#include "SetPointControls.h"

namespace vextor {

class ProcessTab {
public:
    ProcessTab(ConfigImage& image, SetPointControls controls) : image_(image), c_(controls) {}
    void showProcess();
    void applyProcess();

private:
    ConfigImage& image_;
    SetPointControls c_;
};

} // namespace vextor
