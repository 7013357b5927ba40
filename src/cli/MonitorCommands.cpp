// The live monitor on the command line, and the outputs set by hand.
#include "CliContext.h"

#include "events/EventDecoder.h"
#include "link/Hooks.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"
#include "monitor/CsvRecorder.h"
#include "monitor/OutputCommands.h"
#include "monitor/Poller.h"
#include "monitor/texts.h"

#include <QFile>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>

namespace vextor::cli {
namespace {

using namespace vextor::monitor;

// Set by Ctrl-C (or a polite kill) and read between the steps of a cycle; a lock-free atomic is safe
// in both.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onInterrupt(int) {
    interrupted.store(true);
}

// The monitor's handlers for as long as it runs. SA_RESTART: a row being written is never cut by the
// signal; the serial port's waits go on after it by themselves.
class InterruptScope {
public:
    InterruptScope() {
        interrupted.store(false);
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptScope() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

QStringList monitorColumns() {
    QStringList columns;
    for (int k = 1; k <= kAnalogInputs; ++k)
        columns << QStringLiteral("AI%1").arg(k);
    for (int k = 1; k <= kAnalogOutputs; ++k)
        columns << QStringLiteral("AO%1").arg(k);
    for (int k = 1; k <= kDiscreteInputs; ++k)
        columns << QStringLiteral("DI%1").arg(k);
    for (int k = 1; k <= kDiscreteOutputs; ++k)
        columns << QStringLiteral("DO%1").arg(k);
    return columns;
}

// The cycle's values; a channel whose read failed in this cycle stays empty rather than repeat an
// older value.
QStringList monitorCells(const MonitorRecord& r) {
    QStringList cells;
    for (const auto& v : r.analogIn)
        cells << (v ? csvNumber(*v) : QString());
    for (const auto& v : r.analogOut)
        cells << (v ? csvNumber(*v) : QString());
    for (const auto& v : r.discreteIn)
        cells << (v ? QString::number(*v ? 1 : 0) : QString());
    for (const auto& v : r.discreteOut)
        cells << (v ? QString::number(*v ? 1 : 0) : QString());
    return cells;
}

// The event list's line, and for a logged event what it means.
QString eventLine(const PolledEvent& e) {
    if (e.kind != PolledEvent::Logged)
        return e.line;
    const events::EventRow row = events::decodeEventRecord(0, events::EventRecord::fromBytes(e.bytes.data()));
    QString text = e.line + QStringLiteral("  ");
    if (!row[events::ColSource].isEmpty())
        text += row[events::ColSource] + QStringLiteral("  ");
    return text + row[events::ColEvent];
}

int monitorCommand(CliContext& ctx, QStringList& args) {
    const auto countText = takeOption(args, QStringLiteral("--count"));
    const auto intervalText = takeOption(args, QStringLiteral("--interval"));
    noExtraArgs(ctx, args);
    const long long count =
        countText ? parseIntArg(*countText, 1, 1'000'000'000, QStringLiteral("--count")) : 0;
    const int64_t intervalMs =
        intervalText ? parseIntArg(*intervalText, 0, 3'600'000, QStringLiteral("--interval")) : 1000;
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;

    InterruptScope interrupts;
    Poller poller(PollSettings{ChannelSelection::allOwnChannels(), {}});
    // Unbuffered over stdout's own stream: every row leaves in one piece as soon as it is made.
    QFile output;
    if (!output.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return ExitUsage;
    CsvRecorder csv;
    if (!csv.start(output, monitorColumns()))
        return ExitUsage;
    int errors = 0;
    const auto keepGoing = [] { return !interrupted.load(); };
    while (keepGoing() && (count == 0 || csv.rows() < count)) {
        const int64_t started = clock().nowMs();
        const MonitorRecord r = poller.runTick(ctx.link, keepGoing);
        errors += r.errors;
        for (const PolledEvent& e : r.events)
            std::fprintf(stderr, "%s\n", eventLine(e).toUtf8().constData());
        // A cycle cut short by Ctrl-C gives no row.
        // A reader that closed the pipe (| head) has all it wanted; any other failed write is told
        // by main.
        if (r.chart && !csv.writeRow(r.time, monitorCells(r)))
            return outputClosed() ? ExitOk : ExitUsage;
        if (count != 0 && csv.rows() >= count)
            break;
        for (int64_t now = clock().nowMs(); keepGoing() && now < started + intervalMs; now = clock().nowMs())
            sleepMs(static_cast<int>(std::min<int64_t>(10, started + intervalMs - now)));
    }
    if (errors > 0)
        fail(monitor_texts::kErrorLabelHead + QString::number(errors));
    return ExitOk;
}

int setOutput(CliContext& ctx, QStringList& args) {
    const auto slaveText = takeOption(args, QStringLiteral("--slave"));
    keepPositionals(ctx, args);
    if (args.size() != 3 || (args[0] != QStringLiteral("do") && args[0] != QStringLiteral("ao")))
        throw UsageError{QStringLiteral("set-output needs do N 0|1, or ao N VOLTS")};
    const bool discrete = args[0] == QStringLiteral("do");
    const auto output = static_cast<uint8_t>(parseIntArg(args[1], 0, 255, QStringLiteral("N")));
    const auto slave = slaveText
                           ? static_cast<uint8_t>(parseIntArg(*slaveText, 1, 255, QStringLiteral("--slave")))
                           : uint8_t{0};
    bool on = false;
    float volts = 0;
    if (discrete) {
        if (args[2] != QStringLiteral("0") && args[2] != QStringLiteral("1"))
            throw UsageError{QStringLiteral("a discrete output takes 0 or 1, not \"%1\"").arg(args[2])};
        on = args[2] == QStringLiteral("1");
    } else {
        double v = 0;
        if (!parseNumber(args[2], v) || !std::isfinite(static_cast<float>(v)))
            throw UsageError{QStringLiteral("VOLTS must be a number, not \"%1\"").arg(args[2])};
        volts = static_cast<float>(v);
    }
    const QString what = discrete ? QStringLiteral("do%1=%2").arg(output).arg(on ? 1 : 0)
                                  : QStringLiteral("ao%1=%2").arg(output).arg(csvNumber(volts));
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    if (slave == 0) {
        const bool ok =
            discrete ? SetOutputState(ctx.link, output, on ? 1 : 0) : SetOutputValue(ctx.link, output, volts);
        if (!ok) {
            fail(QStringLiteral("the controller did not confirm %1").arg(what));
            return ExitNoAnswer;
        }
        out(what);
        return ExitOk;
    }
    const SlaveCommandOutcome o =
        runSlaveCommand(ctx.link, discrete ? slaveOutputStateCommand(slave, output, on)
                                           : slaveOutputValueCommand(slave, output, volts));
    if (o.result == SlaveCommandResult::Failed) {
        fail(QStringLiteral("no answer of slave %1 came through the controller").arg(slave));
        return ExitNoAnswer;
    }
    if (!o.accepted) {
        fail(QStringLiteral("slave %1 did not confirm %2").arg(slave).arg(what));
        return ExitNoAnswer;
    }
    out(QStringLiteral("slave%1 ").arg(slave) + what);
    return ExitOk;
}

} // namespace

std::vector<Command> monitorCommands() {
    return {
        {"monitor", monitorCommand,
         "monitor [--count N] [--interval MS]   the own channels as CSV, one row per cycle (Ctrl-C ends)"},
        {"set-output", setOutput,
         "set-output [--slave A] do N 0|1 | ao N VOLTS   set an output of the controller (or of slave A)"},
    };
}

} // namespace vextor::cli
