#include "ChartSettingsEntries.h"

#include "link/NumericConversions.h"

namespace vextor::monitor {

namespace {

// One number, checked on its own: the flag is cleared first so that every refusal is told.
float take(EditField* field, float current, bool& refused) {
    if (!field)
        return current;
    resetValueErrors();
    const float value = checkSingle(*field, kChartValueMin, kChartValueMax, current);
    if (valueErrorShown())
        refused = true;
    return value;
}

} // namespace

QString chartNumberText(float value) {
    const QString text = formatFixed(value, 4, 1);
    double back = 0;
    if (parseNumber(text, back) && static_cast<float>(back) == value)
        return text;
    return formatFloatShort(value);
}

void showChartEntries(const ChartSettings& settings, const ChartEntries& entries) {
    if (entries.scaleMin)
        entries.scaleMin->setText(chartNumberText(settings.scaleMin));
    if (entries.scaleMax)
        entries.scaleMax->setText(chartNumberText(settings.scaleMax));
    for (size_t k = 0; k < entries.traces.size(); ++k) {
        const TraceEntries& e = entries.traces[k];
        const TraceSettings& t = settings.traces[k];
        if (e.offset)
            e.offset->setText(chartNumberText(t.offset));
        if (e.multiplier)
            e.multiplier->setText(chartNumberText(t.multiplier));
        if (e.plot)
            e.plot->setChecked(t.plot);
        if (e.colour)
            e.colour->setColour(t.colour);
        if (e.name)
            e.name->setText(t.name);
    }
}

bool applyChartEntries(const ChartEntries& entries, ChartSettings& settings) {
    bool refused = false;
    settings.scaleMin = take(entries.scaleMin, settings.scaleMin, refused);
    settings.scaleMax = take(entries.scaleMax, settings.scaleMax, refused);
    for (size_t k = 0; k < entries.traces.size(); ++k) {
        const TraceEntries& e = entries.traces[k];
        TraceSettings& t = settings.traces[k];
        t.offset = take(e.offset, t.offset, refused);
        t.multiplier = take(e.multiplier, t.multiplier, refused);
        if (e.plot)
            t.plot = e.plot->isChecked();
        if (e.colour)
            t.colour = e.colour->colour();
        if (e.name)
            t.name = e.name->text().left(kTraceNameMax);
    }
    resetValueErrors();
    return !refused;
}

} // namespace vextor::monitor
