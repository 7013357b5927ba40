#pragma once
// Starts the virtual controller as a real process on a pseudo-terminal and runs vextorctl against
// it: the end-to-end harness of the command-line tool and the desktop program's task loop.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vextor::testing {

QString binPath(const QString& program); // build/<dir>/bin/<program>

class SimProcess {
public:
    explicit SimProcess(const QStringList& options = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return !port_.isEmpty(); }
    QString port() const { return port_; }
    // Stops the sim with SIGTERM and waits; afterwards files it writes at exit (--dump-memory) exist.
    void stop();

private:
    QProcess process_;
    QString port_;
};

struct CtlResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CtlResult runCtl(const QStringList& args, int timeoutMs = 120000);

} // namespace vextor::testing
