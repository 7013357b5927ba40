#pragma once
// What every vextorctl command shares: the parsed global options, the open port and the link.
#include "link/FrameTap.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/UserDialogs.h"
#include "link/ZarnetLink.h"
#include "project/ProjectModel.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

namespace vextor::cli {

enum Exit {
    ExitOk = 0,
    ExitNoAnswer = 1,
    ExitUsage = 2,
    ExitPort = 3,
    // diff: 1 says the configurations differ, so a controller that did not answer needs a code of
    // its own, or a script would take a failed read for a difference.
    ExitDiffers = 1,
    ExitDiffNoAnswer = 4,
};

// A usage error: printed with the command's name, exit 2, nothing sent.
struct UsageError {
    QString text;
};

struct CliContext {
    QString portPath; // from --port, --com or the project
    // --project without --device: a project whose every device for-each works on.
    QString projectPath;
    bool addressGiven = false; // --address on the command line
    int comNumber = 0;         // from --com or the project, for messages
    uint8_t address = 1;       // device-protocol address
    bool sessionKey = false;
    bool stats = false;
    // --trace: every frame sent and received, one line each on stderr.
    std::unique_ptr<FrameTap> trace;
    bool progress = false;
    int modbusAddress = -1; // from the project, or the command's --modbus-address
    int mbParams = -1;
    // Further attempts of the single requests around a transfer (identification, the version
    // read): a lost reply there should not end a long run. The transfers keep their own rule.
    int retries = 3;

    PosixSerialPort zarnetPort{PortRole::Zarnet};
    PosixSerialPort modbusPort{PortRole::Modbus};
    ZarnetLink link{&zarnetPort};
    ModbusMaster modbus{&modbusPort};
    StderrDialogs dialogs;
    int64_t startMs = 0;
    // The words after "--": file names that may begin with a dash, never taken as options.
    QStringList afterSeparator;
    // Flags a command took right after its name before the global options were read (takeCommandFlags).
    QStringList commandFlags;

    // Opens the device-protocol port; prints the reason and returns false when it cannot. No port
    // given at all is a usage error (thrown).
    bool openZarnet();
    bool openModbus(uint8_t mbParamsByte);
    // Runs a request that may be repeated without harm until it succeeds: 1 + retries attempts,
    // each after the transfers' pause.
    bool attempt(const std::function<bool()>& request) const;
    // Opens the port and identifies the controller (type, version), then sends a session key
    // when asked. Prints the failure.
    bool connect();
    void printStats() const;
    // Attaches the tap that writes each frame's line to stderr.
    void startTrace();
};

// Prints one line on stderr.
void fail(const QString& text);
// Prints one line on stdout (UTF-8).
void out(const QString& text);
// Writes bytes to stdout; false when they did not all go (the reason is kept for outputWritten).
bool writeOut(const char* data, size_t size);
// stdout for writers that take a QIODevice, with the same error keeping as out().
class StdoutDevice : public QIODevice {
public:
    StdoutDevice() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;
};
// Flushes stdout; false (with the reason printed) when anything written to it was lost, such as on
// a full disk or past a file-size limit.
bool outputWritten();
// The reader of stdout closed it (a pipe into head): a command stops writing and ends well.
bool outputClosed();

// Argument helpers: options after the command name.
bool takeFlag(QStringList& args, const QString& name);
std::optional<QString> takeOption(QStringList& args, const QString& name);
long long parseIntArg(const QString& text, long long min, long long max, const QString& what);
// Once a command has taken its own options: a word left that begins with "--" is an unknown option
// (a usage error, never a file name); then the words after "--" join the arguments.
void keepPositionals(const CliContext& ctx, QStringList& args);
// keepPositionals, then no argument at all.
void noExtraArgs(const CliContext& ctx, QStringList& args);
// Splits the command line at the first "--" into ctx.afterSeparator.
void splitAtSeparator(CliContext& ctx, QStringList& args);
// "diff --device FILE.bin" compares with the controller, while "--project P --device NAME" picks a
// project's device: the first --device after the word diff is diff's own and goes into
// ctx.commandFlags before the global options are read. The project's --device comes before diff.
void takeCommandFlags(CliContext& ctx, QStringList& args);

using CommandFn = int (*)(CliContext&, QStringList&);
struct Command {
    const char* name;
    CommandFn run;
    const char* usage;
};

// The commands of each area, collected by main.
std::vector<Command> deviceCommands();
std::vector<Command> configCommands();
std::vector<Command> eventCommands();
std::vector<Command> projectCommands();
std::vector<Command> monitorCommands();
std::vector<Command> scanCommands();
std::vector<Command> forEachCommands();

// The project file read for a command; an unusable one is a usage error, a short one a warning.
ProjectModel loadProject(const QString& path);
// Names and paths are free text: control characters are shown escaped.
QString escapeControls(const QString& line);

// --project FILE.prj --device NAME: port, addresses and Modbus settings from a project. The values
// are range-checked like the options; the device-protocol address only when --address does not
// replace it.
void applyProjectOptions(CliContext& ctx, QStringList& args, bool addressGiven);

// Reads the global options; throws UsageError.
void parseGlobalOptions(CliContext& ctx, QStringList& args);

} // namespace vextor::cli
