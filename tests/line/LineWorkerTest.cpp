// The line worker on its own thread against virtual controllers on a real pseudo-terminal: the three
// kinds of job, cancelling, the busy state, posted messages, and a stop in the middle of a transfer.
#include "line/LineWorker.h"
#include "link/ZarnetCommands.h"
#include "sim/VirtualLine.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <array>
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
               bool modbusMode = false) {
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
        worker = std::make_unique<LineWorker>(&receiver, d ? *d : dialogs, progress, o);
        LineListener l;
        l.status = [this](const LineStatus& s) { statuses.push_back(s); };
        l.busy = [this](bool busy, JobTicket) { busyTold.push_back(busy); };
        l.logLine = [this](const QString& line) { log << line; };
        l.transferRunning = [this](bool running) { transferRunning = running; };
        worker->addListener(std::move(l));
    }

    void mark(uint8_t address) {
        LineTarget t;
        t.markCode = 2;
        t.portNumber = 1;
        t.protocol = kProtocolZarnet;
        t.zarnetAddress = address;
        t.modbusAddress = 2;
        worker->setTarget(t);
    }

    bool linkUp() const { return !statuses.empty() && statuses.back().linkUp; }
};

sim::ControllerSettings at(uint8_t address) {
    auto s = virtualVextor(address, address);
    s.eventIntervalMs = 0;
    return s;
}

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
    EXPECT_TRUE(linkUp());
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

} // namespace
} // namespace vextor
