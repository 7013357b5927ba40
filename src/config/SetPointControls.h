#pragma once
// What the " СГВС " and " Технол. Процесс" tabs share: each turns its tactic on or off, holds one set
// point and its PID set.
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

// The tactic's KindSystems bit, its set point with one decimal and PIDKoef[pid].
void showSetPoint(const ConfigImage& im, uint8_t kindBit, float preset, int pid, const SetPointControls& c);
// "Применить": the bit, the set point ("single" minText..maxText), then the PID set.
void applySetPoint(ConfigImage& im, uint8_t kindBit, float& preset, const QString& minText,
                   const QString& maxText, int pid, const SetPointControls& c);

} // namespace vextor
