// Colors.ini, the chart's trace settings, read from the disk.
#include "FuzzSupport.h"

#include "monitor/ChartSettings.h"

#include <cmath>

using namespace vextor;
using namespace vextor::fuzz;
using namespace vextor::monitor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = scratchFile("Colors.ini", data, size);
    const ChartSettings s = loadChartSettings(path);
    FUZZ_CHECK(s ==
               decodeColorsIni(QByteArray(reinterpret_cast<const char*>(data),
                                          static_cast<qsizetype>(std::min<size_t>(size, kColorsIniSize)))));
    for (const TraceSettings& t : s.traces) {
        FUZZ_CHECK(std::isfinite(t.offset) && std::isfinite(t.multiplier));
        FUZZ_CHECK(t.name.size() <= kTraceNameMax);
    }
    FUZZ_CHECK(std::isfinite(s.scaleMin) && std::isfinite(s.scaleMax) && s.scaleMin < s.scaleMax);
    // Saved and read again, the settings are the same.
    const QByteArray saved = encodeColorsIni(s);
    FUZZ_CHECK(saved.size() == kColorsIniSize);
    FUZZ_CHECK(decodeColorsIni(saved) == s);
    return 0;
}
