#include "CliContext.h"

#include "link/Hooks.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"

#include <cstdio>
#include <random>

namespace vextor::cli {

void fail(const QString& text) {
    std::fprintf(stderr, "vextorctl: %s\n", text.toUtf8().constData());
}
void out(const QString& text) {
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

bool takeFlag(QStringList& args, const QString& name) {
    return args.removeAll(name) > 0;
}

std::optional<QString> takeOption(QStringList& args, const QString& name) {
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size())
                throw UsageError{name + QStringLiteral(" needs a value")};
            const QString v = args[i + 1];
            args.remove(i, 2);
            return v;
        }
        if (args[i].startsWith(name + QLatin1Char('='))) {
            const QString v = args[i].mid(name.size() + 1);
            args.removeAt(i);
            return v;
        }
    }
    return std::nullopt;
}

long long parseIntArg(const QString& text, long long min, long long max, const QString& what) {
    bool ok = false;
    const long long v = text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
                            ? text.mid(2).toLongLong(&ok, 16)
                            : text.toLongLong(&ok, 10);
    if (!ok || v < min || v > max)
        throw UsageError{QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                             .arg(what)
                             .arg(min)
                             .arg(max)
                             .arg(text)};
    return v;
}

void parseGlobalOptions(CliContext& ctx, QStringList& args) {
    if (auto p = takeOption(args, QStringLiteral("--port")))
        ctx.portPath = *p;
    if (auto c = takeOption(args, QStringLiteral("--com"))) {
        ctx.comNumber = static_cast<int>(parseIntArg(*c, 1, 99, QStringLiteral("--com")));
        ctx.portPath = resolvePortPath(ctx.comNumber);
    }
    const auto addressText = takeOption(args, QStringLiteral("--address"));
    ctx.sessionKey = takeFlag(args, QStringLiteral("--session-key"));
    ctx.stats = takeFlag(args, QStringLiteral("--stats"));
    ctx.progress = takeFlag(args, QStringLiteral("--progress"));
    // After --port: an explicit port wins over the project's port number.
    applyProjectOptions(ctx, args);
    if (addressText)
        ctx.address = static_cast<uint8_t>(parseIntArg(*addressText, 1, 127, QStringLiteral("--address")));
}

bool CliContext::openZarnet() {
    if (portPath.isEmpty()) {
        fail(QStringLiteral("no port given: use --port PATH or --com N"));
        return false;
    }
    if (zarnetPort.open(portPath, LineSettings{9600, 0, 0}) != PortOk) {
        fail(describeOpenFailure(zarnetPort, portPath));
        return false;
    }
    link.DeviceAddress = address;
    return true;
}

bool CliContext::openModbus(uint8_t mbParamsByte) {
    if (portPath.isEmpty()) {
        fail(QStringLiteral("no port given: use --port PATH or --com N"));
        return false;
    }
    if (modbusPort.open(portPath, modbusLineSettings(mbParamsByte)) != PortOk) {
        fail(describeOpenFailure(modbusPort, portPath));
        return false;
    }
    return true;
}

bool CliContext::connect() {
    uint8_t type = 0, build = 0;
    uint16_t version = 0;
    if (!GetDeviceVersion(link, 0, type, version, build)) {
        fail(QStringLiteral("no answer from address %1 on %2").arg(address).arg(portPath));
        return false;
    }
    link.DeviceType = type;
    link.FirmwareVersion = version;
    link.FirmwareBuild = build;
    if (sessionKey) {
        static std::mt19937 generator{std::random_device{}()};
        const uint8_t key = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(generator));
        if (!SendSessionKey(link, key)) {
            fail(QStringLiteral("the controller did not accept the session key"));
            return false;
        }
    }
    return true;
}

void CliContext::printStats() const {
    std::fprintf(stderr, "exchanges=%llu failed=%llu bytes_out=%llu bytes_in=%llu elapsed_ms=%lld\n",
                 static_cast<unsigned long long>(link.stats.exchanges),
                 static_cast<unsigned long long>(link.stats.failures),
                 static_cast<unsigned long long>(link.stats.bytesOut),
                 static_cast<unsigned long long>(link.stats.bytesIn),
                 static_cast<long long>(systemClock().nowMs() - startMs));
}

} // namespace vextor::cli
