#include "CliContext.h"
#include "link/LocalPath.h"
#include "link/NetworkPort.h"

#include "link/AddressLimits.h"
#include "link/Hooks.h"
#include "link/NumericConversions.h"
#include "link/ZarnetCommands.h"

#include "config/ConfigTransfer.h"

#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

namespace vextor::cli {

void fail(const QString& text) {
    std::fprintf(stderr, "vextorctl: %s\n", localPathBytes(text).constData());
}
namespace {
int outputErrno = 0; // the first failed write to stdout
} // namespace

bool writeOut(const char* data, size_t size) {
    errno = 0;
    if (std::fwrite(data, 1, size, stdout) == size)
        return true;
    if (outputErrno == 0)
        outputErrno = errno != 0 ? errno : EIO;
    return false;
}

void out(const QString& text) {
    const QByteArray bytes = localPathBytes(text) + '\n';
    writeOut(bytes.constData(), static_cast<size_t>(bytes.size()));
}

qint64 StdoutDevice::writeData(const char* data, qint64 size) {
    return writeOut(data, static_cast<size_t>(size)) ? size : -1;
}

bool outputClosed() {
    return outputErrno == EPIPE;
}

bool outputWritten() {
    errno = 0;
    if (std::fflush(stdout) != 0 && outputErrno == 0)
        outputErrno = errno != 0 ? errno : EIO;
    if (outputErrno == 0 && !std::ferror(stdout))
        return true;
    // A reader that has seen enough (| head) closed the pipe: that is the end of the output, as for
    // any other Unix tool, and no failure.
    if (outputClosed())
        return true;
    fail(QStringLiteral("the output could not be written: %1")
             .arg(QString::fromLocal8Bit(std::strerror(outputErrno != 0 ? outputErrno : EIO))));
    return false;
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

void keepPositionals(const CliContext& ctx, QStringList& args) {
    for (const QString& a : args)
        if (a.startsWith(QStringLiteral("--")))
            throw UsageError{QStringLiteral("unknown option \"%1\" (a file name that begins with a dash goes "
                                            "after \"--\")")
                                 .arg(a)};
    args += ctx.afterSeparator;
}

void noExtraArgs(const CliContext& ctx, QStringList& args) {
    keepPositionals(ctx, args);
    if (!args.isEmpty())
        throw UsageError{QStringLiteral("unexpected argument \"%1\"").arg(args.first())};
}

void splitAtSeparator(CliContext& ctx, QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--"));
    if (at < 0)
        return;
    ctx.afterSeparator = args.mid(at + 1);
    args = args.mid(0, at);
}

void takeCommandFlags(CliContext& ctx, QStringList& args) {
    // The word "diff" that is the command, not the value of a global option (a device named diff).
    static const QStringList takesValue{QStringLiteral("--port"),    QStringLiteral("--com"),
                                        QStringLiteral("--address"), QStringLiteral("--retries"),
                                        QStringLiteral("--project"), QStringLiteral("--device")};
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] != QLatin1String("diff") || (i > 0 && takesValue.contains(args[i - 1])))
            continue;
        const qsizetype flag = args.indexOf(QStringLiteral("--device"), i + 1);
        if (flag >= 0) {
            args.removeAt(flag);
            ctx.commandFlags << QStringLiteral("--device");
        }
        return;
    }
}

long long parseIntArg(const QString& text, long long min, long long max, const QString& what) {
    // Digits only: no sign, no blanks, no other base.
    static const QRegularExpression shape(QStringLiteral("^(0[xX][0-9A-Fa-f]{1,8}|[0-9]{1,12})$"));
    bool ok = shape.match(text).hasMatch();
    const long long v = !ok ? 0
                        : text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
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
        ctx.comNumber =
            static_cast<int>(parseIntArg(*c, kMinPortNumber, kMaxPortNumber, QStringLiteral("--com")));
        ctx.portPath = resolvePortPath(ctx.comNumber);
    }
    const auto addressText = takeOption(args, QStringLiteral("--address"));
    ctx.sessionKey = takeFlag(args, QStringLiteral("--session-key"));
    ctx.stats = takeFlag(args, QStringLiteral("--stats"));
    ctx.progress = takeFlag(args, QStringLiteral("--progress"));
    if (takeFlag(args, QStringLiteral("--trace")))
        ctx.startTrace();
    if (auto r = takeOption(args, QStringLiteral("--retries")))
        ctx.retries = static_cast<int>(parseIntArg(*r, 0, 100, QStringLiteral("--retries")));
    // After --port: an explicit port wins over the project's port number.
    applyProjectOptions(ctx, args, addressText.has_value());
    ctx.addressGiven = addressText.has_value();
    if (addressText)
        ctx.address = static_cast<uint8_t>(
            parseIntArg(*addressText, kMinZarnetAddress, kMaxZarnetLinkAddress, QStringLiteral("--address")));
}

namespace {
[[noreturn]] void noPort(const CliContext& ctx) {
    if (!ctx.projectPath.isEmpty())
        throw UsageError{QStringLiteral("--project needs --device NAME here (for-each runs every device)")};
    throw UsageError{QStringLiteral("no port given: use --port PATH or --com N")};
}

// Busy gets a word of its own: scripts and engineers should see that waiting will help.
void portFailed(const SerialPort& port, const QString& path) {
    if (isNetworkPort(path)) {
        const std::optional<NetworkAddress> address = parseNetworkPort(path);
        if (!address)
            fail(QStringLiteral("%1 is not a network port: expected tcp://HOST:PORT").arg(path));
        else
            fail(QStringLiteral("cannot connect to %1 (host %2, port %3): %4")
                     .arg(path, QString::fromUtf8(address->host), QString::fromLatin1(address->service),
                          port.openFailureText()));
        return;
    }
    if (port.openFailure() == OpenFailure::Busy)
        fail(QStringLiteral("port %1 is busy: another program is using it (%2)")
                 .arg(path, describeOpenFailure(port, path)));
    else
        fail(describeOpenFailure(port, path));
}
} // namespace

bool CliContext::attempt(const std::function<bool()>& request) const {
    for (int i = 0; i <= retries; ++i) {
        if (i > 0)
            sleepMs(kRequestPauseMs);
        if (request())
            return true;
    }
    return false;
}

bool CliContext::openZarnet() {
    if (portPath.isEmpty())
        noPort(*this);
    if (zarnetPort.open(portPath, LineSettings{9600, 0, 0}) != PortOk) {
        portFailed(zarnetPort, portPath);
        return false;
    }
    link.DeviceAddress = address;
    return true;
}

bool CliContext::openModbus(uint8_t mbParamsByte) {
    if (portPath.isEmpty())
        noPort(*this);
    if (modbusPort.open(portPath, modbusLineSettings(mbParamsByte)) != PortOk) {
        portFailed(modbusPort, portPath);
        return false;
    }
    return true;
}

bool CliContext::connect() {
    uint8_t type = 0, build = 0;
    uint16_t version = 0;
    if (!attempt([&] { return GetDeviceVersion(link, 0, type, version, build); })) {
        fail(QStringLiteral("no answer from address %1 on %2").arg(address).arg(portPath));
        return false;
    }
    link.DeviceType = type;
    link.FirmwareVersion = version;
    link.FirmwareBuild = build;
    if (sessionKey) {
        static std::mt19937 generator{std::random_device{}()};
        const uint8_t key = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(generator));
        // A lost reply may hide a key the controller took: identifying again starts a new,
        // plain session before the key goes out once more.
        bool first = true;
        const bool sent = attempt([&] {
            if (!std::exchange(first, false) && !GetDeviceVersion(link, 0, type, version, build))
                return false;
            return SendSessionKey(link, key);
        });
        if (!sent) {
            fail(QStringLiteral("the controller did not accept the session key"));
            return false;
        }
    }
    return true;
}

void CliContext::startTrace() {
    trace = std::make_unique<FrameTap>(
        [](const LinkFrame& frame) { std::fprintf(stderr, "%s\n", frameLine(frame).toUtf8().constData()); });
    link.setTap(trace.get());
    modbus.setTap(trace.get());
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
