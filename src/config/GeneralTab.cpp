#include "GeneralTab.h"

#include "GeneralTexts.h"
#include "OptionBits.h"
#include "SensorsTab.h"
#include "link/NumericConversions.h"

namespace vextor {

namespace t = general_texts;

namespace {

uint8_t checkByte(EditField& field, const QString& maxText, uint8_t current) {
    return static_cast<uint8_t>(checkInteger(field, t::kByteMin, maxText, current));
}

// A time whose bytes form no time of day shows midnight; the bytes stay until an apply.
QTime shownTime(uint8_t h, uint8_t m, uint8_t s) {
    const QTime time(h, m, s);
    return time.isValid() ? time : QTime(0, 0);
}

void applySeason(DateTimePoint& p, const DateField& date, const TimeField& time) {
    if (const std::optional<QDate> d = date.date(); d && d->isValid()) {
        p.Day = static_cast<uint8_t>(d->day());
        p.Month = static_cast<uint8_t>(d->month());
        p.Year = static_cast<uint8_t>((d->year() + 48) & 0xFF); // year - 2000, eight bits
    }
    const QTime tm = time.time();
    p.Hour = static_cast<uint8_t>(tm.hour());
    p.Minute = static_cast<uint8_t>(tm.minute());
    p.Second = 0;
}

void applyTimeOfDay(TimeOfDay& p, const TimeField& time) {
    const QTime tm = time.time();
    p.Hour = static_cast<uint8_t>(tm.hour());
    p.Minute = static_cast<uint8_t>(tm.minute());
    p.Second = 0;
}

} // namespace

std::optional<QDate> seasonDate(const DateTimePoint& p) {
    const QDate d(2000 + p.Year, p.Month, p.Day);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

GeneralTab::GeneralTab(ConfigImage& image, GeneralControls controls, SlavesEditor& slaves)
    : image_(image), c_(controls), slaves_(slaves) {}

void GeneralTab::showGeneral() {
    const ConfigImage& im = image_;
    c_.summerDate.setDate(seasonDate(im.SummerBegin));
    c_.summerTime.setTime(shownTime(im.SummerBegin.Hour, im.SummerBegin.Minute, im.SummerBegin.Second));
    c_.winterDate.setDate(seasonDate(im.WinterBegin));
    c_.winterTime.setTime(shownTime(im.WinterBegin.Hour, im.WinterBegin.Minute, im.WinterBegin.Second));
    c_.dayTime.setTime(shownTime(im.DayBegin.Hour, im.DayBegin.Minute, im.DayBegin.Second));
    c_.nightTime.setTime(shownTime(im.NightBegin.Hour, im.NightBegin.Minute, im.NightBegin.Second));
    c_.delayFlowCtrl.setText(QString::number(im.DelayFlowCtrl));
    c_.quantityAttemptLink.setText(QString::number(im.QuantityAttemptLink));
    c_.timeNoAsking.setText(QString::number(im.TimeNoAsking));
    c_.dac1Range.setChecked(im.Options & kOptDac1Range);
    c_.dac2Range.setChecked(im.Options & kOptDac2Range);
    c_.overload1.setChecked(im.Options & kOptDac1Overload);
    c_.overload2.setChecked(im.Options & kOptDac2Overload);
    c_.dac1Percent.setText(QString::number(im.DAC1erProcent));
    c_.dac1Time.setText(QString::number(im.DAC1erTime));
    c_.dac2Percent.setText(QString::number(im.DAC2erProcent));
    c_.dac2Time.setText(QString::number(im.DAC2erTime));
    for (size_t i = 0; i < c_.counters.size(); ++i)
        c_.counters[i]->setText(formatFixed(im.KoefCounters[i], 6, 4));
    slaves_.showSlaves();
}

void GeneralTab::applyGeneral() {
    resetValueErrors();
    ConfigImage& im = image_;
    applySeason(im.SummerBegin, c_.summerDate, c_.summerTime);
    applySeason(im.WinterBegin, c_.winterDate, c_.winterTime);
    applyTimeOfDay(im.DayBegin, c_.dayTime);
    applyTimeOfDay(im.NightBegin, c_.nightTime);
    im.DelayFlowCtrl = checkByte(c_.delayFlowCtrl, t::kByteMax, im.DelayFlowCtrl);
    im.QuantityAttemptLink = checkByte(c_.quantityAttemptLink, t::kByteMax, im.QuantityAttemptLink);
    im.TimeNoAsking = checkByte(c_.timeNoAsking, t::kByteMax, im.TimeNoAsking);
    setBits(im.Options, kOptDac1Range, c_.dac1Range.isChecked());
    setBits(im.Options, kOptDac2Range, c_.dac2Range.isChecked());
    setBits(im.Options, kOptDac1Overload, c_.overload1.isChecked());
    setBits(im.Options, kOptDac2Overload, c_.overload2.isChecked());
    im.DAC1erProcent = checkByte(c_.dac1Percent, t::kPercentMax, im.DAC1erProcent);
    im.DAC1erTime = checkByte(c_.dac1Time, t::kByteMax, im.DAC1erTime);
    im.DAC2erProcent = checkByte(c_.dac2Percent, t::kPercentMax, im.DAC2erProcent);
    im.DAC2erTime = checkByte(c_.dac2Time, t::kByteMax, im.DAC2erTime);
    slaves_.applySlaves();
    for (size_t i = 0; i < c_.counters.size(); ++i)
        im.KoefCounters[i] =
            checkImageSingle(*c_.counters[i], t::kCounterMin, t::kCounterMax, im.KoefCounters[i]);
}

} // namespace vextor
