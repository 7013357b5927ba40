#include "config/ConfigImage.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace vextor;

namespace {

std::vector<uint8_t> encoded(const ConfigImage& im, uint32_t address, uint32_t count) {
    std::vector<uint8_t> out(count, 0xAA);
    encodeRange(im, address, count, out.data());
    return out;
}

ConfigImage defaults() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    return im;
}

} // namespace

// The default image, encoded block by block as the transfer does, against the layout written out
// independently in the fixture.
TEST(ConfigImage, DefaultImageEncodesToFixtureAtEveryBlock) {
    QFile f(QStringLiteral(VEXTOR_FIXTURES "/config/default_image.bin"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray expected = f.readAll();
    ASSERT_EQ(expected.size(), 1191);
    const ConfigImage im = defaults();
    const std::pair<uint32_t, uint32_t> blocks[] = {{3, 3},    {6, 60},   {66, 84},   {150, 28},  {178, 12},
                                                    {190, 64}, {254, 64}, {318, 28},  {346, 86},  {432, 62},
                                                    {494, 54}, {548, 72}, {620, 512}, {1132, 60}, {1192, 2}};
    for (auto [address, count] : blocks) {
        const auto bytes = encoded(im, address, count);
        for (uint32_t i = 0; i < count; ++i)
            ASSERT_EQ(bytes[i], static_cast<uint8_t>(expected[address - 3 + i])) << "address " << address + i;
    }
}

TEST(ConfigImage, DefaultsFollowTheDefaultTableAndClearTheRest) {
    ConfigImage im;
    im.TimeWorkPump = 9;
    im.SoundOn = 1;
    im.Zarnet_Modbus = 0x55;
    im.Rmax5000 = 3.5f;
    im.CfgVersion = 200;
    loadDefaultConfiguration(im);
    EXPECT_EQ(im.TimeWorkPump, 0);
    EXPECT_EQ(im.SoundOn, 0);
    EXPECT_EQ(im.Zarnet_Modbus, 0);
    EXPECT_EQ(im.Rmax5000, 0.0f);
    EXPECT_EQ(im.CfgVersion, 0);
    EXPECT_EQ(im.SummerBegin.Year, 15);
    EXPECT_EQ(im.AdrNumAOut[7], (AdrNum{255, 0}));
    EXPECT_EQ(im.Calendars[0][0], 0x01);
    EXPECT_EQ(im.Calendars[4][11], 0x60);
}

// Field placement and the special encodings, each checked both ways.
TEST(ConfigImage, SpecialFieldsDecodeAndEncodeByTheirRules) {
    ConfigImage im = defaults();

    im.Options = 0x1234;
    EXPECT_EQ(encoded(im, 342, 2), (std::vector<uint8_t>{0x34, 0x12}));

    // An erased TempDownNotch cell reads as 30; other values are signed bytes.
    const uint8_t erased = 0xFF, minus5 = 0xFB;
    decodeBlock(im, 395, 1, &erased);
    EXPECT_EQ(im.TempDownNotch, 30);
    decodeBlock(im, 395, 1, &minus5);
    EXPECT_EQ(im.TempDownNotch, -5);

    // Calendar byte k of month m sits at 1132 + 5(m-1) + (k-1).
    im.Calendars[0][0] = 0x11;
    im.Calendars[4][11] = 0x5C;
    EXPECT_EQ(encoded(im, 1132, 1)[0], 0x11);
    EXPECT_EQ(encoded(im, 1191, 1)[0], 0x5C);

    // The Year bytes are taken from the controller but never sent back.
    const uint8_t season[6] = {8, 30, 0, 29, 3, 24};
    decodeBlock(im, 318, 6, season);
    EXPECT_EQ(im.SummerBegin, (DateTimePoint{8, 30, 0, 29, 3, 24}));
    EXPECT_EQ(encoded(im, 318, 6), (std::vector<uint8_t>{8, 30, 0, 29, 3, 0}));
    EXPECT_EQ(encoded(im, 329, 1)[0], 0);

    // Outside the image nothing is encoded.
    EXPECT_EQ(encoded(im, 0, 3), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(encoded(im, 1194, 2), (std::vector<uint8_t>{0, 0}));
}

TEST(ConfigImage, FloatsPassThePlausibilityRuleExceptNotch) {
    ConfigImage im = defaults();
    const uint8_t implausible[4] = {0x00, 0x00, 0x80, 0x7F}; // infinity
    const uint8_t zero[4] = {0, 0, 0, 0};
    const uint8_t tiny[4] = {0x01, 0x00, 0x00, 0x00}; // a denormal, fails the rule
    decodeBlock(im, 346, 4, implausible);
    EXPECT_FLOAT_EQ(im.PresetTempAir, -274.55f);
    decodeBlock(im, 474, 4, zero);
    EXPECT_EQ(im.KoefOutVent, 0.0f);
    decodeBlock(im, 620 + 12, 4, tiny);
    EXPECT_EQ(encoded(im, 632, 4), (std::vector<uint8_t>{0x01, 0x00, 0x00, 0x00}));
    decodeBlock(im, 620 + 16 * 31 + 12, 4, implausible);
    EXPECT_TRUE(std::isinf(im.Conditions[31].Notch));
}

// Kind 0 keeps the four tail bytes raw; any other kind reads them as a float.
TEST(ConfigImage, SensorTailIsRawForKindZeroAndAFloatOtherwise) {
    ConfigImage im = defaults();
    uint8_t record[14] = {0, 7, 0, 0, 0x80, 0x3F, 0, 0, 0, 0x40, 3, 2, 0xFF, 0x81};
    decodeBlock(im, 66, 14, record);
    EXPECT_EQ(im.ArrSensors[0].KindSensor, 0);
    EXPECT_EQ(im.ArrSensors[0].Rbegin, 1.0f);
    EXPECT_EQ(im.ArrSensors[0].Rline, 2.0f);
    EXPECT_EQ(im.ArrSensors[0].Byte, (std::array<uint8_t, 4>{3, 2, 0xFF, 0x81}));
    EXPECT_EQ(encoded(im, 66, 14), std::vector<uint8_t>(record, record + 14));

    record[0] = 1; // same tail, now a float: 81FF0203 fails the plausibility rule
    decodeBlock(im, 80, 14, record);
    EXPECT_EQ(im.ArrSensors[1].KindSensor, 1);
    EXPECT_FLOAT_EQ(im.ArrSensors[1].FValue, -274.55f);
    EXPECT_EQ(im.ArrSensors[1].Byte, (std::array<uint8_t, 4>{0, 0, 0, 0}));
}

// Reserved bytes never reach the model and go out as 0; a decode touches only whole fields inside
// its range.
TEST(ConfigImage, ReservedBytesAreDroppedAndPartialFieldsUntouched) {
    ConfigImage im = defaults();
    std::vector<uint8_t> block(62, 0xEE);
    decodeBlock(im, 432, 62, block.data());
    auto out = encoded(im, 432, 62);
    EXPECT_EQ(out[472 - 432], 0);
    EXPECT_EQ(out[473 - 432], 0);
    EXPECT_EQ(out[471 - 432], 0xEE);

    std::vector<uint8_t> pid(18, 0x42);
    decodeBlock(im, 548, 18, pid.data());
    EXPECT_EQ(encoded(im, 548 + 17, 1)[0], 0);
    EXPECT_EQ(im.PIDKoef[0].PeriodDif, 0x42);

    // Two bytes into the middle of PresetTempAir change nothing.
    const ConfigImage before = im;
    const uint8_t half[2] = {1, 2};
    decodeBlock(im, 348, 2, half);
    EXPECT_EQ(im, before);
}

// Every field travels: an image encoded and decoded comes back equal.
TEST(ConfigImage, WholeImageRoundTrips) {
    ConfigImage im = defaults();
    im.MB_Params = 0x93;
    im.Zarnet_Modbus = 0x55;
    im.ArrSensors[2] = {0, 3, 100.0f, 0.385f, 0, {4, 1, 9, 8}};
    im.ArrSensors[3] = {2, 1, -50.0f, 150.0f, 12.5f, {}};
    im.AdrNumDut[31] = {7, 12};
    im.TminGlick = -12;
    im.KindSystems = 0x93;
    im.Options = 0xBEEF;
    im.CorrTHeat = -1.25f;
    im.TimeDownNotch = 0x1234;
    im.RecupSummerDeltaTmax = -7;
    im.TempBWDeltaT[3] = {-60, -13};
    im.SoundOn = 1;
    im.TimeWorkPump = 12;
    im.KoefCounters[3] = 0.01f;
    im.Slaves[7] = {5, 3, 0x21};
    im.SPVPIDKoef[2] = {1.5f, 0.25f, 3.0f, 10.0f, 31};
    im.PIDKoef[3] = {-2.0f, 4.0f, 8.0f, 16.0f, 7};
    im.Conditions[17] = {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1e-30f};
    im.Calendars[2][6] = 0xA5;
    im.CfgVersion = 200;
    im.SummerBegin.Year = 0; // never sent
    im.WinterBegin.Year = 0;

    std::vector<uint8_t> bytes(kImageEnd);
    encodeRange(im, 0, kImageEnd, bytes.data());
    ConfigImage back; // zeros everywhere but the kinds, so every field must come from the bytes
    decodeBlock(back, 0, kImageEnd, bytes.data());
    back.AdrNumAOut[6] = im.AdrNumAOut[6];
    back.AdrNumAOut[7] = im.AdrNumAOut[7];
    EXPECT_EQ(back, im);
}
