#include "config/ConfigDump.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace vextor;

namespace {

QStringList fixtureLines() {
    QFile f(QStringLiteral(VEXTOR_FIXTURES "/config/default_dump.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

ConfigImage defaults() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    return im;
}

} // namespace

// The whole text of the default image, line by line, against the layout written out in the fixture.
TEST(ConfigDump, DefaultImageMatchesTheLayout) {
    const QStringList expected = fixtureLines();
    ASSERT_FALSE(expected.isEmpty());
    const QStringList lines = configurationDumpLines(defaults());
    for (int i = 0; i < std::min(lines.size(), expected.size()); ++i)
        ASSERT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(lines.size(), expected.size());
    // Built afresh each time, never appended to.
    EXPECT_EQ(configurationDumpLines(defaults()), lines);
}

TEST(ConfigDump, ValuesFollowTheirFieldFormats) {
    ConfigImage im = defaults();
    im.Zarnet_Modbus = 85;
    im.ArrSensors[2] = {0, 3, 100.0f, 0.385f, 9.0f, {4, 2, 0xEE, 0xEE}};
    im.ArrSensors[3].KindSensor = 1;
    im.ArrSensors[3].FValue = 1.25f;
    im.KfDAC2 = 0.75f;
    im.KfRetDAC1 = 100000.0f;
    im.KfRetDAC2 = 0.0001f;
    im.KoefU1 = 1e-5f;
    im.TempDownNotch = -5;
    im.PresetTempAir = -12.5f;
    im.Conditions[1].Notch = 3.25f;
    im.Calendars[4][11] = 0x0A;
    const QStringList lines = configurationDumpLines(im);

    for (const char* line :
         {"4 - Zarnet_Modbus = 55", "34 - KfDAC2 = 0,75", "38 - KfRetDAC1 = 100000",
          "42 - KfRetDAC2 = 0,0001", "46 - KoefU1 = 1e-05", "94 - ArrSensors[2].KindSensor = 0",
          "96 - ArrSensors[2].Rbegin = 100", "100 - ArrSensors[2].Rline = 0,385",
          "104 - ArrSensors[2].Byte[0] = 4", "105 - ArrSensors[2].Byte[1] = 2",
          "118 - ArrSensors[3].FValue = 1,25", "395 - TempDownNotch = -5", "346 - PresetTempAir = -12,50000",
          "               Notch:3,25000", "1187 - Calendars[i,12] = 0C:06:83:C1:0A"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    // A kind-0 sensor has no FValue line.
    EXPECT_FALSE(lines.contains(QStringLiteral("104 - ArrSensors[2].FValue = 9")));
}
