// vextorctl: scripted, batch access to one Vextor controller.
#include "cli/CliContext.h"

#include "link/Hooks.h"
#include "link/LocalPath.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

using namespace vextor;
using namespace vextor::cli;

namespace {

std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (auto group : {deviceCommands, scanCommands, configCommands, eventCommands, projectCommands,
                       monitorCommands, forEachCommands})
        for (const Command& c : group())
            all.push_back(c);
    return all;
}

void printHelp() {
    std::printf(
        "usage: vextorctl [global options] COMMAND [arguments]\n\n"
        "Global options:\n"
        "  --port PATH        the serial device (a USB adapter, or the pseudo-terminal of vextor-sim)\n"
        "  --com N            port number 1..99, resolved by the port map (VEXTOR_COM<N>,\n"
        "                     the [ports] section of the settings file, else /dev/ttyUSB<N-1>)\n"
        "  --address A        device-protocol address, 1..127 (default 1)\n"
        "  --project FILE.prj --device NAME   take port, protocol and addresses from a project\n"
        "  --session-key      send a random session key after identifying: later replies are scrambled\n"
        "  --stats            exchanges, failures, bytes each way and elapsed ms on stderr at the end\n"
        "  --progress         step line and percent of long transfers on stderr\n"
        "  --trace            every frame sent and received on stderr: ms, tx or rx, hex bytes,\n"
        "                     command and, for a reply, good, bad CRC, wrong address, short,\n"
        "                     bad length or no reply (\", scrambled\" in a session with a key)\n"
        "  --retries N        further attempts of identification, the version read and the other\n"
        "                     single requests around a transfer (default 3, 0..100)\n\n"
        "Commands:\n");
    for (const Command& c : allCommands())
        std::printf("  %s\n", c.usage);
    std::printf("\nExit codes: 0 success; 1 the controller did not answer or refused; 2 bad usage or input\n"
                "(nothing sent), or a file or the output could not be written; 3 the port cannot be opened\n"
                "or is busy. diff: 0 the configurations are equal, 1 they differ, 2 bad usage or a file\n"
                "that is not a configuration, 3 the port, 4 the controller did not answer or refused.\n");
}

} // namespace

int main(int argc, char** argv) {
    // Past a file-size limit a write is to fail with EFBIG, which the file and output checks
    // report, instead of killing the process halfway through a file.
    std::signal(SIGXFSZ, SIG_IGN);
    // A closed pipe on stdout is to end the output quietly, not to kill the process: the write
    // fails with EPIPE and the command ends there.
    std::signal(SIGPIPE, SIG_IGN);
    // File and port names reach the system as the bytes given, UTF-8 or not: the words are taken
    // from argv itself, before Qt converts them (and puts U+FFFD for a byte that is not UTF-8).
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(pathFromLocalBytes(argv[i]));
    QCoreApplication app(argc, argv);
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printHelp();
        if (!outputWritten())
            return ExitUsage;
        return args.isEmpty() ? ExitUsage : ExitOk;
    }
    CliContext ctx;
    ctx.startMs = systemClock().nowMs();
    try {
        splitAtSeparator(ctx, args);
        takeCommandFlags(ctx, args);
        parseGlobalOptions(ctx, args);
        // The command is the first word that names one; its own options may stand before it.
        const std::vector<Command> commands = allCommands();
        for (int i = 0; i < args.size(); ++i) {
            for (const Command& c : commands) {
                if (args[i] != QLatin1String(c.name))
                    continue;
                args.removeAt(i);
                const int rc = c.run(ctx, args);
                if (ctx.stats)
                    ctx.printStats();
                ctx.zarnetPort.close();
                ctx.modbusPort.close();
                // Output that did not arrive is a failure, even when the command itself went well.
                if (!outputWritten())
                    return rc == ExitOk ? ExitUsage : rc;
                return rc;
            }
        }
        if (args.isEmpty())
            throw UsageError{QStringLiteral("no command given (see --help)")};
        const QString name = args.first();
        throw UsageError{QStringLiteral("unknown command \"%1\" (see --help)").arg(name)};
    } catch (const UsageError& e) {
        fail(e.text);
        return ExitUsage;
    }
}
