#include "SetPointControls.h"

namespace vextor {

void showSetPoint(const ConfigImage& im, uint8_t kindBit, float preset, int pid, const SetPointControls& c) {
    c.on.setChecked(im.KindSystems & kindBit);
    c.preset.setText(oneDecimal(preset));
    showPID(im.PIDKoef[pid], c.pid);
}

void applySetPoint(ConfigImage& im, uint8_t kindBit, float& preset, const QString& minText,
                   const QString& maxText, int pid, const SetPointControls& c) {
    resetValueErrors();
    setBits(im.KindSystems, kindBit, c.on.isChecked());
    storeFloat(c.preset, preset, minText, maxText);
    applyPID(im.PIDKoef[pid], c.pid);
}

} // namespace vextor
