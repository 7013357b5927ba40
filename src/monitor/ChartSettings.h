#pragma once
// The chart trace settings and their file, Colors.ini: for each of the chart's eleven series its
// scaling, whether it is plotted, its colour and its name, and the common range of the value axis.
// The file is binary, little-endian, 316 bytes: eleven records of 28 bytes, then the axis minimum
// and maximum as singles.
//
//   record  0 offset (single)   4 multiplier (single)   8 plot (0 or 1)   12 colour (0x00BBGGRR)
//          16 name length 0..8  17 name (windows-1251)   9..11 and 25..27 unused, 0
//
// It lives in the user's configuration folder, beside Form.ini.
#include "PollSettings.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace vextor::monitor {

inline constexpr int kColorsIniSize = 316;
inline constexpr int kTraceRecordSize = 28;
inline constexpr int kTraceNameMax = 8;
inline constexpr char kColorsIniName[] = "Colors.ini";

// Colours as the chart settings keep them: 0x00BBGGRR.
inline constexpr uint32_t kSilver = 0xC0C0C0;
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kOrange = 33023; // 0x0080FF
inline constexpr uint32_t kLime = 0x00FF00;
inline constexpr uint32_t kAqua = 0xFFFF00;
inline constexpr uint32_t kBlue = 0xFF0000;
inline constexpr uint32_t kGreen = 0x008000;

struct TraceSettings {
    float offset = 0;
    float multiplier = 1.0f;
    bool plot = false;
    uint32_t colour = 0;
    QString name; // at most 8 characters
    bool operator==(const TraceSettings&) const = default;
};

struct ChartSettings {
    std::array<TraceSettings, kSeriesCount> traces;
    float scaleMin = 0;
    float scaleMax = 100;
    bool operator==(const ChartSettings&) const = default;
};

// The series' colours and titles as the chart creates them.
uint32_t seriesColour(int series);
QString seriesTitle(int series);

// With no Colors.ini: every trace unscaled and not plotted but the first analog input, in the
// series' own colour; names "T 1" to "T 6"; the axis 0 to 100.
ChartSettings defaultChartSettings();

// The trace scales the poller applies to its chart points.
std::array<TraceScale, kSeriesCount> traceScales(const ChartSettings& settings);

// The file's bytes of the settings; exactly kColorsIniSize.
QByteArray encodeColorsIni(const ChartSettings& settings);
// The settings in a file's bytes. A damaged file is read as far as it goes: a field that is cut
// short or not a number keeps its default, a name longer than 8 keeps its first 8 characters, and
// an axis whose minimum is not below its maximum is 0 to 100.
ChartSettings decodeColorsIni(const QByteArray& bytes);

// Colors.ini in folder, or in the user's configuration folder when folder is empty.
QString colorsIniPath(const QString& folder = {});
// The settings of the file at path; the defaults when it is missing or cannot be read.
ChartSettings loadChartSettings(const QString& path);
// Replaces the file as a whole; a failed save leaves the old file as it was. error gets the reason.
bool saveChartSettings(const QString& path, const ChartSettings& settings, QString* error = nullptr);

} // namespace vextor::monitor
