#include "events/EventReader.h"

#include "events/EventRecord.h"
#include "link/Hooks.h"
#include "link/TransferProgress.h"
#include "link/ZarnetLink.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

using namespace vextor;
using namespace vextor::events;
using vextor::testing::Bytes;
namespace fake = vextor::testing;

namespace {

constexpr uint8_t kAddress = 7;

struct RecordingProgress : TransferProgress {
    QString title;
    int maximum = -1;
    std::vector<int> positions;
    QStringList steps;
    int ends = 0;
    void begin(const QString& t, int max) override {
        title = t;
        maximum = max;
    }
    void step(const QString& line) override { steps << line; }
    void setPosition(int p) override { positions.push_back(p); }
    void end() override { ++ends; }
};

// A controller that serves its memory to ReadMemory and can keep silent on chosen slots.
class EventReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        memory.resize(kEventRegionAddress + kEventRegionSize + 64);
        for (size_t i = 0; i < memory.size(); ++i)
            memory[i] = static_cast<uint8_t>(i * 7 + i / 251);
        port.responder = [this](const Bytes& request) { return answer(request); };
        port.open(QStringLiteral("fake"), {});
        link.DeviceAddress = kAddress;
    }

    Bytes answer(const Bytes& r) {
        // address, length, nonce, 43, a0, a1, a2, count, CRC
        if (r.size() != 9 || r[3] != 0x43)
            return {};
        const uint32_t address = r[4] | (r[5] << 8) | (r[6] << 16);
        requested.push_back(static_cast<int>((address - kEventRegionAddress) / kEventRecordSize));
        int& failures = silentRequests[requested.back()];
        if (failures > 0) {
            --failures;
            return {};
        }
        if (onRequest)
            onRequest(requested.back());
        Bytes data(1 + r[7]); // a zero, then the bytes
        std::copy_n(memory.begin() + address, r[7], data.begin() + 1);
        return fake::zarnetReply(kAddress, 0x44, data);
    }

    QByteArray region(int records) const {
        return QByteArray(reinterpret_cast<const char*>(memory.data()) + kEventRegionAddress,
                          records * kEventRecordSize);
    }
    int requestsFor(int slot) const {
        return static_cast<int>(std::count(requested.begin(), requested.end(), slot));
    }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void put(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    EventReadResult read(EventReadPacing pacing) {
        return readEventLog(link, target, pacing, progress, listener);
    }

    QTemporaryDir dir;
    QString target = dir.filePath("log.blb");
    std::vector<uint8_t> memory;
    fake::FakeSerialPort port;
    ZarnetLink link{&port};
    fake::ManualClock clock;
    RecordingProgress progress;
    EventReadListener listener;
    std::vector<int> requested;         // slot of every request, in order
    std::map<int, int> silentRequests;  // slot -> requests it leaves unanswered
    std::function<void(int)> onRequest; // runs before an answered request is served
};

TEST_F(EventReaderTest, DeviceWindowReadCopiesTheRegionAndPausesAfterEachRecord) {
    put(target, QByteArray(7000, 'x')); // an older, longer log: replaced, not appended to
    std::vector<int> counter;
    listener.recordCounter = [&](int k) { counter.push_back(k); };

    const EventReadResult r = read(EventReadPacing::DeviceWindow);

    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.fileReplaced);
    EXPECT_EQ(r.recordsRead, kEventSlotCount);
    EXPECT_EQ(contents(target), region(kEventSlotCount));
    ASSERT_EQ(requested.size(), size_t(kEventSlotCount));
    for (int k = 0; k < kEventSlotCount; ++k)
        ASSERT_EQ(requested[size_t(k)], k);
    // One record per request: 43, address low, middle, high, 9.
    EXPECT_EQ(port.writes[100], (Bytes{port.writes[100][0], 8, port.writes[100][2], 0x43, 0x84, 0x0B, 0x00, 9,
                                       port.writes[100][8]}));
    EXPECT_EQ(clock.sleeps, std::vector<int>(kEventSlotCount, 10));
    EXPECT_EQ(progress.title, "Чтение \"Журнала событий\"");
    EXPECT_EQ(progress.maximum, kEventSlotCount);
    EXPECT_EQ(progress.positions.front(), 1);
    EXPECT_EQ(progress.positions.back(), kEventSlotCount);
    EXPECT_EQ(progress.steps.back(), "681");
    EXPECT_EQ(counter.size(), size_t(kEventSlotCount));
    EXPECT_EQ(counter.back(), 681);
    EXPECT_EQ(progress.ends, 1);
}

TEST_F(EventReaderTest, TaskReadPacesEveryRequestAndGoesOnAfterTheSixthRequest) {
    silentRequests[5] = 5; // answers the sixth request only
    silentRequests[6] = 2;
    std::vector<int> repeats;
    listener.repeatCount = [&](int n) { repeats.push_back(n); };

    const EventReadResult r = read(EventReadPacing::ProjectTask);

    EXPECT_TRUE(r.ok());
    EXPECT_EQ(contents(target), region(kEventSlotCount));
    EXPECT_EQ(requestsFor(5), 6);
    EXPECT_EQ(requestsFor(6), 3);
    const size_t requests = kEventSlotCount + 5 + 2;
    EXPECT_EQ(requested.size(), requests);
    EXPECT_EQ(clock.sleeps, std::vector<int>(requests, 20));
    EXPECT_EQ(progress.title, "Чтение событий из прибора");
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_EQ(progress.positions.back(), kEventSlotCount - 1);
    // The repeat line follows the slot being requested: 0 for slots 0..4, up to 5 on slot 5, back to 0.
    EXPECT_EQ(repeats, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1, 2, 0}));
    EXPECT_TRUE(progress.steps.contains("Количество перезапросов  5"));
    EXPECT_EQ(progress.steps.back(), "Количество перезапросов  0");
}

TEST_F(EventReaderTest, SilentSlotEndsTheReadAndKeepsTheRecordsBeforeIt) {
    for (EventReadPacing pacing : {EventReadPacing::DeviceWindow, EventReadPacing::ProjectTask}) {
        SCOPED_TRACE(pacing == EventReadPacing::DeviceWindow ? "device window" : "project task");
        requested.clear();
        clock.sleeps.clear();
        silentRequests = {{100, 1000}};
        put(target, QByteArray(6138, 'o'));

        const EventReadResult r = read(pacing);

        EXPECT_EQ(r.status, EventReadStatus::GaveUp);
        EXPECT_EQ(r.failedSlot, 100);
        EXPECT_EQ(r.recordsRead, 100);
        EXPECT_TRUE(r.fileReplaced);
        EXPECT_EQ(contents(target), region(100)); // 900 bytes
        EXPECT_EQ(requestsFor(100), kRequestsPerSlot);
        EXPECT_EQ(requested.back(), 100);
        const bool task = pacing == EventReadPacing::ProjectTask;
        EXPECT_EQ(clock.sleeps.size(), task ? 106u : 100u);
    }
}

// The fast read asks for 27 records at a time; a range that fails twice is read record by record
// with the per-slot rule, so a slot that never answers ends it where the per-record read ends.
TEST_F(EventReaderTest, FastReadTakesRangesAndFallsBackToRecordsWhereARangeFails) {
    std::vector<int> counter;
    listener.recordCounter = [&](int k) { counter.push_back(k); };
    silentRequests = {{27, 1}, {54, 2}}; // one range answers its second request, one never does
    EventReadResult r =
        readEventLog(link, target, EventReadPacing::DeviceWindow, progress, listener, EventReadMode::Fast);

    EXPECT_TRUE(r.ok());
    EXPECT_EQ(contents(target), region(kEventSlotCount));
    // 26 ranges (the last of 7 records), the failed requests, and slots 55..80 one by one.
    EXPECT_EQ(requested.size(), 26u + 1 + 2 + 26);
    EXPECT_EQ(requestsFor(27), 2);
    EXPECT_EQ(requestsFor(54), 3);
    EXPECT_EQ(requestsFor(55), 1);
    EXPECT_EQ(port.writes.front()[7], 243);
    EXPECT_EQ(port.writes.back()[7], 63);
    EXPECT_EQ(counter.size(), size_t(kEventSlotCount));
    EXPECT_EQ(counter.back(), 681);
    EXPECT_EQ(progress.positions.back(), kEventSlotCount);
    EXPECT_EQ(clock.sleeps.size(), 25u + 27); // after each range that answered and each record read alone

    requested.clear();
    silentRequests = {{81, 2}, {100, 1000}};
    r = readEventLog(link, target, EventReadPacing::ProjectTask, progress, listener, EventReadMode::Fast);
    EXPECT_EQ(r.status, EventReadStatus::GaveUp);
    EXPECT_EQ(r.failedSlot, 100);
    EXPECT_EQ(r.recordsRead, 100);
    EXPECT_EQ(contents(target), region(100));
    EXPECT_EQ(requestsFor(100), kRequestsPerSlot);
    EXPECT_EQ(requested.back(), 100);
}

TEST_F(EventReaderTest, AStopEndsTheReadBeforeTheNextRequestAndKeepsWhatArrived) {
    put(target, QByteArray(6138, 'o'));
    listener.stopRequested = [this] { return requested.size() == 40; };

    const EventReadResult r = read(EventReadPacing::ProjectTask);

    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.status, EventReadStatus::GaveUp);
    EXPECT_EQ(r.recordsRead, 40);
    EXPECT_EQ(requested.size(), 40u);
    EXPECT_TRUE(r.fileReplaced);
    EXPECT_EQ(contents(target), region(40));
}

TEST_F(EventReaderTest, NothingReadLeavesTheOldFileAlone) {
    silentRequests[0] = 1000;
    const QByteArray old = "the engineer's previous log";
    put(target, old);

    const EventReadResult r = read(EventReadPacing::ProjectTask);

    EXPECT_EQ(r.status, EventReadStatus::GaveUp);
    EXPECT_EQ(r.failedSlot, 0);
    EXPECT_FALSE(r.fileReplaced);
    EXPECT_EQ(requestsFor(0), kRequestsPerSlot);
    EXPECT_EQ(contents(target), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.blb"}); // no temporary left behind

    QFile::remove(target);
    requested.clear();
    silentRequests[0] = 1000;
    EXPECT_EQ(read(EventReadPacing::DeviceWindow).status, EventReadStatus::GaveUp);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(EventReaderTest, FileErrorsAreFailedReadsWithTheReason) {
    // A file that cannot be created: nothing is asked of the device.
    const QString unreachable = dir.filePath("no/such/dir/log.blb");
    EventReadResult r = readEventLog(link, unreachable, EventReadPacing::DeviceWindow, progress);
    EXPECT_EQ(r.status, EventReadStatus::FileError);
    EXPECT_FALSE(r.errorText.isEmpty());
    EXPECT_TRUE(port.writes.empty());

    // A file that cannot be put in place at the end: the read is not reported as a success.
    QDir(dir.path()).mkdir("sub");
    const QString sub = dir.filePath("sub");
    onRequest = [&](int slot) {
        if (slot == 300)
            QDir(sub).removeRecursively();
    };
    r = readEventLog(link, sub + "/log.blb", EventReadPacing::DeviceWindow, progress);
    EXPECT_EQ(r.status, EventReadStatus::FileError);
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.fileReplaced);
    EXPECT_FALSE(r.errorText.isEmpty());
}

TEST(EventReadMessage, EachOutcomeInEachWindow) {
    auto outcome = [](EventReadStatus status, const char* errorText = "") {
        EventReadResult r;
        r.status = status;
        r.errorText = QString::fromUtf8(errorText);
        return r;
    };
    using enum EventReadStatus;
    const EventReadResult fileError = outcome(FileError, "No space left on device");
    const struct {
        EventReadResult result;
        EventReadPacing pacing;
        const char* message;
    } cases[] = {
        {outcome(Complete), EventReadPacing::DeviceWindow, ""},
        {outcome(Complete), EventReadPacing::ProjectTask, "Файл событий прочитан и сохранен!"},
        {outcome(GaveUp), EventReadPacing::DeviceWindow, "5 безуспешных попыток прочитать..."},
        {outcome(GaveUp), EventReadPacing::ProjectTask, "Ошибка чтения файла событий!"},
        {fileError, EventReadPacing::DeviceWindow, "No space left on device"},
        {fileError, EventReadPacing::ProjectTask, "No space left on device"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eventReadMessage(c.result, c.pacing), QString::fromUtf8(c.message));
}

} // namespace
