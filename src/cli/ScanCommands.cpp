// Finding the controllers on the line: every address of a range asked who it is.
#include "CliContext.h"

#include "link/AddressLimits.h"
#include "link/ControllerMemory.h"
#include "link/ControllerScan.h"
#include "link/Hooks.h"
#include "link/NumericConversions.h"

#include <cstdio>
#include <unistd.h>

namespace vextor::cli {
namespace {

// The longest time-out a probe may be given: a line whose controllers wait longer than this before
// they reply is better served one address at a time with identify.
constexpr int kMaxScanTimeoutMs = 2000;
constexpr int kMinScanTimeoutMs = 20;

QString foundLine(const FoundController& c) {
    const QString cfg = !c.cfgVersion                    ? QStringLiteral("unread")
                        : *c.cfgVersion == kNoCfgVersion ? QStringLiteral("none")
                                                         : formatHundredths(*c.cfgVersion);
    return QStringLiteral("address=%1 type=%2 firmware=%3 build=%4 config=%5")
        .arg(c.address)
        .arg(c.type)
        .arg(formatHundredths(c.firmware))
        .arg(c.build)
        .arg(cfg);
}

// A bar redrawn in place on the terminal; the finds go to stdout between two drawings.
class ScanBar {
public:
    explicit ScanBar(int total) : total_(total), enabled_(isatty(STDERR_FILENO) == 1) {}
    void draw(int asked, int address) {
        if (!enabled_)
            return;
        constexpr int kWidth = 32;
        const int filled = asked * kWidth / total_;
        std::fprintf(stderr, "\r[%s%s] %3d/%d  address %d", QByteArray(filled, '#').constData(),
                     QByteArray(kWidth - filled, '.').constData(), asked, total_, address);
        std::fflush(stderr);
    }
    void clear() {
        if (!enabled_)
            return;
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }

private:
    int total_;
    bool enabled_;
};

int scan(CliContext& ctx, QStringList& args) {
    const auto from = takeOption(args, QStringLiteral("--from"));
    const auto to = takeOption(args, QStringLiteral("--to"));
    const auto timeout = takeOption(args, QStringLiteral("--timeout"));
    noExtraArgs(ctx, args);
    ScanOptions options;
    if (from)
        options.first = static_cast<int>(
            parseIntArg(*from, kMinZarnetAddress, kMaxZarnetLinkAddress, QStringLiteral("--from")));
    if (to)
        options.last = static_cast<int>(
            parseIntArg(*to, kMinZarnetAddress, kMaxZarnetLinkAddress, QStringLiteral("--to")));
    if (!validScanRange(options.first, options.last))
        throw UsageError{QStringLiteral("--from %1 is past --to %2").arg(options.first).arg(options.last)};
    if (timeout)
        options.timeouts.constant = static_cast<uint32_t>(
            parseIntArg(*timeout, kMinScanTimeoutMs, kMaxScanTimeoutMs, QStringLiteral("--timeout")));
    options.retries = ctx.retries;
    if (!ctx.openZarnet())
        return ExitPort;

    ControllerScan scan(options);
    ScanBar bar(scan.total());
    bar.draw(0, options.first);
    scan.onFound = [&](const FoundController& c) {
        bar.clear();
        out(foundLine(c));
        std::fflush(stdout);
    };
    // The address the bar names is the one being asked now.
    scan.onAsked = [&](int address) {
        bar.draw(scan.asked(), scan.finished() ? address : scan.nextAddress());
    };
    const int64_t start = systemClock().nowMs();
    scan.step(ctx.link);
    bar.clear();

    const QString range = QStringLiteral("%1..%2").arg(options.first).arg(options.last);
    if (scan.strayReplies() > 0)
        fail(QStringLiteral("%1 replies came from another address than the one asked and are not listed "
                            "(a controller slower than the --timeout of %2 ms, or two on one address)")
                 .arg(scan.strayReplies())
                 .arg(options.timeouts.constant));
    if (scan.found().empty()) {
        fail(QStringLiteral("no controller answered at %1 on %2").arg(range, ctx.portPath));
        return ExitNoAnswer;
    }
    if (ctx.progress || isatty(STDERR_FILENO) == 1)
        std::fprintf(stderr, "%d found at %s in %.1f s\n", int(scan.found().size()),
                     range.toUtf8().constData(), double(systemClock().nowMs() - start) / 1000.0);
    return ExitOk;
}

} // namespace

std::vector<Command> scanCommands() {
    return {
        {"scan", scan,
         "scan [--from A] [--to B] [--timeout MS]   find the controllers on the line (addresses 1..127)"},
    };
}

} // namespace vextor::cli
