// for-each: one command on every device of a project, each in a vextorctl of its own, then a table.
#include "CliContext.h"
#include "link/LocalPath.h"

#include "link/AddressLimits.h"
#include "project/ProjectReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace vextor::cli {
namespace {

struct SubCommand {
    const char* name;
    const char* extension; // nullptr: the command writes no file
};
constexpr SubCommand kSubCommands[] = {{"read-config", "bin"}, {"read-events", "blb"}, {"identify", nullptr}};

// A file name made from a device name: no path separators, no characters other systems refuse in a
// name, no control characters, no leading dot (a hidden file) and a bounded length. Names are free
// text, so two devices may come out alike: a later one gets "-2", "-3"... Names are compared without
// case, so the files stay apart on a file system that ignores case too.
QString safeFileName(const QString& deviceName, const char* extension, QSet<QString>& taken) {
    QString base;
    for (const QChar c : deviceName) {
        const bool control =
            c.category() == QChar::Other_Control || c.category() == QChar::Other_Format || c.isSurrogate();
        base += control || QStringLiteral("/\\:*?\"<>|").contains(c) ? QLatin1Char('_') : c;
    }
    base = base.trimmed();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    while (base.endsWith(QLatin1Char('.')) || base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    // 100 characters stay within the 255 bytes a name may take, Cyrillic included.
    base = base.left(100).trimmed();
    if (base.isEmpty())
        base = QStringLiteral("device");
    const QString suffix = extension ? QLatin1Char('.') + QLatin1String(extension) : QString();
    QString name = base + suffix;
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
        name = base + QLatin1Char('-') + QString::number(n) + suffix;
    taken.insert(name.toCaseFolded());
    return name;
}

QString resultText(int exitCode) {
    switch (exitCode) {
    case ExitOk:
        return QStringLiteral("ok");
    case ExitNoAnswer:
        return QStringLiteral("no answer");
    case ExitUsage:
        return QStringLiteral("file error");
    case ExitPort:
        return QStringLiteral("port error");
    default:
        return QStringLiteral("failed");
    }
}

struct DeviceRun {
    DeviceLinkInfo device;
    QString portPath;
    QString file; // empty for a command that writes none
    QStringList args;
    QString refused;   // a project value no run can use: the device fails without a run
    int exitCode = -1; // -1: crashed or never started
    std::unique_ptr<QProcess> process;
};

QString heading(const DeviceRun& run) {
    return QStringLiteral("== %1 (address %2)")
        .arg(escapeControls(run.device.name))
        .arg(run.device.zarnetAddress);
}

void start(DeviceRun& run, bool capture) {
    run.process = std::make_unique<QProcess>();
    run.process->setProcessChannelMode(capture ? QProcess::SeparateChannels : QProcess::ForwardedChannels);
    run.process->setInputChannelMode(QProcess::ManagedInputChannel);
    run.process->start(QCoreApplication::applicationFilePath(), run.args);
    run.process->closeWriteChannel();
}

void collect(DeviceRun& run, bool captured) {
    QProcess& p = *run.process;
    p.waitForFinished(-1);
    run.exitCode =
        p.exitStatus() == QProcess::NormalExit && p.error() != QProcess::FailedToStart ? p.exitCode() : -1;
    if (p.error() == QProcess::FailedToStart)
        fail(QStringLiteral("%1 could not be started: %2")
                 .arg(QCoreApplication::applicationFilePath(), p.errorString()));
    if (!captured)
        return;
    // The output of one device stays together, whichever device ends first.
    out(heading(run));
    const QByteArray o = p.readAllStandardOutput(), e = p.readAllStandardError();
    writeOut(o.constData(), static_cast<size_t>(o.size()));
    std::fwrite(e.constData(), 1, static_cast<size_t>(e.size()), stderr);
    std::fflush(stderr);
}

void refuse(DeviceRun& run, bool captured) {
    if (captured)
        out(heading(run));
    fail(run.refused);
    run.exitCode = ExitUsage;
}

// Devices on one port are one line: their runs go one after another. With parallel, the lines run
// at once, each run's output printed whole when it ends.
void runAll(std::vector<DeviceRun>& runs, bool parallel) {
    if (!parallel) {
        for (DeviceRun& run : runs) {
            if (!run.refused.isEmpty()) {
                out(heading(run));
                refuse(run, false);
                continue;
            }
            out(heading(run));
            std::fflush(stdout);
            start(run, false);
            collect(run, false);
        }
        return;
    }
    std::map<QString, std::vector<DeviceRun*>> lines;
    for (DeviceRun& run : runs)
        lines[run.portPath].push_back(&run);
    std::map<QString, size_t> next;
    std::vector<DeviceRun*> running;
    auto startNext = [&](const QString& port) {
        std::vector<DeviceRun*>& line = lines[port];
        while (next[port] < line.size()) {
            DeviceRun* run = line[next[port]++];
            if (!run->refused.isEmpty()) {
                refuse(*run, true);
                continue;
            }
            start(*run, true);
            running.push_back(run);
            return;
        }
    };
    for (const auto& [port, line] : lines)
        startNext(port);
    while (!running.empty()) {
        for (size_t i = 0; i < running.size(); ++i) {
            DeviceRun* run = running[i];
            if (run->process->state() != QProcess::NotRunning && !run->process->waitForFinished(20))
                continue;
            collect(*run, true);
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
            startNext(run->portPath);
            break;
        }
    }
}

QString padded(const QString& text, qsizetype width) {
    return text + QString(std::max<qsizetype>(0, width - text.size()) + 2, QLatin1Char(' '));
}

void printSummary(const std::vector<DeviceRun>& runs) {
    QStringList names{QStringLiteral("device")}, addresses{QStringLiteral("address")},
        results{QStringLiteral("result")}, files{QStringLiteral("file")};
    for (const DeviceRun& run : runs) {
        names << escapeControls(run.device.name);
        addresses << QString::number(run.device.zarnetAddress);
        results << (run.refused.isEmpty() ? resultText(run.exitCode) : QStringLiteral("refused"));
        files << (run.file.isEmpty() ? QStringLiteral("-") : escapeControls(run.file));
    }
    auto widest = [](const QStringList& column) {
        qsizetype w = 0;
        for (const QString& s : column)
            w = std::max(w, s.size());
        return w;
    };
    const qsizetype wName = widest(names), wAddress = widest(addresses), wResult = widest(results);
    out(QString());
    for (qsizetype i = 0; i < names.size(); ++i)
        out(padded(names[i], wName) + padded(addresses[i], wAddress) + padded(results[i], wResult) +
            files[i]);
}

int forEach(CliContext& ctx, QStringList& args) {
    const bool parallel = takeFlag(args, QStringLiteral("--parallel"));
    if (args.isEmpty())
        throw UsageError{
            QStringLiteral("for-each needs a command: read-config DIR, read-events DIR or identify")};
    const QString name = args.takeFirst();
    const SubCommand* sub = nullptr;
    for (const SubCommand& s : kSubCommands)
        if (name == QLatin1String(s.name))
            sub = &s;
    if (!sub)
        throw UsageError{
            QStringLiteral("for-each runs read-config, read-events or identify, not \"%1\"").arg(name)};
    // The command's own options are checked here, before any device is asked.
    QStringList ownOptions;
    if (name == QStringLiteral("read-events")) {
        if (auto pacing = takeOption(args, QStringLiteral("--pacing"))) {
            if (*pacing != QStringLiteral("task") && *pacing != QStringLiteral("device"))
                throw UsageError{QStringLiteral("--pacing takes task or device")};
            ownOptions << QStringLiteral("--pacing") << *pacing;
        }
        if (takeFlag(args, QStringLiteral("--fast")))
            ownOptions << QStringLiteral("--fast");
    }
    keepPositionals(ctx, args);
    QString dir;
    if (sub->extension) {
        if (args.size() != 1)
            throw UsageError{QStringLiteral("for-each %1 needs exactly one DIR").arg(name)};
        dir = args.takeFirst();
    } else if (!args.isEmpty()) {
        throw UsageError{QStringLiteral("unexpected argument \"%1\"").arg(args.first())};
    }
    if (ctx.projectPath.isEmpty())
        throw UsageError{QStringLiteral("for-each needs --project FILE.prj (and no --device)")};
    if (ctx.addressGiven)
        throw UsageError{
            QStringLiteral("for-each takes each device's address from the project: no --address")};
    if (!dir.isEmpty()) {
        // The runs get their names as text: a name that is not UTF-8 would not reach them whole.
        if (hasKeptBytes(dir))
            throw UsageError{QStringLiteral("for-each needs a directory name in UTF-8")};
        if (QFileInfo::exists(dir) && !QFileInfo(dir).isDir())
            throw UsageError{QStringLiteral("%1 is not a directory").arg(dir)};
        if (!QDir().mkpath(dir)) {
            fail(QStringLiteral("the directory %1 could not be created").arg(dir));
            return ExitUsage;
        }
    }

    const std::vector<DeviceLinkInfo> devices = projectDevices(loadProject(ctx.projectPath));
    if (devices.empty())
        throw UsageError{QStringLiteral("%1 holds no devices").arg(ctx.projectPath)};

    QStringList global;
    if (ctx.sessionKey)
        global << QStringLiteral("--session-key");
    if (ctx.stats)
        global << QStringLiteral("--stats");
    if (ctx.progress)
        global << QStringLiteral("--progress");
    global << QStringLiteral("--retries") << QString::number(ctx.retries);

    std::vector<DeviceRun> runs(devices.size());
    QSet<QString> taken;
    for (size_t i = 0; i < devices.size(); ++i) {
        DeviceRun& run = runs[i];
        run.device = devices[i];
        const DeviceLinkInfo& d = run.device;
        // An explicit port wins over the project's, as for a single device.
        if (!ctx.portPath.isEmpty())
            run.portPath = ctx.portPath;
        else if (d.portNumber >= kMinPortNumber && d.portNumber <= kMaxPortNumber)
            run.portPath = resolvePortPath(d.portNumber);
        else
            run.refused = QStringLiteral("%1 gives the port number %2: it must be from %3 to %4")
                              .arg(ctx.projectPath)
                              .arg(d.portNumber)
                              .arg(kMinPortNumber)
                              .arg(kMaxPortNumber);
        if (d.zarnetAddress < kMinZarnetAddress || d.zarnetAddress > kMaxZarnetLinkAddress)
            run.refused = QStringLiteral("%1 gives \"%2\" the address %3: it must be from %4 to %5")
                              .arg(ctx.projectPath, d.name)
                              .arg(d.zarnetAddress)
                              .arg(kMinZarnetAddress)
                              .arg(kMaxZarnetLinkAddress);
        if (sub->extension)
            run.file = QDir(dir).filePath(safeFileName(d.name, sub->extension, taken));
        run.args = global;
        run.args << QStringLiteral("--port") << run.portPath << QStringLiteral("--address")
                 << QString::number(d.zarnetAddress) << name << ownOptions;
        if (!run.file.isEmpty())
            run.args << QStringLiteral("--") << run.file;
    }

    runAll(runs, parallel);
    printSummary(runs);
    for (const DeviceRun& run : runs)
        if (run.exitCode != ExitOk)
            return ExitNoAnswer;
    return ExitOk;
}

} // namespace

std::vector<Command> forEachCommands() {
    return {{"for-each", forEach,
             "for-each [--parallel] read-config DIR | read-events [--pacing P] [--fast] DIR | identify\n"
             "                                every device of --project in turn, each file named after "
             "its device;\n"
             "                                --parallel runs devices on different ports at once"}};
}

} // namespace vextor::cli
