// Colors.ini: the defaults, the exact bytes of a save, and damaged files read as far as they go.
#include "monitor/ChartSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace vextor::monitor {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

uint32_t word32(const QByteArray& b, int at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}

float single(const QByteArray& b, int at) {
    const uint32_t bits = word32(b, at);
    float v = 0;
    std::memcpy(&v, &bits, 4);
    return v;
}

void putSingle(QByteArray& b, int at, float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(bits >> (8 * i));
}

// With no file: only analog input 1 is plotted, in black, the axis runs 0 to 100, and every trace is
// unscaled in the colour its series is created with.
TEST(ChartSettings, DefaultsWithoutAFile) {
    QTemporaryDir dir;
    const ChartSettings s = loadChartSettings(colorsIniPath(dir.path()));
    EXPECT_EQ(s, defaultChartSettings());
    EXPECT_EQ(s.scaleMin, 0.0f);
    EXPECT_EQ(s.scaleMax, 100.0f);
    const uint32_t colours[kSeriesCount] = {0xC0C0C0, 0x000000, 33023,    0x00FF00, 0xFFFF00, 0xFF0000,
                                            0x008000, 0x008000, 0x008000, 0x008000, 0x008000};
    for (int k = 0; k < kSeriesCount; ++k) {
        SCOPED_TRACE(k);
        const TraceSettings& t = s.traces[size_t(k)];
        EXPECT_EQ(t.plot, k == 1);
        EXPECT_EQ(t.multiplier, 1.0f);
        EXPECT_EQ(t.offset, 0.0f);
        EXPECT_EQ(t.colour, colours[k]);
        EXPECT_EQ(t.name, k >= 1 && k <= 6 ? QStringLiteral("T %1").arg(k) : QString());
    }
    EXPECT_TRUE(colorsIniPath().endsWith("/Colors.ini"));
}

TEST(ChartSettings, SaveWritesTheLayoutAndReadsBackTheSame) {
    QTemporaryDir dir;
    const QString path = colorsIniPath(dir.filePath("sub"));
    ChartSettings s = defaultChartSettings();
    s.traces[3] = TraceSettings{-10.0f, 2.0f, true, 0x123456, QStringLiteral("Темп")};
    s.traces[8].plot = true;
    s.traces[8].name = QStringLiteral("Клапан"); // not a name the window edits, but the file keeps it
    s.scaleMin = -20.5f;
    s.scaleMax = 80.0f;
    ASSERT_TRUE(saveChartSettings(path, s));

    const QByteArray b = fileBytes(path);
    ASSERT_EQ(b.size(), 316);
    const int r3 = 3 * 28;
    EXPECT_EQ(single(b, r3 + 0), -10.0f);
    EXPECT_EQ(single(b, r3 + 4), 2.0f);
    EXPECT_EQ(b[r3 + 8], 1);
    EXPECT_EQ(b.mid(r3 + 9, 3), QByteArray(3, '\0'));
    EXPECT_EQ(word32(b, r3 + 12), 0x123456u);
    EXPECT_EQ(b[r3 + 16], 4);
    EXPECT_EQ(b.mid(r3 + 17, 4), QByteArray("\xD2\xE5\xEC\xEF")) << "windows-1251";
    EXPECT_EQ(b.mid(r3 + 21, 7), QByteArray(7, '\0'));
    EXPECT_EQ(single(b, 308), -20.5f);
    EXPECT_EQ(single(b, 312), 80.0f);
    EXPECT_EQ(loadChartSettings(path), s);

    // A second save replaces the whole file.
    ASSERT_TRUE(saveChartSettings(path, defaultChartSettings()));
    EXPECT_EQ(fileBytes(path), encodeColorsIni(defaultChartSettings()));
    EXPECT_EQ(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden), QStringList{"Colors.ini"});

    // A save that cannot be made says why.
    writeBytes(dir.filePath("plain"), "x");
    QString error;
    EXPECT_FALSE(saveChartSettings(dir.filePath("plain/Colors.ini"), s, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ChartSettings, DamagedFilesAreReadAsFarAsTheyGo) {
    ChartSettings written = defaultChartSettings();
    for (auto& t : written.traces) {
        t.multiplier = 3.0f;
        t.colour = 0x0000FF;
        t.name = QStringLiteral("ABCDEFGH");
    }
    written.scaleMin = 5.0f;
    written.scaleMax = 50.0f;
    const QByteArray whole = encodeColorsIni(written);

    {
        SCOPED_TRACE("a name longer than 8");
        QByteArray b = whole;
        b[2 * 28 + 16] = static_cast<char>(200);
        const ChartSettings s = decodeColorsIni(b);
        EXPECT_EQ(s.traces[2].name, "ABCDEFGH");
        EXPECT_EQ(s.traces[3], written.traces[3]);
    }
    {
        SCOPED_TRACE("cut inside record 4, in its colour");
        const ChartSettings s = decodeColorsIni(whole.left(4 * 28 + 14));
        const ChartSettings d = defaultChartSettings();
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(s.traces[size_t(k)], written.traces[size_t(k)]) << k;
        EXPECT_EQ(s.traces[4].multiplier, 3.0f);
        EXPECT_EQ(s.traces[4].colour, d.traces[4].colour);
        EXPECT_EQ(s.traces[4].name, d.traces[4].name);
        for (int k = 5; k < kSeriesCount; ++k)
            EXPECT_EQ(s.traces[size_t(k)], d.traces[size_t(k)]) << k;
        EXPECT_EQ(s.scaleMin, 0.0f);
        EXPECT_EQ(s.scaleMax, 100.0f);
    }
    {
        SCOPED_TRACE("a name cut by the end of the file");
        const ChartSettings s = decodeColorsIni(whole.left(5 * 28 + 17 + 3));
        EXPECT_EQ(s.traces[5].name, "ABC");
    }
    EXPECT_EQ(decodeColorsIni({}), defaultChartSettings());
    {
        SCOPED_TRACE("the scale's maximum missing");
        const ChartSettings s = decodeColorsIni(whole.left(312));
        EXPECT_EQ(s.scaleMin, 5.0f);
        EXPECT_EQ(s.scaleMax, 100.0f);
    }
    struct Scale {
        float min, max;
        float expectedMin, expectedMax;
    };
    for (const Scale& c : {Scale{50, 50, 0, 100}, Scale{60, 40, 0, 100}, Scale{-5, 5, -5, 5},
                           Scale{NAN, 40, 0, 40}, Scale{NAN, -40, 0, 100}, Scale{0, INFINITY, 0, 100}}) {
        SCOPED_TRACE(testing::Message() << c.min << " .. " << c.max);
        QByteArray b = whole;
        putSingle(b, 308, c.min);
        putSingle(b, 312, c.max);
        const ChartSettings s = decodeColorsIni(b);
        EXPECT_EQ(s.scaleMin, c.expectedMin);
        EXPECT_EQ(s.scaleMax, c.expectedMax);
    }
    {
        SCOPED_TRACE("a multiplier that is no number");
        QByteArray b = whole;
        putSingle(b, 28 + 4, NAN);
        EXPECT_EQ(decodeColorsIni(b).traces[1].multiplier, 1.0f);
    }
    {
        SCOPED_TRACE("bytes after the settings");
        QTemporaryDir dir;
        const QString path = colorsIniPath(dir.path());
        writeBytes(path, whole + QByteArray(40, '\x7F'));
        EXPECT_EQ(loadChartSettings(path), decodeColorsIni(whole));
    }
}

TEST(ChartSettings, TraceScalesGoToThePoller) {
    ChartSettings s = defaultChartSettings();
    s.traces[2].multiplier = 2.0f;
    s.traces[2].offset = -10.0f;
    EXPECT_EQ(traceScales(s)[2].apply(20.0f), 30.0f);
    EXPECT_EQ(traceScales(s)[1].apply(20.0f), 20.0f);
}

} // namespace
} // namespace vextor::monitor
