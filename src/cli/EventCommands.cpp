// Event log reading and decoding.
#include "CliContext.h"
#include "CliProgress.h"

#include "events/EventFile.h"
#include "events/EventReader.h"

namespace vextor::cli {
namespace {

int readEvents(CliContext& ctx, QStringList& args) {
    const auto pacingText = takeOption(args, QStringLiteral("--pacing")).value_or(QStringLiteral("task"));
    if (pacingText != QStringLiteral("task") && pacingText != QStringLiteral("device"))
        throw UsageError{QStringLiteral("--pacing takes task or device")};
    const auto mode = takeFlag(args, QStringLiteral("--fast")) ? events::EventReadMode::Fast
                                                               : events::EventReadMode::PerRecord;
    keepPositionals(ctx, args);
    if (args.size() != 1)
        throw UsageError{QStringLiteral("read-events needs exactly one FILE.blb")};
    const QString path = args.takeFirst();
    const auto pacing = pacingText == QStringLiteral("task") ? events::EventReadPacing::ProjectTask
                                                             : events::EventReadPacing::DeviceWindow;
    if (!ctx.openZarnet())
        return ExitPort;
    if (!ctx.connect())
        return ExitNoAnswer;
    CliProgress progress(ctx.progress);
    const events::EventReadResult r = events::readEventLog(ctx.link, path, pacing, progress, {}, mode);
    const QString message = events::eventReadMessage(r, pacing).trimmed();
    switch (r.status) {
    case events::EventReadStatus::Complete:
        out(message.isEmpty() ? QStringLiteral("records=%1").arg(r.recordsRead) : message);
        return ExitOk;
    case events::EventReadStatus::GaveUp:
        fail(QStringLiteral("slot %1 did not answer: %2 records kept in %3%4")
                 .arg(r.failedSlot)
                 .arg(r.recordsRead)
                 .arg(r.fileReplaced ? path : QStringLiteral("no file (the old one, if any, is untouched)"))
                 .arg(message.isEmpty() ? QString() : QStringLiteral(" (") + message + QLatin1Char(')')));
        return ExitNoAnswer;
    case events::EventReadStatus::FileError:
        fail(QStringLiteral("the event file %1 could not be written: %2; the old file, if any, is untouched")
                 .arg(path, r.errorText));
        return ExitUsage;
    }
    return ExitNoAnswer;
}

int showEvents(CliContext& ctx, QStringList& args) {
    const bool csv = takeFlag(args, QStringLiteral("--csv"));
    keepPositionals(ctx, args);
    if (args.size() != 1)
        throw UsageError{QStringLiteral("events needs exactly one FILE.blb")};
    QString error;
    const auto file = events::EventFile::load(args.first(), &error);
    if (!file) {
        // The reason alone ("No such file or directory") would not say which name was meant.
        fail(QStringLiteral("%1: %2").arg(args.first(), error));
        return ExitUsage;
    }
    // A failed write stops the table; main reports the reason.
    StdoutDevice stdoutDevice;
    const bool ok =
        csv ? events::writeEventCsv(*file, stdoutDevice) : events::writeEventTable(*file, stdoutDevice);
    return ok || outputClosed() ? ExitOk : ExitUsage;
}

} // namespace

std::vector<Command> eventCommands() {
    return {
        {"read-events", readEvents,
         "read-events [--pacing task|device] [--fast] FILE.blb   read the event log into an event file\n"
         "                                (--fast: 27 records per request, the same file)"},
        {"events", showEvents, "events [--csv] FILE.blb       the decoded events of an event file"},
    };
}

} // namespace vextor::cli
