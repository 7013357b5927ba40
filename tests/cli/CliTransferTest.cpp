// Configuration and event-log transfers of vextorctl against the virtual controller over a pty.
#include "support/SimProcess.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "config/ConfigTransfer.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

using vextor::testing::readAll;

QStringList on(const SimProcess& sim, QStringList args) {
    return QStringList{"--port", sim.port()} + args;
}

// A configuration that differs from the defaults in every section, including a kind-0 sensor
// whose raw bytes must survive the round trip.
QByteArray editedConfiguration() {
    ConfigImage image;
    loadDefaultConfiguration(image);
    image.MB_Address = 17;
    image.ArrSensors[0].KindSensor = 0;
    image.ArrSensors[0].Byte = {3, 2, 0xAB, 0xCD};
    image.ArrSensors[1].KindSensor = 2;
    image.ArrSensors[1].Rbegin = -50.0f;
    image.ArrSensors[1].Rline = 150.0f;
    for (size_t i = 0; i < image.AdrNumAIn.size(); ++i)
        image.AdrNumAIn[i] = {static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 2)};
    image.AdrNumDut[31] = {9, 4};
    image.PresetTempAir = 21.5f;
    image.SPVPIDKoef[2].KProp = 3.25f;
    image.SPVPIDKoef[2].PeriodDif = 7;
    image.Conditions[31].Kind = 3;
    image.Calendars[4][11] = 0x5A;
    return configurationFileBytes(image);
}

// The configuration read back equals the one written, but for the two Year bytes that go to the
// controller as 0 (file offsets 271 and 277).
void expectSameConfiguration(QByteArray back, QByteArray original) {
    ASSERT_EQ(back.size(), 1153);
    ASSERT_EQ(original.size(), 1153);
    for (int yearOffset : {271, 277}) {
        EXPECT_EQ(back[yearOffset], 0);
        back[yearOffset] = original[yearOffset] = 0;
    }
    EXPECT_EQ(back, original);
}

} // namespace

TEST(CliConfig, WrittenConfigurationReadsBackIdenticalAndLandsInMemory) {
    QTemporaryDir dir;
    const QString original = dir.filePath("original.bin"), back = dir.filePath("back.bin"),
                  memory = dir.filePath("memory.bin");
    {
        QFile f(original);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(editedConfiguration());
    }
    ConfigImage expected;
    loadDefaultConfiguration(expected);
    ASSERT_TRUE(loadConfigurationFile(expected, original, nullptr).success);

    SimProcess sim({"--dump-memory", memory, "--cfg-version", "none"});
    ASSERT_TRUE(sim.started());
    auto r = runCtl(on(sim, {"read-config", back}));
    EXPECT_EQ(r.exitCode, 1); // no configuration version yet: it must be written first
    EXPECT_TRUE(r.err.contains("written first")) << r.err.toStdString();

    r = runCtl(on(sim, {"--progress", "write-config", original}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runCtl(on(sim, {"read-config", back}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectSameConfiguration(readAll(back), readAll(original));
    sim.stop();

    // The controller's memory holds the encoded image at every written range.
    const QByteArray mem = readAll(memory);
    ASSERT_GE(mem.size(), 1194);
    for (const WriteStep& step : configurationWritePlan()) {
        for (const MemoryRange& range : step.ranges) {
            std::vector<uint8_t> encoded(range.count);
            encodeRange(expected, range.address, range.count, encoded.data());
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(encoded.data()), range.count),
                      mem.mid(range.address, range.count))
                << step.text << " at " << range.address;
        }
    }
    EXPECT_EQ(mem[323], 0); // both Year bytes
    EXPECT_EQ(mem[329], 0);
    EXPECT_EQ(mem[472], 0); // reserved
    EXPECT_EQ(mem[473], 0);
    EXPECT_EQ(static_cast<uint8_t>(mem[1192]), 200); // CfgVersion 200
    EXPECT_EQ(mem[1193], 0);
}

TEST(CliConfig, RoundTripSurvivesFaultInjection) {
    QTemporaryDir dir;
    const QString original = dir.filePath("original.bin"), back = dir.filePath("back.bin");
    {
        QFile f(original);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(editedConfiguration());
    }
    SimProcess sim({"--seed", "11", "--drop-rate", "0.1", "--corrupt-rate", "0.05"});
    ASSERT_TRUE(sim.started());
    // Identification and the version read are retried, but a section may still fail its four
    // attempts: try the run again as an engineer would.
    CtlResult r;
    for (int i = 0; i < 5 && r.exitCode != 0; ++i)
        r = runCtl(on(sim, {"write-config", original}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = CtlResult{};
    for (int i = 0; i < 5 && r.exitCode != 0; ++i)
        r = runCtl(on(sim, {"read-config", back}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectSameConfiguration(readAll(back), readAll(original));
}

TEST(CliConfig, SilentControllerTriesTheFirstStepFourTimesAndEveryLaterOneOnce) {
    QTemporaryDir dir;
    SimProcess sim({"--silent", "3:1189"}); // the image never answers, its version does
    ASSERT_TRUE(sim.started());
    const auto r = runCtl(on(sim, {"--progress", "read-config", dir.filePath("x.bin")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.bin")));
    // The step lines as they went by, with their attempt numbers.
    QStringList first, later;
    QString lastStep;
    const QRegularExpression stepLine(QStringLiteral("^\\s*\\d+%\\s+(.*Запрос )(\\d)$"));
    for (const QString& line : r.err.split('\n')) {
        const auto m = stepLine.match(line);
        if (!m.hasMatch())
            continue;
        QStringList& steps = m.captured(1).contains("3-5") ? first : later;
        const QString key = m.captured(1) + m.captured(2);
        if (key != lastStep) // the line comes again when only the percent moves
            steps << m.captured(2);
        lastStep = key;
    }
    EXPECT_EQ(first, (QStringList{"1", "2", "3", "4"}));
    ASSERT_FALSE(later.isEmpty());
    EXPECT_EQ(later.count("1"), later.size()) << later.join(',').toStdString();
}

TEST(CliEvents, FullReadEqualsTheEventRegionAndDecodes) {
    QTemporaryDir dir;
    const QString file = dir.filePath("log.blb"), memory = dir.filePath("memory.bin");
    SimProcess sim({"--events", "682", "--event-interval", "0", "--dump-memory", memory});
    ASSERT_TRUE(sim.started());
    auto r = runCtl(on(sim, {"--pacing", "device", "read-events", file}));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    sim.stop();
    const QByteArray log = readAll(file);
    ASSERT_EQ(log.size(), 6138);
    EXPECT_EQ(log, readAll(memory).mid(2048, 6138));

    r = runCtl({"events", "--csv", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 683);
    EXPECT_EQ(lines[0], "N п/п,Источник,Дата,Время,Событие");
    EXPECT_TRUE(lines[1].startsWith("1,")) << lines[1].toStdString();
}

// The fast read gives the per-record read's file byte for byte on a line that loses and spoils
// replies, and ends at the same slot where one never answers.
TEST(CliEvents, FastReadGivesThePerRecordFileUnderFaults) {
    const struct {
        const char* seed;
        QStringList faults;
    } cases[] = {
        {"3", {"--corrupt-rate", "0.15", "--drop-rate", "0.02"}},
        {"4", {"--corrupt-rate", "0.25"}}, // some ranges fail twice and go record by record
        {"5", {"--corrupt-rate", "0.1", "--silent", "2948:9"}}, // slot 100 never answers
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        QTemporaryDir dir;
        const QString documented = dir.filePath("documented.blb"), fast = dir.filePath("fast.blb");
        SimProcess sim(QStringList{"--events", "682", "--event-interval", "0", "--seed", c.seed} + c.faults);
        ASSERT_TRUE(sim.started());
        const CtlResult one = runCtl(on(sim, {"--pacing", "device", "read-events", documented}));
        const CtlResult other = runCtl(on(sim, {"--pacing", "device", "read-events", "--fast", fast}));
        EXPECT_EQ(one.exitCode, other.exitCode) << one.err.toStdString() << other.err.toStdString();
        EXPECT_EQ(readAll(documented).size(), one.exitCode == 0 ? 6138 : 900);
        EXPECT_EQ(readAll(fast), readAll(documented));
    }
}

TEST(CliEvents, SilentSlotKeepsTheRecordsBeforeItAndOldFilesSurviveAFailedStart) {
    QTemporaryDir dir;
    const QString file = dir.filePath("log.blb"), simLog = dir.filePath("frames.log");
    {
        SimProcess sim({"--silent", "2948:9", "--event-interval", "0", "--log", simLog}); // slot 100
        ASSERT_TRUE(sim.started());
        const auto r = runCtl(on(sim, {"--pacing", "device", "read-events", file}));
        EXPECT_EQ(r.exitCode, 1);
        sim.stop();
        EXPECT_EQ(readAll(file).size(), 900);
        // Slot 100 (address 2948 = 84 0B 00) was asked six times.
        int asked = 0;
        for (const QString& line : QString::fromUtf8(readAll(simLog)).split('\n'))
            if (line.contains(" rx ") && line.contains(" 43 84 0B 00 09"))
                ++asked;
        EXPECT_EQ(asked, 6);
    }
    {
        // A read that fails on slot 0 leaves the old file as it was.
        SimProcess sim({"--silent", "2048:9", "--event-interval", "0"});
        ASSERT_TRUE(sim.started());
        EXPECT_EQ(runCtl(on(sim, {"--pacing", "device", "read-events", file})).exitCode, 1);
        EXPECT_EQ(readAll(file).size(), 900);
    }
}
