#include "RecuperationTab.h"

#include "TacticTexts.h"

namespace vextor {

namespace t = tactic_texts;

int recuperationItem(uint8_t kindSystems) {
    const uint8_t bits = kindSystems & kKindRecuperationMask;
    for (size_t i = 0; i < kRecuperationBits.size(); ++i)
        if (bits == kRecuperationBits[i])
            return static_cast<int>(i);
    return kRecupNone;
}

RecuperationTab::RecuperationTab(ConfigImage& image, RecuperationControls controls)
    : image_(image), c_(controls) {}

void RecuperationTab::showRecuperation() {
    ConfigImage& im = image_;
    const int item = recuperationItem(im.KindSystems);
    if (item == kRecupNone)
        im.KindSystems &= static_cast<uint8_t>(~kKindRecuperationMask);
    c_.kind.setCurrentIndex(item);
    entry(kEntryWinterDeltaTmin).setText(QString::number(im.RecupWinterDeltaTmin));
    showWinterUmin(item == kRecupTubular);
    entry(kEntryWinterDeltaTmax).setText(QString::number(im.RecupWinterDeltaTmax));
    entry(kEntryWinterUmax).setText(tenthsText(im.RecupWinterUmax));
    entry(kEntrySummerDeltaTmin).setText(QString::number(im.RecupSummerDeltaTmin));
    entry(kEntrySummerUmin).setText(tenthsText(im.RecupSummerUmin));
    entry(kEntrySummerDeltaTmax).setText(QString::number(im.RecupSummerDeltaTmax));
    entry(kEntrySummerUmax).setText(tenthsText(im.RecupSummerUmax));
    entry(kEntryTminGlick).setText(QString::number(im.TminGlick));
    showPID(im.PIDKoef[kRecuperationPID], c_.pid);
    showRecuperationKind();
}

void RecuperationTab::showWinterUmin(bool percent) {
    winterUminAsPercent_ = percent;
    entry(kEntryWinterUmin)
        .setText(percent ? QString::number(image_.RecupWinterUmin) : tenthsText(image_.RecupWinterUmin));
}

void RecuperationTab::showRecuperationKind() {
    const int item = c_.kind.currentIndex();
    const bool tubular = item == kRecupTubular;
    if (tubular != winterUminAsPercent_)
        showWinterUmin(tubular);

    RecuperationPanel p;
    const bool recuperator = item >= kRecupDamper && item < kRecupNone;
    p.parametersVisible = recuperator;
    p.pidVisible = recuperator && item != kRecupDamper;
    auto show = [&p](RecupEntry e, const QString& caption) { p.entries[e] = {true, caption}; };
    switch (item) {
    case kRecupDamper:
        p.winterVisible = p.summerVisible = true;
        show(kEntryWinterDeltaTmin, t::kWinterDeltaTmin);
        show(kEntryWinterUmin, t::kUmin);
        show(kEntryWinterDeltaTmax, t::kWinterDeltaTmax);
        show(kEntryWinterUmax, t::kUmaxVolts);
        show(kEntrySummerDeltaTmin, t::kSummerDeltaTmin);
        show(kEntrySummerUmin, t::kUmin);
        show(kEntrySummerDeltaTmax, t::kSummerDeltaTmax);
        show(kEntrySummerUmax, t::kUmax);
        break;
    case kRecupRotary:
        p.summerVisible = true;
        show(kEntrySummerUmin, t::kRotaryOff);
        show(kEntrySummerUmax, t::kRotaryOn);
        break;
    case kRecupTubular:
        p.winterVisible = true;
        p.tubularNoteVisible = true;
        show(kEntryWinterUmin, t::kTubularOpening);
        break;
    case kRecupGlycol:
        p.glycolVisible = true;
        show(kEntryTminGlick, t::kTminGlick);
        break;
    default:
        break;
    }
    panel_ = p;
    if (panelChanged)
        panelChanged();
}

void RecuperationTab::applyRecuperation() {
    ConfigImage& im = image_;
    resetValueErrors();
    const int item = c_.kind.currentIndex();
    im.KindSystems &= static_cast<uint8_t>(~kKindRecuperationMask);
    if (item < kRecupDamper || item >= kRecupNone)
        return;
    im.KindSystems |= kRecuperationBits[item];
    switch (item) {
    case kRecupDamper:
        storeI8(entry(kEntryWinterDeltaTmin), im.RecupWinterDeltaTmin);
        storeTenths(entry(kEntryWinterUmin), im.RecupWinterUmin);
        storeI8(entry(kEntryWinterDeltaTmax), im.RecupWinterDeltaTmax);
        storeTenths(entry(kEntryWinterUmax), im.RecupWinterUmax);
        storeI8(entry(kEntrySummerDeltaTmin), im.RecupSummerDeltaTmin);
        storeTenths(entry(kEntrySummerUmin), im.RecupSummerUmin);
        storeI8(entry(kEntrySummerDeltaTmax), im.RecupSummerDeltaTmax);
        storeTenths(entry(kEntrySummerUmax), im.RecupSummerUmax);
        return; // the damper has no PID set
    case kRecupRotary:
        storeTenths(entry(kEntrySummerUmin), im.RecupSummerUmin);
        storeTenths(entry(kEntrySummerUmax), im.RecupSummerUmax);
        break;
    case kRecupTubular:
        storeU8(entry(kEntryWinterUmin), im.RecupWinterUmin, t::kByteMin, t::kPercentMax);
        break;
    default: // glycol
        storeI8(entry(kEntryTminGlick), im.TminGlick);
        break;
    }
    applyPID(im.PIDKoef[kRecuperationPID], c_.pid);
}

} // namespace vextor
