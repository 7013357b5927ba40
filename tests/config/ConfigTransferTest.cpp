#include "config/ConfigTransfer.h"
#include "MemoryResponder.h"
#include "link/TransferProgress.h"
#include "link/ZarnetLink.h"
#include "support/ManualClock.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vextor;
using namespace vextor::testing;

namespace {

class RecordingProgress : public TransferProgress {
public:
    QString title;
    QStringList steps;
    std::vector<int> positions;
    int ends = 0;
    void begin(const QString& t, int maximum) override {
        title = t;
        EXPECT_EQ(maximum, 100);
    }
    void step(const QString& line) override { steps << line; }
    void setPosition(int p) override { positions.push_back(p); }
    void end() override { ++ends; }
};

class RecordingObserver : public ConfigObserver {
public:
    std::vector<ConfigViews> changes;
    int firstRows = 0;
    void configurationChanged(ConfigViews views) override { changes.push_back(views); }
    void selectFirstRows() override { ++firstRows; }
    void showFirstPage() override {}
};

// A configuration unlike the defaults in every block.
ConfigImage sampleImage() {
    ConfigImage im;
    loadDefaultConfiguration(im);
    im.MB_Params = 0x92;
    im.Zarnet_Modbus = 0x00;
    im.MB_Address = 17;
    im.ArrSensors[0] = {0, 2, 100.0f, 0.00385f, 0, {3, 1, 0xAB, 0xCD}};
    im.ArrSensors[5] = {3, 1, 4.0f, 20.0f, 55.5f, {}};
    im.AdrNumAIn[13] = {1, 14};
    im.AdrNumAOut[5] = {2, 6};
    im.AdrNumDIn[0] = {3, 1};
    im.AdrNumDut[31] = {4, 32};
    im.SummerBegin = {6, 30, 0, 30, 3, 0};
    im.DelayOnVent1 = 9;
    im.NightBegin = {22, 15, 0};
    im.Options = 0x4321;
    im.KindSystems = 0x13;
    im.PresetTempAir = 21.5f;
    im.TempStTempH[2] = {-12, 61};
    im.TempDownNotch = -3;
    im.DC2LuftTime = 4;
    im.SoundOn = 1;
    im.Slaves[3] = {12, 2, 0x11};
    im.TimeWorkPump = 24;
    im.KoefOutVent = 0.75f;
    im.SPVPIDKoef[1] = {2.0f, 0.5f, 0.125f, 4.0f, 11};
    im.PIDKoef[3] = {3.0f, 1.5f, 0.25f, 8.0f, 21};
    for (int i = 0; i < kConditionCount; ++i)
        im.Conditions[i] = {
            static_cast<uint8_t>(i % 17), 1, 2, 3, 4, 5, 6, 7, 8, 9, static_cast<uint8_t>(i), 0,
            static_cast<float>(i) / 4};
    im.Calendars[3][9] = 0x7E;
    return im;
}

void loadMemory(MemoryResponder& controller, const ConfigImage& im) {
    encodeRange(im, kImageFirstAddress, kImageEnd - kImageFirstAddress,
                &controller.memory[kImageFirstAddress]);
}

class ConfigTransferTest : public ::testing::Test {
protected:
    ConfigTransferTest() {
        port.open(QStringLiteral("COM1"), {});
        link.DeviceAddress = 3;
        link.randomByte = [] { return uint8_t{0x5A}; };
        controller.attach(port);
    }
    ManualClock clock;
    FakeSerialPort port;
    ZarnetLink link{&port};
    MemoryResponder controller;
    RecordingProgress progress;
    RecordingObserver observer;
};

using Ranges = std::vector<std::pair<uint32_t, uint32_t>>;

const Ranges kReadRanges = {{3, 3},    {66, 84},  {150, 28}, {178, 12},  {190, 64},  {254, 64}, {318, 28},
                            {346, 86}, {432, 62}, {494, 54}, {548, 72},  {620, 64},  {684, 64}, {748, 64},
                            {812, 64}, {876, 64}, {940, 64}, {1004, 64}, {1068, 64}, {1132, 60}};

} // namespace

TEST_F(ConfigTransferTest, ReadTakesEveryBlockOfTheControllerIntoTheImage) {
    ConfigImage source = sampleImage();
    source.SummerBegin.Year = 0; // never sent, so the controller holds whatever it keeps: here 0
    loadMemory(controller, source);
    controller.memory[323] = 26; // the controller's own year is read
    ConfigImage image;
    loadDefaultConfiguration(image);
    const bool ok = readConfiguration(link, image, progress, &observer);
    ASSERT_TRUE(ok);

    EXPECT_EQ(controller.ranges(), kReadRanges);
    ConfigImage expected = source;
    expected.SummerBegin.Year = 26;
    expected.WinterBegin.Year = 0;
    expected.CfgVersion = image.CfgVersion; // neither the version word nor the factory block is read
    EXPECT_EQ(image, expected);
    EXPECT_EQ(image.ArrSensors[0].Byte, (std::array<uint8_t, 4>{3, 1, 0xAB, 0xCD}));

    // One 20 ms pause before each of the 13 steps and before each of the 8 condition reads.
    EXPECT_EQ(clock.sleeps, std::vector<int>(21, 20));
    EXPECT_EQ(progress.title, QStringLiteral("Чтение данных из прибора"));
    ASSERT_EQ(progress.steps.size(), 13);
    EXPECT_EQ(progress.steps.front(), QStringLiteral("Чтение адресов 3-5 (3). Запрос 1"));
    EXPECT_EQ(progress.steps[11], QStringLiteral("Чтение адресов 620-1131 (512). Запрос 1"));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 7, 15, 23, 30, 38, 46, 53, 61, 69, 76, 84, 92}));
    EXPECT_EQ(progress.ends, 1);
    ASSERT_EQ(observer.changes.size(), 13u);
    EXPECT_EQ(observer.changes[0], ViewModbus);
    EXPECT_EQ(observer.changes[11], ViewConditions);
    EXPECT_EQ(observer.changes[12], ViewCalendar | ViewCalendarLoaded);
    EXPECT_EQ(observer.firstRows, 1);
}

TEST_F(ConfigTransferTest, ReadRetriesABlockThatFailedOnce) {
    loadMemory(controller, sampleImage());
    bool failed = false;
    controller.silent = [&](size_t, const MemoryResponder::Request& r) {
        if (r.address == 66 && !failed)
            return failed = true;
        return false;
    };
    ConfigImage image;
    loadDefaultConfiguration(image);
    ASSERT_TRUE(readConfiguration(link, image, progress, &observer));
    EXPECT_EQ(progress.steps[1], QStringLiteral("Чтение адресов 66-149 (84). Запрос 1"));
    EXPECT_EQ(progress.steps[2], QStringLiteral("Чтение адресов 66-149 (84). Запрос 2"));
    EXPECT_EQ(progress.steps.size(), 14);
    EXPECT_EQ(image.ArrSensors[5].FValue, 55.5f);
}

// Four attempts on the first step, then one attempt on every later one; nothing is taken.
TEST_F(ConfigTransferTest, ReadFromASilentControllerFailsAndChangesNothing) {
    controller.silent = [](size_t, const MemoryResponder::Request&) { return true; };
    ConfigImage image;
    loadDefaultConfiguration(image);
    const ConfigImage before = image;

    EXPECT_FALSE(readConfiguration(link, image, progress, &observer));

    QStringList expected;
    for (int attempt = 1; attempt <= 4; ++attempt)
        expected << QStringLiteral("Чтение адресов 3-5 (3). Запрос %1").arg(attempt);
    for (size_t i = 1; i < 13; ++i)
        expected << QString::fromUtf8(configurationReadPlan()[i].text) + QStringLiteral("1");
    EXPECT_EQ(progress.steps, expected);
    EXPECT_EQ(controller.log.size(), 16u); // the condition step stops at its first chunk
    EXPECT_EQ(image, before);
    EXPECT_TRUE(observer.changes.empty());
    EXPECT_EQ(progress.ends, 1);
}

// After the fourth failure of one step, a later step that answers is still taken in one attempt,
// and one that fails is not retried.
TEST_F(ConfigTransferTest, AfterAFailedStepLaterStepsGetOneAttemptAndKeepTheirData) {
    const ConfigImage source = sampleImage();
    loadMemory(controller, source);
    controller.silent = [](size_t, const MemoryResponder::Request& r) {
        return r.address == 150 || r.address == 318;
    };
    ConfigImage image;
    loadDefaultConfiguration(image);
    const ConfigImage before = image;
    EXPECT_FALSE(readConfiguration(link, image, progress, &observer));
    EXPECT_EQ(std::count(progress.steps.begin(), progress.steps.end(),
                         QStringLiteral("Чтение адресов 150-177 (28). Запрос 4")),
              1);
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Чтение адресов 318-345 (28). Запрос 1")));
    EXPECT_FALSE(progress.steps.contains(QStringLiteral("Чтение адресов 318-345 (28). Запрос 2")));
    EXPECT_EQ(image.AdrNumAIn, before.AdrNumAIn);     // failed block: as it was
    EXPECT_EQ(image.SummerBegin, before.SummerBegin); // failed after the failure: as it was
    EXPECT_EQ(image.AdrNumAOut, source.AdrNumAOut);   // later block taken
    EXPECT_EQ(image.Calendars, source.Calendars);
}

// A condition chunk that fails sends the next attempt back to the first chunk; chunks that came
// in are already taken.
TEST_F(ConfigTransferTest, ConditionReadRestartsAtTheFirstChunk) {
    loadMemory(controller, sampleImage());
    int conditionReads = 0;
    controller.silent = [&](size_t, const MemoryResponder::Request& r) {
        return r.address >= 620 && r.address < 1132 && ++conditionReads == 3;
    };
    ConfigImage image;
    loadDefaultConfiguration(image);
    ASSERT_TRUE(readConfiguration(link, image, progress, &observer));
    Ranges conditions;
    for (auto r : controller.ranges())
        if (r.first >= 620 && r.first < 1132)
            conditions.push_back(r);
    Ranges expected{{620, 64}, {684, 64}, {748, 64}};
    for (uint32_t a = 620; a < 1132; a += 64)
        expected.emplace_back(a, 64);
    EXPECT_EQ(conditions, expected);
    EXPECT_EQ(image.Conditions, sampleImage().Conditions);
    EXPECT_TRUE(progress.steps.contains(QStringLiteral("Чтение адресов 620-1131 (512). Запрос 2")));
}

// After a full write the controller holds the encoded image at every written range, the version
// mark, zero years and reserved bytes, and its own sound setting.
TEST_F(ConfigTransferTest, WritePutsTheImageIntoTheControllerSectionBySection) {
    controller.memory.fill(0xEE);
    ConfigImage image = sampleImage();
    image.SummerBegin.Year = 24;
    image.WinterBegin.Year = 25;

    ASSERT_TRUE(writeConfiguration(link, image, progress));

    const Ranges expected = {{66, 84},  {1192, 2},  {150, 28},  {178, 12}, {190, 64}, {254, 64}, {1192, 2},
                             {333, 6},  {341, 3},   {346, 8},   {374, 26}, {408, 8},  {468, 10}, {494, 54},
                             {341, 3},  {362, 20},  {392, 1},   {416, 16}, {548, 18}, {471, 1},  {341, 1},
                             {354, 4},  {566, 18},  {341, 1},   {358, 4},  {584, 18}, {341, 1},  {400, 8},
                             {340, 1},  {602, 18},  {432, 7},   {3, 3},    {318, 28}, {439, 4},  {444, 24},
                             {478, 16}, {1192, 2},  {620, 64},  {684, 64}, {748, 64}, {812, 64}, {876, 64},
                             {940, 64}, {1004, 64}, {1068, 64}, {1132, 60}};
    EXPECT_EQ(controller.ranges(), expected);

    std::vector<uint8_t> encoded(kImageEnd);
    encodeRange(image, 0, kImageEnd, encoded.data());
    for (const auto& [address, count] : expected) {
        if (address == 1192)
            continue;
        for (uint32_t a = address; a < address + count; ++a)
            ASSERT_EQ(controller.memory[a], encoded[a]) << "address " << a;
    }
    EXPECT_EQ(controller.memory[323], 0);
    EXPECT_EQ(controller.memory[329], 0);
    EXPECT_EQ(controller.memory[472], 0);
    EXPECT_EQ(controller.memory[473], 0);
    EXPECT_EQ(controller.memory[471], 24);
    EXPECT_EQ(controller.memory[443], 0xEE); // SoundOn has a service command of its own
    EXPECT_EQ(controller.memory[1192], 200);
    EXPECT_EQ(controller.memory[1193], 0);
    EXPECT_EQ(controller.memory[66 + 12], 0xAB); // the raw tail of the kind-0 sensor
    EXPECT_EQ(controller.memory[66 + 13], 0xCD);

    // A pause before each of the 12 steps and after each of the 43 writes that are not marks.
    EXPECT_EQ(clock.sleeps.size(), 12u + 43u);
    EXPECT_EQ(progress.title, QStringLiteral("Запись данных в прибор"));
    EXPECT_EQ(progress.steps.front(), QStringLiteral("Запись датчиков. Запрос 1"));
    EXPECT_EQ(progress.steps.back(), QStringLiteral("Запись календаря. Запрос 1"));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91}));
    EXPECT_EQ(progress.ends, 1);

    // What was written reads back as the same configuration.
    ConfigImage back;
    loadDefaultConfiguration(back);
    ASSERT_TRUE(readConfiguration(link, back, progress, nullptr));
    ConfigImage expectedBack = image;
    expectedBack.SummerBegin.Year = expectedBack.WinterBegin.Year = 0;
    expectedBack.SoundOn = 0xEE;
    expectedBack.CfgVersion = back.CfgVersion;
    EXPECT_EQ(back, expectedBack);
}

// A failed write ends the attempt; the next attempt starts again with the step's first write.
// A failed version mark fails its step too.
TEST_F(ConfigTransferTest, WriteRetriesWholeSections) {
    int aoutWrites = 0, marks = 0;
    controller.silent = [&](size_t, const MemoryResponder::Request& r) {
        if (r.address == 178)
            return ++aoutWrites == 1;
        if (r.address == 1192)
            return ++marks == 1;
        return false;
    };
    ConfigImage image = sampleImage();
    ASSERT_TRUE(writeConfiguration(
        link, image, progress, sectionBit(WriteSection::Sensors) | sectionBit(WriteSection::AnalogInOut)));
    EXPECT_EQ(controller.ranges(),
              (Ranges{{66, 84}, {1192, 2}, {66, 84}, {1192, 2}, {150, 28}, {178, 12}, {150, 28}, {178, 12}}));
    EXPECT_EQ(progress.steps, (QStringList{QStringLiteral("Запись датчиков. Запрос 1"),
                                           QStringLiteral("Запись датчиков. Запрос 2"),
                                           QStringLiteral("Запись аналоговых входов/выходов. Запрос 1"),
                                           QStringLiteral("Запись аналоговых входов/выходов. Запрос 2")}));
}

TEST_F(ConfigTransferTest, WriteToASilentControllerFailsAfterFourAttemptsThenOneEach) {
    controller.silent = [](size_t, const MemoryResponder::Request&) { return true; };
    ConfigImage image = sampleImage();
    EXPECT_FALSE(writeConfiguration(link, image, progress));
    EXPECT_EQ(progress.steps.size(), 4 + 11);
    EXPECT_EQ(progress.steps[3], QStringLiteral("Запись датчиков. Запрос 4"));
    EXPECT_EQ(progress.steps[4], QStringLiteral("Запись аналоговых входов/выходов. Запрос 1"));
    EXPECT_EQ(controller.log.size(), 15u);
    EXPECT_EQ(progress.ends, 1);
}

// The write sends a few bytes a configuration file cannot carry: the protocol selector (4) and
// TimeWorkPump (471). vextorctl reads exactly these from the controller before a write.
TEST(ConfigTransferPlan, BytesWrittenThatAFileDoesNotCarry) {
    Ranges found;
    for (const MemoryRange& r : writtenRangesNotInFile())
        found.push_back({r.address, r.count});
    EXPECT_EQ(found, (Ranges{{4, 1}, {471, 1}}));
}
