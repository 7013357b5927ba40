#include "ConfigFile.h"

#include "link/NumericConversions.h"
#include "link/ReplacingFile.h"
#include "texts.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace vextor {
namespace {

// The file order of the image fields. The visitor sees each field in turn (the position is its
// own business): u8, i8, u16, f32, raw4 (four bytes kept as they are), reserved(n).
template <class Image, class V> void visitFileOrder(Image& im, V& v) {
    v.u8(im.MB_Address);
    v.u8(im.MB_Params);
    for (auto& s : im.ArrSensors) {
        v.u8(s.KindSensor);
        v.u8(s.TypeClb);
        v.reserved(2);
        v.f32(s.Rbegin);
        v.f32(s.Rline);
        // The kind was just read (or is about to be written), so it decides the tail.
        if (s.KindSensor == kRawSensorKind)
            v.raw4(s.Byte);
        else
            v.f32(s.FValue);
    }
    auto pairs = [&](auto& table, int count) {
        for (int i = 0; i < count; ++i) {
            v.u8(table[i].Adr);
            v.u8(table[i].Num);
        }
    };
    pairs(im.AdrNumAIn, kAnalogInCount);
    pairs(im.AdrNumAOut, kAnalogOutCount);
    pairs(im.AdrNumDIn, kDiscreteInCount);
    pairs(im.AdrNumDut, kDiscreteOutCount);
    for (auto* p : {&im.SummerBegin, &im.WinterBegin})
        for (auto* b : {&p->Hour, &p->Minute, &p->Second, &p->Day, &p->Month, &p->Year})
            v.u8(*b);
    for (auto* t : {&im.DayBegin, &im.NightBegin})
        for (auto* b : {&t->Hour, &t->Minute, &t->Second})
            v.u8(*b);
    // Unlike the controller image, the start delay of the supply fan comes after the night start.
    v.u8(im.DelayOnVent1);
    v.u8(im.DelayOnVent2);
    v.u8(im.TimeHeatDoor);
    v.u8(im.DelayFlowCtrl);
    v.i8(im.TminGlick);
    v.u8(im.KindSystems);
    v.u16(im.Options);
    v.u8(im.QuantityAttemptLink);
    v.u8(im.TimeNoAsking);
    for (auto* f : {&im.PresetTempAir, &im.PresetTempWarming, &im.PresetTempWaterHWP, &im.PresetAnyParam,
                    &im.DeltaTNightDay, &im.DeltaTWeekend, &im.CorrTHeat, &im.SPVCascadeKoef,
                    &im.SHCascadeKoef, &im.Histeresis})
        v.f32(*f);
    v.u8(im.TempOffPumpH);
    v.u8(im.TempOffPumpC);
    v.u16(im.TimeTempOffPumpH);
    v.u16(im.TimeTempOffPumpC);
    v.u8(im.MinTempBackWater);
    v.u8(im.PresetTempBWNight);
    v.u8(im.PresetTimeWarming);
    v.i8(im.TempDownNotch);
    v.u16(im.TimeDownNotch);
    v.u8(im.BotBorderForHeating);
    v.u8(im.BotBorderForCooling);
    v.i8(im.RecupWinterDeltaTmin);
    v.u8(im.RecupWinterUmin);
    v.i8(im.RecupWinterDeltaTmax);
    v.u8(im.RecupWinterUmax);
    v.i8(im.RecupSummerDeltaTmin);
    v.u8(im.RecupSummerUmin);
    v.i8(im.RecupSummerDeltaTmax);
    v.u8(im.RecupSummerUmax);
    for (auto* table : {&im.TempStTempBW, &im.TempStTempH, &im.TempBWDeltaT})
        for (auto& p : *table) {
            v.i8(p.Arg);
            v.i8(p.Value);
        }
    for (auto* b :
         {&im.DC1FullTime, &im.DC1MinTime, &im.DC1LuftTime, &im.DC2FullTime, &im.DC2MinTime, &im.DC2LuftTime,
          &im.DCFlags, &im.DAC1erProcent, &im.DAC1erTime, &im.DAC2erProcent, &im.DAC2erTime})
        v.u8(*b);
    for (auto& s : im.Slaves) {
        v.u8(s.Address);
        v.u8(s.Type);
        v.u8(s.Options);
    }
    v.u8(im.DefaultSpeedInVent);
    v.u8(im.DefaultSpeedOutVent);
    v.u8(im.MaxQuantityHeat);
    v.reserved(3);
    v.f32(im.KoefOutVent);
    for (auto& k : im.KoefCounters)
        v.f32(k);
    auto pid = [&](auto& p) {
        v.f32(p.KProp);
        v.f32(p.KInt);
        v.f32(p.KDif);
        v.f32(p.StartIntError);
        v.u8(p.PeriodDif);
        v.reserved(3);
    };
    for (auto& p : im.SPVPIDKoef)
        pid(p);
    for (auto& p : im.PIDKoef)
        pid(p);
    for (auto& c : im.Conditions) {
        for (auto* b : {&c.Kind, &c.AdrInput1, &c.NumInput1, &c.AdrInput2, &c.NumInput2, &c.AdrOutput,
                        &c.NumOutput, &c.IfValueOutput, &c.ElseValueOutput, &c.Flags, &c.Priority, &c.Memo})
            v.u8(*b);
        v.f32(c.Notch);
    }
    for (int m = 0; m < kCalendarMonths; ++m)
        for (int k = 0; k < kCalendarBytes; ++k)
            v.u8(im.Calendars[k][m]);
}

struct FileWriter {
    QByteArray out;
    void u8(uint8_t x) { out.append(static_cast<char>(x)); }
    void i8(int8_t x) { out.append(static_cast<char>(x)); }
    void u16(uint16_t x) {
        uint8_t b[2];
        wordToImage(x, b);
        out.append(reinterpret_cast<const char*>(b), 2);
    }
    void f32(float x) {
        uint8_t b[4];
        floatToImage(x, b);
        out.append(reinterpret_cast<const char*>(b), 4);
    }
    void raw4(const std::array<uint8_t, 4>& b) { out.append(reinterpret_cast<const char*>(b.data()), 4); }
    void reserved(int n) { out.append(n, '\0'); }
};

struct FileReader {
    const QByteArray& in;
    int pos = 0;
    // The next width bytes, or null when the file ends before them; the position moves anyway, so
    // nothing after a cut-off field is read either.
    const uint8_t* take(int width) {
        const uint8_t* p =
            pos + width <= in.size() ? reinterpret_cast<const uint8_t*>(in.constData()) + pos : nullptr;
        pos += width;
        return p;
    }
    void u8(uint8_t& x) {
        if (auto p = take(1))
            x = *p;
    }
    void i8(int8_t& x) {
        if (auto p = take(1))
            x = static_cast<int8_t>(*p);
    }
    void u16(uint16_t& x) {
        if (auto p = take(2))
            x = wordFromImage(p);
    }
    // Floats are kept as they were saved: no plausibility rule for a file.
    void f32(float& x) {
        if (auto p = take(4))
            x = floatFromImage(false, p);
    }
    void raw4(std::array<uint8_t, 4>& b) {
        if (auto p = take(4))
            std::copy(p, p + 4, b.begin());
    }
    void reserved(int n) { take(n); }
};

} // namespace

QString fileLogLine(const char* action, const QString& path, const QDateTime& now) {
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), QLocale::ShortFormat) + QLatin1Char(' ') + QString::fromUtf8(action) +
           path;
}

QByteArray configurationFileBytes(const ConfigImage& image) {
    FileWriter w;
    w.out.reserve(kConfigFileSize);
    visitFileOrder(image, w);
    return w.out;
}

int applyConfigurationFileBytes(ConfigImage& image, const QByteArray& bytes) {
    FileReader r{bytes};
    visitFileOrder(image, r);
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
    if (!QFileInfo::exists(path)) {
        result.errorText = QString::fromUtf8(texts::kFileMissingPrefix) + QLatin1Char('"') + path +
                           QLatin1Char('"') + QString::fromUtf8(texts::kFileMissingSuffix);
        return result;
    }
    QFile file(path);
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
