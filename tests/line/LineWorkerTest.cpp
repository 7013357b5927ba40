// The line worker on its own thread against virtual controllers on a real pseudo-terminal: the three
// kinds of job, cancelling, the busy state, posted messages, and a stop in the middle of a transfer.
#include "line/LineWorker.h"
#include "config/ConfigTransfer.h"
#include "line/LineSession.h"
#include "link/ZarnetCommands.h"
#include "project/Project.h"
#include "sim/VirtualLine.h"
#include "support/NoPauseClock.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>

namespace vextor {
namespace {

using testing::waitFor;

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "line_worker_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// A message box that stays open while the line makes three more ticks: the window's thread runs events
// meanwhile, as under a modal box.
class SlowDialogs : public ScriptedDialogs {
public:
    std::function<uint64_t()> ticks;
    bool ticksWentOn = true;
    void message(const QString& text) override {
        ScriptedDialogs::message(text);
        const uint64_t opened = ticks();
        ticksWentOn = waitFor([&] { return ticks() >= opened + 3; }, 5000) && ticksWentOn;
    }
};

// A worker on a virtual line with the master at address 3 and another controller at 17.
class Worker : public ::testing::Test {
protected:
    VirtualLine line;
    ScriptedDialogs dialogs;
    NullProgress progress;
    QObject receiver;
    std::unique_ptr<LineWorker> worker;
    std::mutex portMutex; // the line thread reads the port's path
    QString portPath;
    std::vector<LineStatus> statuses;
    std::vector<bool> busyTold;
    QStringList log;
    bool transferRunning = false;

    void SetUp() override { app(); }

    void start(std::vector<sim::ControllerSettings> controllers, UserDialogs* d = nullptr, int tickMs = 50,
               bool modbusMode = false, TransferProgress* ownProgress = nullptr) {
        for (const auto& c : controllers)
            ASSERT_TRUE(line.addController(c, modbusMode));
        QString error;
        ASSERT_TRUE(line.start(error)) << error.toStdString();
        portPath = line.portPath();
        LineWorker::Options o;
        o.tickMs = tickMs;
        o.portPath = [this](int n) {
            std::lock_guard lock(portMutex);
            return n == 1 ? portPath : QStringLiteral("/nonexistent/ttyVextor");
        };
        worker = std::make_unique<LineWorker>(&receiver, d ? *d : dialogs,
                                              ownProgress ? *ownProgress : progress, o);
        LineListener l;
        l.status = [this](const LineStatus& s) { statuses.push_back(s); };
        l.busy = [this](bool busy, JobTicket) { busyTold.push_back(busy); };
        l.logLine = [this](const QString& line) { log << line; };
        l.transferRunning = [this](bool running) { transferRunning = running; };
        worker->addListener(std::move(l));
    }

    void mark(uint8_t address) { markAt(2, address); }
    void markAt(int code, uint8_t address, const QString& eventsFile = {}) {
        LineTarget t;
        t.markCode = code;
        t.portNumber = 1;
        t.protocol = kProtocolZarnet;
        t.zarnetAddress = address;
        t.modbusAddress = 2;
        t.eventsFile = eventsFile;
        worker->setTarget(t);
    }

    bool linkUp() const { return !statuses.empty() && statuses.back().linkUp; }
};

sim::ControllerSettings at(uint8_t address) {
    auto s = virtualVextor(address, address);
    s.eventIntervalMs = 0;
    return s;
}

// A controller's memory as it is now, read by a direct job of the worker on port 1; empty when the
// read failed.
std::vector<uint8_t> memoryOf(LineWorker& worker, uint8_t address, uint32_t first, uint32_t count) {
    std::optional<JobResult<std::vector<uint8_t>>> result;
    worker.submitDirect<std::vector<uint8_t>>(
        DirectTarget{1, kProtocolZarnet, address, 1, 0},
        [first, count](LineAccess& a) {
            std::vector<uint8_t> bytes(count);
            for (uint32_t off = 0; off < count; off += kConditionChunk) {
                const auto n = static_cast<uint8_t>(std::min(kConditionChunk, count - off));
                if (!ReadMemory(a.link, bytes.data() + off, first + off, n))
                    return std::vector<uint8_t>{};
            }
            return bytes;
        },
        [&](const JobResult<std::vector<uint8_t>>& r) { result = r; });
    if (!waitFor([&] { return result.has_value(); }) || !result->ran())
        return {};
    return *result->value;
}

std::vector<uint8_t> encoded(const ConfigImage& image, uint32_t first, uint32_t count) {
    std::vector<uint8_t> bytes(count);
    encodeRange(image, first, count, bytes.data());
    return bytes;
}

// A transfer's start as the progress window sees it.
struct StartedProgress : TransferProgress {
    int begun = 0;
    int positions = 0;
    void begin(const QString&, int) override { ++begun; }
    void step(const QString&) override {}
    void setPosition(int) override { ++positions; }
    void end() override {}
};

TEST_F(Worker, DirectJobWorksOnItsOwnPortAndAddressAndTellsAPortThatFails) {
    start({at(3), at(17)});
    auto identify = [](LineAccess& a) {
        uint8_t type = 0, build = 0;
        uint16_t version = 0;
        return GetDeviceVersion(a.link, 0, type, version, build) ? int(a.link.DeviceAddress) * 1000 + type
                                                                 : -1;
    };
    std::vector<JobResult<int>> results;
    auto done = [&](const JobResult<int>& r) { results.push_back(r); };
    // Nothing is marked: a direct job needs no mark and no tick.
    worker->submitDirect<int>(DirectTarget{1, kProtocolZarnet, 17, 1, 0}, identify, done);
    worker->submitDirect<int>(DirectTarget{1, kProtocolZarnet, 3, 1, 0}, identify, done);
    worker->submitDirect<int>(DirectTarget{5, kProtocolZarnet, 3, 1, 0}, identify, done);
    ASSERT_TRUE(waitFor([&] { return results.size() == 3; }));

    EXPECT_TRUE(results[0].ran());
    EXPECT_EQ(results[0].value, 17032);
    EXPECT_EQ(results[1].value, 3032);
    EXPECT_EQ(results[2].outcome, JobOutcome::NoPort);
    EXPECT_TRUE(results[2].error.startsWith(QStringLiteral("Невозможно открыть порт COM5!\n")))
        << results[2].error.toStdString();
    EXPECT_FALSE(results[2].value.has_value());
}

// The frames of the line reach the window's thread in order, in batches that never hold more than
// the bound (the oldest give way), and stop once the window lets go.
TEST_F(Worker, FramesReachTheWindowThreadInBoundedBatchesUntilTheWatchEnds) {
    start({at(3)});
    std::vector<std::vector<LinkFrame>> batches;
    bool onWindowThread = true;
    worker->watchFrames(
        [&](std::vector<LinkFrame> batch) {
            onWindowThread = onWindowThread && QThread::currentThread() == receiver.thread();
            batches.push_back(std::move(batch));
        },
        3);
    std::atomic<bool> ran{false};
    auto identify = [&ran](int times) {
        return [&ran, times](LineAccess& a) {
            uint8_t type = 0, build = 0;
            uint16_t version = 0;
            int good = 0;
            for (int i = 0; i < times; ++i)
                good += GetDeviceVersion(a.link, 0, type, version, build);
            ran = true;
            return good;
        };
    };
    std::optional<JobResult<int>> result;
    auto done = [&](const JobResult<int>& r) { result = r; };
    // Five exchanges while the window's thread is held up: one wake-up brings the newest three frames.
    worker->submitDirect<int>(DirectTarget{1, kProtocolZarnet, 3, 1, 0}, identify(5), done);
    while (!ran)
        QThread::msleep(2);
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    ASSERT_EQ(batches.size(), 1u);
    ASSERT_EQ(batches[0].size(), 3u);
    EXPECT_EQ(batches[0][0].verdict, FrameVerdict::Good);
    EXPECT_EQ(batches[0][1].direction, FrameDirection::Sent);
    EXPECT_EQ(batches[0][2].direction, FrameDirection::Received);
    EXPECT_EQ(frameCommandText(batches[0][2]), "GetDeviceVersion");
    EXPECT_LE(batches[0][1].ms, batches[0][2].ms);

    // Nobody at 17: its request and the reply that never came.
    batches.clear();
    result.reset();
    worker->submitDirect<int>(DirectTarget{1, kProtocolZarnet, 17, 1, 0}, identify(1), done);
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    std::vector<LinkFrame> frames;
    ASSERT_TRUE(waitFor([&] {
        for (auto& b : batches)
            frames.insert(frames.end(), b.begin(), b.end());
        batches.clear();
        return frames.size() >= 2;
    }));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frameLine(frames[1]).section(' ', 1), "rx - | GetDeviceVersion | no reply");
    EXPECT_TRUE(onWindowThread);

    worker->watchFrames({}, 0);
    result.reset();
    worker->submitDirect<int>(DirectTarget{1, kProtocolZarnet, 3, 1, 0}, identify(1), done);
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    EXPECT_EQ(result->value, 1);
    waitFor([] { return false; }, 100); // time for a batch that should not come
    EXPECT_TRUE(batches.empty());
}

TEST_F(Worker, TickJobRunsOnTheMarkedControllerAndTwoJobsOfOneTurnBothRun) {
    start({at(3), at(17)});
    mark(17);
    std::vector<int> order;
    std::vector<JobResult<bool>> results;
    for (int i = 0; i < 2; ++i)
        worker->submit<bool>(
            TaskTurn::ReadClock,
            [&order, i](LineAccess& a) {
                order.push_back(i);
                std::array<uint8_t, 6> clock{};
                return ReadDeviceClock(a.link, clock) && a.link.DeviceAddress == 17;
            },
            [&](const JobResult<bool>& r) { results.push_back(r); });
    ASSERT_TRUE(waitFor([&] { return results.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1}));
    EXPECT_TRUE(results[0].ran() && *results[0].value);
    EXPECT_TRUE(results[1].ran() && *results[1].value);
    // The tick's status reaches the window after the results of the jobs it ran.
    EXPECT_TRUE(waitFor([&] { return linkUp(); }));
}

TEST_F(Worker, PeriodicJobHandsOverSamplesInEveryTickUntilCancelled) {
    start({at(3)});
    mark(3);
    std::vector<int> samples;
    std::optional<JobOutcome> ended;
    int cycle = 0;
    const JobTicket ticket = worker->submitPeriodic<int>(
        TaskTurn::Visual,
        [&cycle](LineAccess& a, const std::function<void(int)>& sample) {
            std::array<uint8_t, 6> clock{};
            if (ReadDeviceClock(a.link, clock))
                sample(++cycle);
            return JobStep::Again;
        },
        [&](std::vector<int> batch) { samples.insert(samples.end(), batch.begin(), batch.end()); },
        [&](JobOutcome o) { ended = o; });
    ASSERT_TRUE(waitFor([&] { return samples.size() >= 3; }));
    // A live monitor is not a user's operation: the window stays free to work.
    EXPECT_EQ(std::count(busyTold.begin(), busyTold.end(), true), 0);

    worker->cancel(ticket);
    ASSERT_TRUE(waitFor([&] { return ended.has_value(); }));
    EXPECT_EQ(*ended, JobOutcome::Cancelled);
    const auto ticks = worker->ticks();
    const std::size_t seen = samples.size();
    ASSERT_TRUE(waitFor([&] { return worker->ticks() >= ticks + 3; }));
    EXPECT_EQ(samples.size(), seen);
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(samples[i], int(i) + 1); // none lost, none twice, in order
}

// The ticks keep their rate however long each takes: a monitor whose cycle fills half of every tick
// still gets a tick per period, with no drift.
TEST_F(Worker, TicksKeepAFixedRateWhateverTheyCost) {
    start({at(3)}, nullptr, 300);
    mark(3);
    std::vector<qint64> starts;
    QElapsedTimer clock;
    clock.start();
    worker->submitPeriodic<int>(
        TaskTurn::Visual,
        [&](LineAccess&, const std::function<void(int)>& sample) {
            QThread::msleep(60); // a long monitor cycle, beside the identification of the tick
            sample(0);
            return JobStep::Again;
        },
        [&](std::vector<int> batch) { starts.insert(starts.end(), batch.size(), clock.elapsed()); }, {});
    ASSERT_TRUE(waitFor([&] { return starts.size() >= 3; }));
    const uint64_t from = worker->ticks();
    const qint64 t0 = clock.elapsed();
    waitFor([&] { return clock.elapsed() - t0 >= 3000; }, 5000);
    const uint64_t ticks = worker->ticks() - from;
    // 10 periods of 300 ms; a timer that waited a whole period after each tick (of about 150 ms here)
    // would give about 7.
    EXPECT_GE(ticks, 9u);
    EXPECT_LE(ticks, 11u);
}

TEST_F(Worker, ThePendingJobsKeepTheWindowBusyUntilTheLastEnds) {
    start({at(3)});
    // The mark is on an address nobody answers: the job waits for a link that does not come.
    mark(50);
    std::optional<JobResult<bool>> first;
    const JobTicket ticket = worker->submit<bool>(
        TaskTurn::Sound, [](LineAccess&) { return true; }, [&](const JobResult<bool>& r) { first = r; });
    ASSERT_TRUE(waitFor([&] { return !busyTold.empty(); }));
    EXPECT_EQ(busyTold, std::vector<bool>{true});
    const auto ticks = worker->ticks();
    ASSERT_TRUE(waitFor([&] { return worker->ticks() >= ticks + 3; }));
    EXPECT_EQ(busyTold, std::vector<bool>{true});
    EXPECT_FALSE(first.has_value());

    worker->cancel(ticket);
    ASSERT_TRUE(waitFor([&] { return first.has_value() && busyTold.size() == 2; }));
    EXPECT_EQ(first->outcome, JobOutcome::Cancelled);
    EXPECT_EQ(busyTold, (std::vector<bool>{true, false}));
}

TEST_F(Worker, MessagesArePostedInOrderAndTheLineGoesOnWhileABoxIsOpen) {
    SlowDialogs slow;
    start({at(3)}, &slow);
    slow.ticks = [this] { return worker->ticks(); };
    mark(3);
    worker->queueTask(LineTask::Reset);
    worker->queueTask(LineTask::SwitchToModbus);
    ASSERT_TRUE(waitFor([&] { return slow.shown.size() == 3; }));
    // Each box stayed open while the line went on ticking; the boxes came in the order of their steps.
    EXPECT_TRUE(slow.ticksWentOn);
    EXPECT_EQ(slow.shown, (QStringList{QStringLiteral("     Сброс выполнен!     "),
                                       QStringLiteral("     Переход выполнен!     "),
                                       QStringLiteral("     Сброс выполнен!     ")}));
}

TEST_F(Worker, ClosingDuringAReadFromASilentControllerReturnsWithinOneExchange) {
    auto silent = at(3);
    // Every configuration block goes unanswered, the configuration version still answers.
    silent.silentRanges.push_back({3, 1100});
    start({silent}, nullptr, 200);
    mark(3);
    ASSERT_TRUE(waitFor([&] { return linkUp(); }));
    worker->queueTask(LineTask::ReadConfig);
    ASSERT_TRUE(waitFor([&] { return transferRunning; }));
    QElapsedTimer waited;
    waited.start();
    waitFor([] { return false; }, 1500); // well into the attempts of the first block
    QElapsedTimer closing;
    closing.start();
    worker->stop();
    // Unstopped, the read would try every one of its 13 blocks, each unanswered read ending after the
    // time-out of about 0.8 s; the stop ends it within the one exchange that runs.
    EXPECT_LT(closing.elapsed(), 1500);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
}

TEST_F(Worker, AWriteStoppedByClosingSaysSoInTheLog) {
    start({at(3)});
    mark(3);
    ASSERT_TRUE(waitFor([&] { return linkUp(); }));
    ConfigImage image;
    loadDefaultConfiguration(image);
    worker->queueTask(LineTask::WriteConfig, image);
    ASSERT_TRUE(waitFor([&] { return transferRunning; }));
    worker->stop();
    ASSERT_TRUE(waitFor([&] { return !log.isEmpty(); }, 3000));
    EXPECT_TRUE(
        log.last().contains(QStringLiteral("запись конфигурации прервана, прибор записан частично - ")))
        << log.last().toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
}

// The port goes away under a linked controller: the window hears the link lost and the mark cleared
// before the box says so, and the log keeps the system's reason.
TEST_F(Worker, ALostPortIsToldBeforeItsBoxWithTheSystemsReasonInTheLog) {
    struct OrderDialogs : ScriptedDialogs {
        QStringList* events = nullptr;
        void message(const QString& text) override {
            ScriptedDialogs::message(text);
            *events << QStringLiteral("box: ") + text;
        }
    } boxes;
    QStringList events;
    boxes.events = &events;
    start({at(3)}, &boxes);
    LineListener l;
    l.status = [&](const LineStatus& s) {
        events << (s.linkUp ? QStringLiteral("up") : QStringLiteral("down"));
    };
    l.markCleared = [&](int) { events << QStringLiteral("mark cleared"); };
    worker->addListener(std::move(l));
    mark(3);
    ASSERT_TRUE(waitFor([&] { return linkUp(); }));
    events.clear();
    {
        std::lock_guard lock(portMutex);
        portPath = QStringLiteral("/nonexistent/ttyUSB7");
    }
    ASSERT_TRUE(waitFor([&] { return !boxes.shown.isEmpty(); }));
    EXPECT_EQ(events, (QStringList{QStringLiteral("mark cleared"), QStringLiteral("down"),
                                   QStringLiteral("box: Невозможно открыть порт COM1!")}));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(QStringLiteral("Невозможно открыть порт COM1! ")));
    EXPECT_TRUE(log[0].contains(QStringLiteral("/nonexistent/ttyUSB7")));
    EXPECT_TRUE(log[0].contains(QString::fromLocal8Bit(std::strerror(ENOENT)))) << log[0].toStdString();
}

// A Modbus line with even parity on the pseudo-terminal of the virtual controller: identified in
// every tick, the mark never cleared.
TEST_F(Worker, AModbusLineWithParityStaysLinkedTickAfterTick) {
    start({at(3)}, nullptr, 50, true);
    LineTarget t;
    t.markCode = 2;
    t.portNumber = 1;
    t.protocol = kProtocolModbus;
    t.zarnetAddress = 3;
    t.modbusAddress = 3;
    t.mbParams = 0x31; // 9600, even parity, one stop bit
    worker->setTarget(t);
    ASSERT_TRUE(waitFor([&] { return linkUp(); }));
    const auto ticks = worker->ticks();
    ASSERT_TRUE(waitFor([&] { return worker->ticks() >= ticks + 10; }));
    EXPECT_TRUE(linkUp());
    for (const LineStatus& s : statuses)
        EXPECT_TRUE(s.linkUp || s.markCode == 2);
    EXPECT_EQ(statuses.back().identFailures, 0u);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('|').toStdString();
}

// The engineer marks another controller while operations wait for one that does not answer: they
// are dropped, a task with its failure message, and the next tick works on the new mark.
TEST_F(Worker, AMarkChangeDropsWhatWaitsForTheOldControllerWithItsMessage) {
    start({at(3), at(17)});
    mark(50); // nobody answers there
    ConfigImage image;
    loadDefaultConfiguration(image);
    worker->queueTask(LineTask::ReadConfig, image);
    std::optional<JobResult<bool>> clock;
    worker->submit<bool>(
        TaskTurn::ReadClock, [](LineAccess&) { return true; }, [&](const JobResult<bool>& r) { clock = r; });
    const auto ticks = worker->ticks();
    ASSERT_TRUE(waitFor([&] { return worker->ticks() >= ticks + 2; }));
    ASSERT_EQ(busyTold, std::vector<bool>{true});
    bool transferred = false;
    LineListener l;
    l.transferRunning = [&](bool running) { transferred = transferred || running; };
    worker->addListener(std::move(l));

    markAt(100, 17);
    ASSERT_TRUE(waitFor([&] { return linkUp() && statuses.back().markCode == 100; }));
    ASSERT_TRUE(waitFor([&] { return clock.has_value() && !busyTold.back(); }));
    EXPECT_EQ(clock->outcome, JobOutcome::Dropped);
    ASSERT_TRUE(waitFor([&] { return !dialogs.shown.isEmpty(); }));
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("     Ошибка чтения конфигурации!     ")});
    EXPECT_FALSE(transferred) << "the old mark's read went to the new controller";
}

// A read running for a controller that is unmarked ends before its next request with its failure
// message and keeps nothing: no image reaches the window, the event file stays as it was.
TEST_F(Worker, AReadRunningAtAMarkChangeEndsAtItsNextStepAndKeepsNothing) {
    struct Case {
        const char* what;
        LineTask task;
        QString message;
    };
    const Case cases[] = {
        {"configuration", LineTask::ReadConfig, QStringLiteral("     Ошибка чтения конфигурации!     ")},
        {"events", LineTask::ReadEvents, QStringLiteral("Ошибка чтения файла событий!")},
    };
    auto slow = at(3);
    slow.silentRanges.push_back({66, 84}); // the configuration read stalls at its second block
    slow.eventCount = 682;
    StartedProgress started;
    QTemporaryDir dir;
    const QString events = dir.filePath(QStringLiteral("events.blb"));
    const QByteArray oldLog(18, '\x5A');
    {
        QFile f(events);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(oldLog);
    }
    start({slow, at(17)}, nullptr, 50, false, &started);
    QStringList kept;
    LineListener l;
    l.configurationRead = [&](const ConfigImage&, ConfigViews, bool) { kept << QStringLiteral("image"); };
    l.eventsRead = [&](const QString& path) { kept << path; };
    worker->addListener(std::move(l));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.shown.clear();
        markAt(2, 3, events);
        ASSERT_TRUE(waitFor([&] { return linkUp() && statuses.back().markCode == 2; }));
        const int begun = started.begun;
        started.positions = 0;
        ConfigImage image;
        loadDefaultConfiguration(image);
        worker->queueTask(c.task, image);
        ASSERT_TRUE(waitFor([&] { return started.begun > begun && started.positions >= 2; }));

        markAt(100, 17, events);
        ASSERT_TRUE(waitFor([&] { return !dialogs.shown.isEmpty(); }, 5000));
        EXPECT_EQ(dialogs.shown, QStringList{c.message});
        ASSERT_TRUE(waitFor([&] { return linkUp() && statuses.back().markCode == 100; }));
        EXPECT_TRUE(kept.isEmpty()) << kept.join('|').toStdString();
        QFile f(events);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), oldLog);
    }
}

// A configuration write that runs when the engineer marks another controller goes on to its end in
// its own controller: every section lands there, and none in the new one.
TEST_F(Worker, AWriteRunningAtAMarkChangeWritesEverySectionIntoItsOwnController) {
    start({at(3), at(17)});
    mark(3);
    ASSERT_TRUE(waitFor([&] { return linkUp(); }));
    ConfigImage image;
    loadDefaultConfiguration(image);
    image.ArrSensors[4].Rline = 42.5f; // the first section
    image.Calendars[4][11] = 0xA5;     // the last one
    // The Modbus settings of the mark, which the line puts into the image it writes.
    image.MB_Address = 2;
    image.MB_Params = 0;
    worker->queueTask(LineTask::WriteConfig, image);
    ASSERT_TRUE(waitFor([&] { return transferRunning; }));

    markAt(100, 17);
    ASSERT_TRUE(waitFor([&] { return !dialogs.shown.isEmpty(); }));
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("Конфигурация записана!")});
    ConfigImage untouched;
    loadDefaultConfiguration(untouched);
    for (const WriteStep& step : configurationWritePlan()) {
        for (const MemoryRange& r : step.ranges) {
            SCOPED_TRACE(r.address);
            EXPECT_EQ(memoryOf(*worker, 3, r.address, r.count), encoded(image, r.address, r.count));
        }
    }
    const MemoryRange calendar = configurationWritePlan().back().ranges.back();
    EXPECT_EQ(memoryOf(*worker, 17, calendar.address, calendar.count),
              encoded(untouched, calendar.address, calendar.count));
}

// Before a write the line compares the Modbus settings about to go to the controller with what the
// last configuration read found there; the engineer decides which the controller keeps, and the
// project's record follows the choice.
TEST(WriteModbusQuestion, TheEngineerChoosesWhichModbusSettingsTheControllerKeeps) {
    app();
    testing::NoPauseClock pacing;
    const auto question = [](const QString& controller, const QString& project) {
        return QStringLiteral("Параметры ModBus в проекте не совпадают со считанными из Vextor!\n"
                              "В Vextor: %1\n"
                              "В проекте: %2\n"
                              "Записать в Vextor параметры проекта?\n"
                              "Нет - оставить параметры Vextor и взять их в проект,\n"
                              "Отмена - не записывать конфигурацию.")
            .arg(controller, project);
    };
    const QString at7 = QStringLiteral("адрес 7, 9600, 10 бит/1 стоп, мантисса/порядок");
    const QString ask72 = question(at7, QStringLiteral("адрес 2, 9600, 10 бит/1 стоп, мантисса/порядок"));
    const QString ask7even =
        question(at7, QStringLiteral("адрес 7, 19200, 11 бит/чет/1 стоп, порядок/мантисса"));
    // The controller holds address 7 and line byte 0x01 (9600, no parity).
    struct Case {
        const char* what;
        uint8_t address, params; // the project's record before
        bool read;               // a configuration read before the write
        // Then the service page wrote this address into the controller and the record took it.
        std::optional<uint8_t> serviceWrote;
        std::optional<Answer> answer;
        QString asked;             // empty: no question
        uint8_t controller;        // the controller's address afterwards (its line byte stays 0x01)
        uint8_t record, recParams; // the project's record afterwards
        bool imageWritten;
    };
    const Case cases[] = {
        {"equal", 7, 0x01, true, {}, {}, {}, 7, 7, 0x01, true},
        {"address differs, Yes", 2, 0x01, true, {}, Answer::Yes, ask72, 2, 2, 0x01, true},
        {"address differs, No", 2, 0x01, true, {}, Answer::No, ask72, 7, 7, 0x01, true},
        {"line byte differs, No", 7, 0xB2, true, {}, Answer::No, ask7even, 7, 7, 0x01, true},
        {"address differs, Cancel", 2, 0x01, true, {}, Answer::Cancel, ask72, 7, 2, 0x01, false},
        {"nothing read", 2, 0x01, false, {}, {}, {}, 2, 2, 0x01, true},
        {"the service page changed it since", 7, 0x01, true, 9, {}, {}, 9, 9, 0x01, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualLine line;
        auto controller = at(3);
        controller.modbusAddress = 7;
        ASSERT_TRUE(line.addController(controller));
        QString error;
        ASSERT_TRUE(line.start(error)) << error.toStdString();
        ScriptedDialogs dialogs;
        NullProgress progress;
        QObject receiver;
        Project project(dialogs);
        project.model.MasterCount = 1;
        DeviceRecord& master = project.model.Master;
        master.ZarnetAddress = 3;
        master.ModbusAddress = c.address;
        master.MbParams = c.params;
        project.RebuildTree();
        project.MarkCode = 2;
        project.ApplyMarkedLink();
        ConfigImage image;
        loadDefaultConfiguration(image);
        image.ArrSensors[4].Rline = 42.5f; // shows whether the image went to the controller
        LineWorker::Options o;
        o.tickMs = 50;
        const QString path = line.portPath();
        o.portPath = [path](int) { return path; };
        LineSession session(&receiver, project, image, dialogs, progress, o);
        session.sendTarget();
        ASSERT_TRUE(waitFor([&] { return session.status().linkUp; }));
        QStringList expected;
        if (c.read) {
            session.queueTask(LineTask::ReadConfig);
            ASSERT_TRUE(waitFor([&] { return !session.busy() && !dialogs.shown.isEmpty(); }));
            expected << QStringLiteral("     Конфигурация прочитана!     ");
        }
        if (c.serviceWrote) {
            const uint8_t address = *c.serviceWrote;
            std::optional<JobResult<bool>> wrote;
            session.submit<bool>(
                TaskTurn::WriteModbusParams,
                [address](LineAccess& a) { return WriteMemory(a.link, &address, 5, 1); },
                [&](const JobResult<bool>& r) { wrote = r; });
            ASSERT_TRUE(waitFor([&] { return wrote.has_value(); }));
            ASSERT_TRUE(wrote->ran() && *wrote->value);
            master.ModbusAddress = address;
            project.ApplyMarkedLink();
        }
        if (c.answer)
            dialogs.yesNoCancel = {*c.answer};
        if (!c.asked.isEmpty())
            expected << c.asked;
        if (c.imageWritten)
            expected << QStringLiteral("Конфигурация записана!");

        session.queueTask(LineTask::WriteConfig);
        ASSERT_TRUE(waitFor([&] { return !session.busy() && dialogs.shown.size() >= expected.size(); }));

        EXPECT_EQ(dialogs.shown, expected);
        EXPECT_EQ(memoryOf(session.worker(), 3, 3, 3), (std::vector<uint8_t>{0x01, 0x00, c.controller}));
        EXPECT_EQ(memoryOf(session.worker(), 3, 66, 84) == encoded(image, 66, 84), c.imageWritten);
        EXPECT_EQ(master.ModbusAddress, c.record);
        EXPECT_EQ(master.MbParams, c.recParams);
    }
}

} // namespace
} // namespace vextor
