#pragma once
// The entries of the chart settings window, headless: filling them from the held settings and
// taking them back. The window puts its widgets behind the field seams; tests use the plain ones.
#include "ChartSettings.h"
#include "link/EditField.h"

#include <QString>
#include <array>
#include <cstdint>

namespace vextor::monitor {

// A colour swatch, 0x00BBGGRR.
class ColourField {
public:
    virtual ~ColourField() = default;
    virtual uint32_t colour() const = 0;
    virtual void setColour(uint32_t colour) = 0;
};

class PlainColourField : public ColourField {
public:
    explicit PlainColourField(uint32_t colour = 0) : colour_(colour) {}
    uint32_t colour() const override { return colour_; }
    void setColour(uint32_t colour) override { colour_ = colour; }

private:
    uint32_t colour_;
};

// Every number of the chart settings lies within these.
inline const QString kChartValueMin = QStringLiteral("-1000000,0");
inline const QString kChartValueMax = QStringLiteral("1000000,0");

// A number as the window's fields show it: one decimal, decimal comma ("1,0", "-12,5"); a value that
// one decimal would round shows as many as it needs ("0,125"), so that applying the window
// unchanged never changes a setting.
QString chartNumberText(float value);

// The entries of one trace. A trace without a field of some kind leaves it null: the time series
// has none at all, and only the analog inputs have a name.
struct TraceEntries {
    EditField* offset = nullptr;
    EditField* multiplier = nullptr;
    FlagField* plot = nullptr;
    ColourField* colour = nullptr;
    EditField* name = nullptr;
};

struct ChartEntries {
    EditField* scaleMin = nullptr;
    EditField* scaleMax = nullptr;
    std::array<TraceEntries, kSeriesCount> traces{};
};

void showChartEntries(const ChartSettings& settings, const ChartEntries& entries);

// Takes the entries into settings. Every number is checked on its own, so that one refused entry
// neither hides the next one's message nor keeps the next one from being taken: a refused entry is
// told and keeps its value in settings, and the rest is taken. The minimum and maximum of the axis
// are not compared here (a load puts a reversed axis right). False when something was refused. The
// one-message flag is clear before and after, so that an earlier refusal elsewhere silences nothing
// here and a refusal here silences nothing elsewhere.
bool applyChartEntries(const ChartEntries& entries, ChartSettings& settings);

} // namespace vextor::monitor
