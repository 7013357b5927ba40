// The fault soak: configuration read and write, the event read and the task loop's ticks against
// vextor-sim on a real pseudo-terminal whose replies are lost, corrupted, cut short or sent from
// another address, over many seeds. Every run must end byte-exact or as a failure that says so;
// never a crash, a hang or a success with wrong data.
//
// The suite runs a few seeds per operation; scripts/soak.sh runs many and prints the table.
//   VEXTOR_SOAK_SEEDS   seeds per operation (default 2 for the transfers, 1 for the event read and
//                       the ticks)
//   VEXTOR_SOAK_FIRST   the first seed (default 1)
#include "support/SimProcess.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "config/ConfigTransfer.h"
#include "line/LineWorker.h"
#include "monitor/PollJob.h"
#include "support/FileBytes.h"
#include "support/ScriptedDialogs.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "soak_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

int envNumber(const char* name, int fallback) {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : fallback;
}

struct Rates {
    const char* drop;
    const char* corrupt;
    const char* wrongAddress;
    const char* truncate;
    QStringList options() const {
        return {"--drop-rate",          drop,         "--corrupt-rate",  corrupt,
                "--wrong-address-rate", wrongAddress, "--truncate-rate", truncate};
    }
    std::string text() const {
        return std::string("drop ") + drop + ", corrupt " + corrupt + ", wrong address " + wrongAddress +
               ", truncate " + truncate;
    }
};

// A lost or cut reply costs the 700 ms read time-out, so the long runs (682 event slots, a thousand
// exchanges of the ticks) take the cheap faults more often than the dear ones.
constexpr Rates kTransferRates{"0.05", "0.05", "0.05", "0.05"};
constexpr Rates kLongRunRates{"0.01", "0.03", "0.03", "0.01"};

enum class Verdict { Exact, CleanFailure, Wrong };

class Tally {
public:
    Tally(const char* operation, const Rates& rates) : operation_(operation), rates_(rates) {}
    void add(int seed, Verdict v, const std::string& why = {}) {
        ++counts_[static_cast<int>(v)];
        if (v == Verdict::Wrong)
            wrong_.push_back("seed " + std::to_string(seed) + ": " + why);
        else if (!why.empty())
            std::printf("  seed %d: %s\n", seed, why.c_str());
    }
    // The row scripts/soak.sh collects, then the reasons of every wrong run.
    void report() const {
        const int total = counts_[0] + counts_[1] + counts_[2];
        std::printf("SOAK | %-14s | %2d/%-2d exact | %2d/%-2d clean failure | %2d/%-2d WRONG | %s\n",
                    operation_, counts_[0], total, counts_[1], total, counts_[2], total,
                    rates_.text().c_str());
        std::fflush(stdout);
        for (const std::string& w : wrong_)
            ADD_FAILURE() << operation_ << ": " << w;
    }

private:
    const char* operation_;
    Rates rates_;
    int counts_[3] = {0, 0, 0};
    std::vector<std::string> wrong_;
};

// The suite's own run takes fewer seeds of the long operations.
std::vector<int> seeds(int suiteCount) {
    const int first = envNumber("VEXTOR_SOAK_FIRST", 1), count = envNumber("VEXTOR_SOAK_SEEDS", suiteCount);
    std::vector<int> s;
    for (int i = 0; i < count; ++i)
        s.push_back(first + i);
    return s;
}

using vextor::testing::readAll;

// vextorctl within a time bound: a run that outlives it is killed and counts as a hang.
struct CtlRun {
    bool hung = false;
    bool crashed = false;
    int exitCode = -1;
    QString err;
};

CtlRun runBounded(const QStringList& args, int boundMs) {
    QProcess p;
    p.start(binPath(QStringLiteral("vextorctl")), args);
    CtlRun r;
    if (!p.waitForStarted(5000)) {
        r.crashed = true;
        return r;
    }
    if (!p.waitForFinished(boundMs)) {
        r.hung = true;
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

// What a run that did not succeed must look like: it ended by itself, with a non-zero code and a
// message. Empty when it did; otherwise why it is wrong.
std::string notAClearEnd(const CtlRun& r) {
    if (r.hung)
        return "hung";
    if (r.crashed)
        return "crashed";
    if (r.exitCode == 0)
        return {};
    if (r.err.isEmpty())
        return "exit " + std::to_string(r.exitCode) + " without a message";
    return {};
}

// The configuration file of the image a controller's memory holds (its dump, from address 0).
QByteArray configurationFileOf(const QByteArray& memory) {
    ConfigImage image;
    loadDefaultConfiguration(image);
    decodeBlock(image, 3, kCfgVersionAddress + 2 - 3,
                reinterpret_cast<const uint8_t*>(memory.constData()) + 3);
    return configurationFileBytes(image);
}

QString fixture(const char* name) {
    return QStringLiteral(VEXTOR_FIXTURES "/config/") + QLatin1String(name);
}

// VEXTOR_SOAK_SIM_LOG names a frame log of the simulator, to look at one seed's run.
QStringList extraSimOptions() {
    const QString log = qEnvironmentVariable("VEXTOR_SOAK_SIM_LOG");
    return log.isEmpty() ? QStringList{} : QStringList{"--log", log};
}

constexpr int kEventRegion = 2048, kEventBytes = 682 * 9;
constexpr int kCtlBoundMs = 300000;

} // namespace

// The read file equals the controller's configuration, or the read fails and saves nothing.
TEST(Soak, ConfigurationRead) {
    QTemporaryDir dir;
    Tally tally("read-config", kTransferRates);
    ConfigImage defaults;
    loadDefaultConfiguration(defaults);
    const QByteArray defaultFile = configurationFileBytes(defaults);
    for (const int seed : seeds(2)) {
        const QString memory = dir.filePath(QStringLiteral("mem%1.bin").arg(seed)),
                      file = dir.filePath(QStringLiteral("read%1.bin").arg(seed));
        SimProcess sim(QStringList{"--event-interval", "0", "--seed", QString::number(seed), "--load-config",
                                   fixture("whole_file.bin"), "--dump-memory", memory} +
                       kTransferRates.options());
        ASSERT_TRUE(sim.started());
        const CtlRun r = runBounded({"--port", sim.port(), "read-config", file}, kCtlBoundMs);
        sim.stop();
        const QByteArray expected = configurationFileOf(readAll(memory));
        ASSERT_NE(expected, defaultFile) << "the controller holds more than the defaults";
        if (const std::string why = notAClearEnd(r); !why.empty())
            tally.add(seed, Verdict::Wrong, why);
        else if (r.exitCode != 0)
            tally.add(seed, QFile::exists(file) ? Verdict::Wrong : Verdict::CleanFailure,
                      QFile::exists(file) ? "a failed read left a file" : "");
        else if (readAll(file) != expected)
            tally.add(seed, Verdict::Wrong, "the file differs from the controller's configuration");
        else
            tally.add(seed, Verdict::Exact);
    }
    tally.report();
}

// After a write that succeeded, the controller holds the file, its own values where the file carries
// none, and the version mark; a write that did not must say so.
namespace {

// Why the memory after a write that reported success is not what the write must leave; empty when it
// is. Every range the write sends holds the file's image over the controller's own values where the
// file carries none (the year bytes go out as 0), the version mark is set, and nothing else in the
// configuration changed.
std::string wrongWrite(const QByteArray& held, const QByteArray& pristine, const QByteArray& file) {
    const auto* before = reinterpret_cast<const uint8_t*>(pristine.constData());
    ConfigImage image;
    loadDefaultConfiguration(image);
    applyConfigurationFileBytes(image, file);
    for (const MemoryRange& range : writtenRangesNotInFile())
        decodeBlock(image, range.address, range.count, before + range.address);
    std::vector<bool> written(kCfgVersionAddress, false);
    for (const WriteStep& step : configurationWritePlan())
        for (const MemoryRange& range : step.ranges) {
            std::vector<uint8_t> bytes(range.count);
            encodeRange(image, range.address, range.count, bytes.data());
            const QByteArray expected(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
            if (held.mid(range.address, range.count) != expected)
                return "the range at " + std::to_string(range.address) + " differs from the file";
            for (uint32_t a = range.address; a < range.address + range.count; ++a)
                written[a] = true;
        }
    for (uint32_t a = 3; a < kCfgVersionAddress; ++a)
        if (!written[a] && held[a] != pristine[a])
            return "byte " + std::to_string(a) + " changed, which the write does not send";
    if (held.mid(kCfgVersionAddress, 2) != QByteArray("\xC8\x00", 2))
        return "no version mark";
    return {};
}

} // namespace

TEST(Soak, ConfigurationWrite) {
    QTemporaryDir dir;
    const QString input = fixture("whole_file.bin");
    const QByteArray file = readAll(input);
    const QStringList start{"--event-interval", "0", "--cfg-version", "none"};
    // The controller before the write, and a write without faults: it must pass the judge.
    QByteArray pristine;
    for (const bool write : {false, true}) {
        const QString memory = dir.filePath(write ? "clean.bin" : "pristine.bin");
        SimProcess sim(start + QStringList{"--dump-memory", memory});
        ASSERT_TRUE(sim.started());
        if (write) {
            ASSERT_EQ(runBounded({"--port", sim.port(), "write-config", input}, kCtlBoundMs).exitCode, 0);
        }
        sim.stop();
        if (!write) {
            pristine = readAll(memory);
            ASSERT_GE(pristine.size(), kCfgVersionAddress + 2);
            ASSERT_FALSE(wrongWrite(pristine, pristine, file).empty()) << "the write changes the controller";
        } else {
            ASSERT_EQ(wrongWrite(readAll(memory), pristine, file), "");
        }
    }
    Tally tally("write-config", kTransferRates);
    for (const int seed : seeds(2)) {
        const QString memory = dir.filePath(QStringLiteral("mem%1.bin").arg(seed));
        SimProcess sim(start + QStringList{"--seed", QString::number(seed), "--dump-memory", memory} +
                       kTransferRates.options());
        ASSERT_TRUE(sim.started());
        const CtlRun r = runBounded({"--port", sim.port(), "write-config", input}, kCtlBoundMs);
        sim.stop();
        const QByteArray held = readAll(memory);
        ASSERT_GE(held.size(), kCfgVersionAddress + 2);
        if (const std::string why = notAClearEnd(r); !why.empty())
            tally.add(seed, Verdict::Wrong, why);
        else if (r.exitCode != 0)
            tally.add(seed, Verdict::CleanFailure);
        else if (const std::string why = wrongWrite(held, pristine, file); !why.empty())
            tally.add(seed, Verdict::Wrong, why);
        else
            tally.add(seed, Verdict::Exact);
    }
    tally.report();
}

// The event file equals the black box; a read that gives up keeps only whole records from the
// first slot on, each as the controller holds it.
TEST(Soak, EventRead) {
    QTemporaryDir dir;
    Tally tally("read-events", kLongRunRates);
    for (const int seed : seeds(1)) {
        const QString memory = dir.filePath(QStringLiteral("mem%1.bin").arg(seed)),
                      file = dir.filePath(QStringLiteral("events%1.blb").arg(seed));
        SimProcess sim(QStringList{"--event-interval", "0", "--events", "500", "--seed",
                                   QString::number(seed), "--dump-memory", memory} +
                       kLongRunRates.options());
        ASSERT_TRUE(sim.started());
        const CtlRun r = runBounded({"--port", sim.port(), "read-events", file}, kCtlBoundMs);
        sim.stop();
        const QByteArray blackBox = readAll(memory).mid(kEventRegion, kEventBytes);
        ASSERT_EQ(blackBox.size(), kEventBytes);
        const QByteArray got = readAll(file);
        if (const std::string why = notAClearEnd(r); !why.empty())
            tally.add(seed, Verdict::Wrong, why);
        else if (r.exitCode == 0)
            tally.add(seed, got == blackBox ? Verdict::Exact : Verdict::Wrong,
                      got == blackBox ? "" : "the event file differs from the black box");
        else if (got.size() % 9 != 0 || !blackBox.startsWith(got))
            tally.add(seed, Verdict::Wrong, "the records kept differ from the black box");
        else
            tally.add(seed, Verdict::CleanFailure);
    }
    tally.report();
}

namespace {

// The simulator's analog inputs drift around these values by at most the swing and a little noise.
struct InputBand {
    float base, swing;
};
constexpr InputBand kInputBands[monitor::kAnalogInputs] = {{6.0f, 3.0f},  {21.0f, 1.5f}, {45.0f, 4.0f},
                                                           {22.0f, 0.6f}, {55.0f, 2.0f}, {3.2f, 0.4f}};
constexpr float kAnalogOutputs[monitor::kAnalogOutputs] = {3.5f, 0.0f};

// Why a record the monitor took in shows a value the controller cannot have sent; empty when none.
std::string wrongValue(const monitor::MonitorRecord& r) {
    for (int k = 0; k < monitor::kAnalogInputs; ++k)
        if (r.analogIn[k] && std::fabs(*r.analogIn[k] - kInputBands[k].base) > kInputBands[k].swing + 0.06f)
            return "analog input " + std::to_string(k + 1) + " = " + std::to_string(*r.analogIn[k]);
    for (int k = 0; k < monitor::kAnalogOutputs; ++k)
        if (r.analogOut[k] && *r.analogOut[k] != kAnalogOutputs[k])
            return "analog output " + std::to_string(k + 1) + " = " + std::to_string(*r.analogOut[k]);
    for (int k = 0; k < monitor::kDiscreteOutputs; ++k)
        if (r.discreteOut[k] && *r.discreteOut[k])
            return "discrete output " + std::to_string(k + 1) + " on";
    for (const monitor::PolledEvent& e : r.events)
        if (e.kind == monitor::PolledEvent::InputChange && (e.bytes[2] != 1 || e.bytes[3] > 0x3F))
            return "input change " + e.line.toStdString();
    return {};
}

bool whole(const monitor::MonitorRecord& r) {
    const auto all = [](const auto& values) {
        return std::all_of(values.begin(), values.end(), [](const auto& v) { return v.has_value(); });
    };
    return r.steps == monitor::kPollSteps && r.errors == 0 && all(r.analogIn) && all(r.analogOut) &&
           all(r.discreteIn) && all(r.discreteOut);
}

// The status texts of an identity whose panel part, configuration part or both are not known yet.
QStringList partialIdentities(const QString& identity) {
    const int panel = identity.indexOf(QStringLiteral(", панель")),
              cfg = identity.indexOf(QStringLiteral(", конфигурация"));
    int end = int(identity.size());
    while (end > 0 && identity[end - 1] == QLatin1Char(' '))
        --end;
    if (panel < 0 || cfg < panel)
        return {};
    const QString head = identity.left(panel), panelPart = identity.mid(panel, cfg - panel),
                  cfgPart = identity.mid(cfg, end - cfg), tail = identity.mid(end);
    return {head + cfgPart + tail, head + panelPart + tail, head + tail};
}

struct TickRun {
    bool finished = false;
    uint64_t ticks = 0;
    std::vector<LineStatus> statuses;
    std::vector<monitor::MonitorRecord> records;
    QStringList shown; // the messages the line showed
};

// 100 ticks of the task loop with the live monitor polling every channel of the controller.
TickRun runTicks(const QString& port, int tickCount) {
    ScriptedDialogs dialogs;
    NullProgress progress;
    QObject receiver;
    LineWorker::Options options;
    options.tickMs = 20;
    options.portPath = [port](int) { return port; };
    LineWorker worker(&receiver, dialogs, progress, options);
    TickRun run;
    LineListener listener;
    listener.status = [&](const LineStatus& s) { run.statuses.push_back(s); };
    worker.addListener(listener);
    LineTarget target;
    target.markCode = 2;
    target.protocol = kProtocolZarnet;
    target.zarnetAddress = 1;
    worker.setTarget(target);
    monitor::PollSettings poll;
    poll.channels = monitor::ChannelSelection::allOwnChannels();
    auto session = std::make_shared<monitor::PollerSession>(poll);
    worker.submitPeriodic<monitor::MonitorRecord>(TaskTurn::Visual, monitor::pollJob(session),
                                                  [&](std::vector<monitor::MonitorRecord> batch) {
                                                      for (auto& r : batch)
                                                          run.records.push_back(std::move(r));
                                                  });
    // Even a tick whose every exchange times out ends within ten seconds: a line that makes no tick
    // for longer hangs.
    for (uint64_t seen = 0;;) {
        const bool advanced = waitFor([&] { return worker.ticks() > seen; }, 15000);
        seen = worker.ticks();
        if (!advanced || seen >= uint64_t(tickCount)) {
            run.finished = advanced;
            break;
        }
    }
    worker.stop();
    run.ticks = worker.ticks();
    QCoreApplication::processEvents();
    run.shown = dialogs.shown;
    return run;
}

} // namespace

// Every identity the status shows is the controller's, every value the monitor takes in is one the
// controller can have sent; a tick that lost an exchange counts it.
TEST(Soak, TaskTicks) {
    app();
    constexpr int kTicks = 100;
    QString identity;
    {
        SimProcess sim({"--event-interval", "0"});
        ASSERT_TRUE(sim.started());
        const TickRun clean = runTicks(sim.port(), 5);
        ASSERT_TRUE(clean.finished);
        ASSERT_FALSE(clean.statuses.empty());
        identity = clean.statuses.back().versionPanel;
        ASSERT_EQ(partialIdentities(identity).size(), 3) << identity.toStdString();
        ASSERT_FALSE(clean.records.empty());
        EXPECT_TRUE(whole(clean.records.back()));
    }
    Tally tally("task ticks", kLongRunRates);
    for (const int seed : seeds(1)) {
        SimProcess sim(QStringList{"--event-interval", "0", "--seed", QString::number(seed)} +
                       kLongRunRates.options() + extraSimOptions());
        ASSERT_TRUE(sim.started());
        const TickRun run = runTicks(sim.port(), kTicks);
        std::string why;
        if (!run.finished)
            why =
                "hung after " + std::to_string(run.ticks) + " ticks, status " +
                (run.statuses.empty() ? std::string("none") : (run.statuses.back().linkUp ? "up" : "down")) +
                ", messages: " + run.shown.join(" | ").toStdString();
        // A panel or configuration version whose read failed keeps the text it had, empty before the
        // first read: a shorter text may show until then, never another one.
        const QStringList partial = partialIdentities(identity);
        bool complete = false, incomplete = false;
        for (const LineStatus& s : run.statuses) {
            if (!s.linkUp)
                continue;
            if (s.versionPanel == identity) {
                complete = true;
            } else if (!complete && partial.contains(s.versionPanel)) {
                incomplete = true;
            } else {
                why = "the status shows \"" + s.versionPanel.toStdString() + "\"";
            }
        }
        bool exact = run.records.size() >= size_t(kTicks) && run.statuses.size() == 1 && !incomplete;
        for (const monitor::MonitorRecord& r : run.records) {
            if (const std::string w = wrongValue(r); !w.empty())
                why = w;
            // Every turn runs the whole cycle: a channel it did not bring must have cost a counted
            // failure.
            if (r.steps == monitor::kPollSteps && r.errors == 0 && !whole(r))
                why = "a channel missing without a counted failure";
            exact = exact && whole(r);
        }
        if (!why.empty()) {
            tally.add(seed, Verdict::Wrong, why);
        } else if (exact) {
            tally.add(seed, Verdict::Exact);
        } else {
            const auto wholeTurns = std::count_if(run.records.begin(), run.records.end(), whole);
            tally.add(seed, Verdict::CleanFailure,
                      std::to_string(wholeTurns) + " of " + std::to_string(run.ticks) +
                          " ticks brought a whole cycle; the others counted their failures");
        }
    }
    tally.report();
}
