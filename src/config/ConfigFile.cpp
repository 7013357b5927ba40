#include "ConfigFile.h"
#include "link/LocalPath.h"

#include "ConfigLayout.h"
#include "link/NumericConversions.h"
#include "link/ReplacingFile.h"
#include "texts.h"

#include <QFile>
#include <QLocale>

#include <algorithm>

namespace vextor {
namespace {

using layout::Path;
using layout::Span;
using layout::span;

// One piece of the file: a run of image bytes, or reserved bytes of the file's own.
struct FilePiece {
    Span image;
    uint32_t reserved = 0;
};

// The file order, as runs of the controller image. The file widens the sensor and PID records with
// reserved bytes of its own, leaves out what belongs to the controller alone (Zarnet_Modbus, the
// factory block, SoundOn, TimeWorkPump, CfgVersion), and puts MB_Address first and the supply fan's
// start delay after the night start.
constexpr auto kFileOrder = [] {
    std::array<FilePiece, 50> pieces{};
    size_t n = 0;
    auto add = [&](Span s) { pieces[n++] = FilePiece{s, 0}; };
    auto gap = [&](uint32_t width) { pieces[n++] = FilePiece{{}, width}; };

    add(span("MB_Address"));
    add(span("MB_Params"));
    for (int i = 0; i < kSensorCount; ++i) {
        add(span(Path{"ArrSensors", i, "KindSensor"}, Path{"ArrSensors", i, "TypeClb"}));
        gap(2);
        // From Rbegin to the end of the record, whichever form its last four bytes take.
        const Span rest = span(Path{"ArrSensors", i, "Rbegin"});
        add(Span{rest.address, span(layout::element("ArrSensors", i)).end() - rest.address});
    }
    add(span("AdrNumAIn"));
    add(span("AdrNumAOut"));
    add(span("AdrNumDIn"));
    add(span("AdrNumDut"));
    add(span("SummerBegin", "DayBegin"));
    add(span("NightBegin"));
    add(span("DelayOnVent1"));
    add(span("DelayOnVent2", "TimeNoAsking"));
    add(span("PresetTempAir", "TempBWDeltaT"));
    add(span("DC1FullTime", "DAC2erTime"));
    add(span("Slaves"));
    add(span("DefaultSpeedInVent", "MaxQuantityHeat"));
    gap(3);
    add(span("KoefOutVent", "KoefCounters"));
    auto pids = [&](const char* name, int count) {
        for (int i = 0; i < count; ++i) {
            add(span(Path{name, i, "KProp"}, Path{name, i, "PeriodDif"}));
            gap(3);
        }
    };
    pids("SPVPIDKoef", kSPVPIDCount);
    pids("PIDKoef", kPIDCount);
    add(span("Conditions"));
    add(span("Calendars"));
    if (n != pieces.size())
        throw "the file order has a different number of pieces";
    return pieces;
}();

constexpr uint32_t fileOrderSize() {
    uint32_t size = 0;
    for (const FilePiece& p : kFileOrder)
        size += p.reserved + p.image.count;
    return size;
}
static_assert(fileOrderSize() == kConfigFileSize);

} // namespace

QString fileLogLine(const char* action, const QString& path, const QDateTime& now) {
    const QLocale locale = dateTimeFormats();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), QLocale::ShortFormat) + QLatin1Char(' ') + QString::fromUtf8(action) +
           path;
}

QByteArray configurationFileBytes(const ConfigImage& image) {
    layout::Encoder e(layout::Medium::File);
    layout::visitImage(image, e);
    QByteArray out;
    out.reserve(kConfigFileSize);
    for (const FilePiece& p : kFileOrder) {
        out.append(static_cast<qsizetype>(p.reserved), '\0');
        out.append(reinterpret_cast<const char*>(&e.bytes[p.image.address]), p.image.count);
    }
    return out;
}

int applyConfigurationFileBytes(ConfigImage& image, const QByteArray& bytes) {
    const auto* in = reinterpret_cast<const uint8_t*>(bytes.constData());
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    uint32_t pos = 0;
    // A field cut off by the end of the file is left as it was, and so is everything after it.
    for (const FilePiece& p : kFileOrder) {
        if (pos >= size)
            break;
        pos += p.reserved;
        if (p.image.count == 0 || pos >= size)
            continue;
        const uint32_t available = std::min(p.image.count, size - pos);
        layout::Decoder d(layout::Medium::File, p.image.address, available, in + pos);
        layout::visitImage(image, d);
        pos += p.image.count;
    }
    return static_cast<int>(std::min<qsizetype>(bytes.size(), kConfigFileSize));
}

ConfigFileResult saveConfigurationFile(const ConfigImage& image, const QString& path, const QDateTime& now) {
    ConfigFileResult result;
    const QByteArray bytes = configurationFileBytes(image);
    // Written beside the target and renamed over it once on disk: a full disk keeps the old file.
    ReplacingFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit()) {
        result.errorText = QString::fromUtf8(texts::kFileSaveFailed).arg(path, file.errorString());
        return result;
    }
    result.success = true;
    result.logLine = fileLogLine(texts::kLogSaveFile, path, now);
    return result;
}

ConfigFileResult loadConfigurationFile(ConfigImage& image, const QString& path, ConfigObserver* observer,
                                       const QDateTime& now) {
    ConfigFileResult result;
    if (!localPathExists(path)) {
        result.errorText = QString::fromUtf8(texts::kFileMissingPrefix) + QLatin1Char('"') + path +
                           QLatin1Char('"') + QString::fromUtf8(texts::kFileMissingSuffix);
        return result;
    }
    LocalFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorText = QString::fromUtf8(texts::kFileOpenFailed).arg(path, file.errorString());
        return result;
    }
    // One byte more than a configuration file tells a longer file (an event file picked by mistake)
    // from a configuration file without trusting the size the file system reports.
    const QByteArray bytes = file.read(kConfigFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        result.errorText = QString::fromUtf8(texts::kFileOpenFailed).arg(path, file.errorString());
        return result;
    }
    if (bytes.size() > kConfigFileSize) {
        const qint64 size = std::max<qint64>(file.size(), bytes.size());
        result.errorText = QString::fromUtf8(texts::kFileTooLong).arg(path).arg(size).arg(kConfigFileSize);
        return result;
    }
    file.close();

    applyConfigurationFileBytes(image, bytes);
    result.success = true;
    if (bytes.size() < kConfigFileSize)
        result.warningText =
            QString::fromUtf8(texts::kFileTooShort).arg(path).arg(bytes.size()).arg(kConfigFileSize);
    result.logLine = fileLogLine(texts::kLogOpenFile, path, now);
    if (observer) {
        observer->showFirstPage();
        observer->configurationChanged(kAllConfigViews | ViewCalendarLoaded);
        observer->selectFirstRows();
    }
    return result;
}

} // namespace vextor
