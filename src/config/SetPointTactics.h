#pragma once
// The " СГВС " and " Технол. Процесс" tabs without their widgets: each turns its tactic on or off,
// holds one set point and its PID set.
#include "TacticFields.h"

namespace vextor {

struct SetPointControls {
    FlagField& on;
    EditField& preset;
    PIDControls pid;
};

struct PlainSetPointControls {
    PlainFlagField on;
    PlainEditField preset;
    PlainPIDControls pid;
    SetPointControls controls() { return {on, preset, pid.controls()}; }
};

// Hot water: KindSystems bit 2, PresetTempWaterHWP ("single" 0,0..100,0), PIDKoef[1].
class HotWaterTab {
public:
    HotWaterTab(ConfigImage& image, SetPointControls controls) : image_(image), c_(controls) {}
    void showHotWater();
    void applyHotWater();

private:
    ConfigImage& image_;
    SetPointControls c_;
};

// Technological process: KindSystems bit 3, PresetAnyParam ("single" -10000,0..10000,0), PIDKoef[2].
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
