#include "SimProcess.h"

#include <csignal>

namespace vextor::testing {

QString binPath(const QString& program) {
    return QStringLiteral(VEXTOR_BIN_DIR "/") + program;
}

SimProcess::SimProcess(const QStringList& options) {
    process_.setProgram(binPath(QStringLiteral("vextor-sim")));
    process_.setArguments(options);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
    if (!process_.waitForStarted(5000))
        return;
    // The first line names the pseudo-terminal.
    while (process_.state() == QProcess::Running && !process_.canReadLine())
        process_.waitForReadyRead(5000);
    const QString line = QString::fromUtf8(process_.readLine()).trimmed();
    if (line.startsWith(QStringLiteral("PORT ")))
        port_ = line.mid(5);
}

void SimProcess::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

SimProcess::~SimProcess() {
    stop();
}

CtlResult runCtl(const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(binPath(QStringLiteral("vextorctl")), args);
    CtlResult r;
    if (!p.waitForStarted(5000))
        return r;
    p.waitForFinished(timeoutMs);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace vextor::testing
