#include "ChartSettings.h"

#include "link/Cp1251.h"
#include "link/ReplacingFile.h"
#include "link/SerialPort.h"
#include "texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace vextor::monitor {

namespace {

constexpr int kScaleMinOffset = kSeriesCount * kTraceRecordSize; // 308
constexpr int kScaleMaxOffset = kScaleMinOffset + 4;
static_assert(kScaleMaxOffset + 4 == kColorsIniSize);

enum RecordField { OffsetField = 0, MultiplierField = 4, PlotField = 8, ColourField = 12, NameField = 16 };

void putFloat(QByteArray& b, int at, float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

void putWord32(QByteArray& b, int at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Reads a field only when its bytes are all in the file.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : b_(bytes) {}
    bool has(int at, int width) const { return at + width <= b_.size(); }
    uint8_t byte(int at) const { return static_cast<uint8_t>(b_[at]); }
    uint32_t word32(int at) const {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | byte(at + i);
        return v;
    }
    // A finite single, or keep.
    void single(int at, float& value) const {
        if (!has(at, 4))
            return;
        const uint32_t bits = word32(at);
        float v = 0;
        std::memcpy(&v, &bits, 4);
        if (std::isfinite(v))
            value = v;
    }
    QByteArray slice(int at, int width) const { return b_.mid(at, width); }

private:
    const QByteArray& b_;
};

} // namespace

uint32_t seriesColour(int series) {
    static constexpr std::array<uint32_t, kSeriesCount> colours = {
        kSilver, kBlack, kOrange, kLime, kAqua, kBlue, kGreen, kGreen, kGreen, kGreen, kGreen};
    return series >= 0 && series < kSeriesCount ? colours[static_cast<size_t>(series)] : kBlack;
}

QString seriesTitle(int series) {
    if (series == 0)
        return monitor_texts::kTimeSeries;
    if (series >= kFirstAnalogInSeries && series < kFirstAnalogInSeries + kAnalogInputs)
        return QStringLiteral("T %1").arg(series);
    return QStringLiteral("Series%1").arg(series);
}

ChartSettings defaultChartSettings() {
    ChartSettings s;
    for (int k = 0; k < kSeriesCount; ++k) {
        TraceSettings& t = s.traces[static_cast<size_t>(k)];
        t.colour = seriesColour(k);
        if (k >= kFirstAnalogInSeries && k < kFirstAnalogInSeries + kAnalogInputs)
            t.name = seriesTitle(k);
    }
    s.traces[kFirstAnalogInSeries].plot = true;
    return s;
}

std::array<TraceScale, kSeriesCount> traceScales(const ChartSettings& settings) {
    std::array<TraceScale, kSeriesCount> scales{};
    for (size_t k = 0; k < scales.size(); ++k)
        scales[k] = TraceScale{settings.traces[k].multiplier, settings.traces[k].offset};
    return scales;
}

QByteArray encodeColorsIni(const ChartSettings& s) {
    QByteArray b(kColorsIniSize, '\0');
    for (int k = 0; k < kSeriesCount; ++k) {
        const TraceSettings& t = s.traces[static_cast<size_t>(k)];
        const int at = k * kTraceRecordSize;
        putFloat(b, at + OffsetField, t.offset);
        putFloat(b, at + MultiplierField, t.multiplier);
        b[at + PlotField] = t.plot ? 1 : 0;
        putWord32(b, at + ColourField, t.colour);
        const QByteArray name = toCp1251(t.name.left(kTraceNameMax)).left(kTraceNameMax);
        b[at + NameField] = static_cast<char>(name.size());
        std::memcpy(b.data() + at + NameField + 1, name.constData(), static_cast<size_t>(name.size()));
    }
    putFloat(b, kScaleMinOffset, s.scaleMin);
    putFloat(b, kScaleMaxOffset, s.scaleMax);
    return b;
}

ChartSettings decodeColorsIni(const QByteArray& bytes) {
    ChartSettings s = defaultChartSettings();
    const Reader r(bytes);
    for (int k = 0; k < kSeriesCount; ++k) {
        TraceSettings& t = s.traces[static_cast<size_t>(k)];
        const int at = k * kTraceRecordSize;
        r.single(at + OffsetField, t.offset);
        r.single(at + MultiplierField, t.multiplier);
        if (r.has(at + PlotField, 1))
            t.plot = r.byte(at + PlotField) != 0;
        if (r.has(at + ColourField, 4))
            t.colour = r.word32(at + ColourField);
        if (r.has(at + NameField, 1)) {
            const int length = std::min<int>(r.byte(at + NameField), kTraceNameMax);
            // A name cut off by the end of the file keeps the characters that are there.
            t.name = fromCp1251(r.slice(at + NameField + 1, length));
        }
    }
    float low = s.scaleMin, high = s.scaleMax;
    r.single(kScaleMinOffset, low);
    r.single(kScaleMaxOffset, high);
    if (low < high) {
        s.scaleMin = low;
        s.scaleMax = high;
    }
    return s;
}

QString colorsIniPath(const QString& folder) {
    return QDir(folder.isEmpty() ? userConfigFolder() : folder).filePath(QString::fromLatin1(kColorsIniName));
}

ChartSettings loadChartSettings(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return defaultChartSettings();
    // Only the settings' own bytes count; whatever follows them is not looked at.
    return decodeColorsIni(f.read(kColorsIniSize));
}

bool saveChartSettings(const QString& path, const ChartSettings& settings, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    ReplacingFile file(path);
    const bool ok = file.open() && file.write(encodeColorsIni(settings)) && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

} // namespace vextor::monitor
