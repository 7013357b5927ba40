// vextor-sim: one or more virtual Vextor controllers on a pseudo-terminal. Prints
// "PORT <slave path>" as its first line, then serves until SIGINT or SIGTERM.
#include "PtyTransport.h"
#include "SimController.h"
#include "SimLine.h"
#include "SimOptions.h"

#include "config/ConfigFile.h"
#include "config/ConfigImage.h"
#include "link/AddressLimits.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>

using namespace vextor::sim;
using vextor::kMaxModbusAddress;
using vextor::kMaxZarnetLinkAddress;
using vextor::kMinModbusAddress;
using vextor::kMinZarnetAddress;

namespace {

// Set by the signal handler and read by the serving loop; a lock-free atomic is safe in both.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onStopSignal(int) {
    stopRequested.store(true);
}

int usageError(const QString& message) {
    std::fprintf(stderr, "vextor-sim: %s\n", qPrintable(message));
    std::fprintf(stderr, "Try 'vextor-sim --help'.\n");
    return 2;
}

DeviceDateTime localNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    DeviceDateTime d{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    // The controller counts years 2000..2099 in one byte.
    if (d.year < 2000 || d.year > 2099 || d.second > 59)
        d = DeviceDateTime{2024, 1, 1, 12, 0, 0};
    return d;
}

bool writeDump(const QString& path, const Bytes& memory) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const qint64 n =
        file.write(reinterpret_cast<const char*>(memory.data()), static_cast<qint64>(memory.size()));
    return n == static_cast<qint64>(memory.size()) && file.commit();
}

// Puts the fields a configuration file carries over image (device addresses 3..1193); the fields it
// does not carry (the protocol switch, SoundOn, TimeWorkPump, ...) keep their bytes. The only use
// of the configurator's reading of the layout in the simulator: turning a file into memory bytes.
bool applyConfigurationFile(const QString& path, Bytes& image, QString& error) {
    vextor::ConfigImage config;
    vextor::decodeBlock(config, kImageFirst, kImageSize, image.data());
    const vextor::ConfigFileResult r = vextor::loadConfigurationFile(config, path, nullptr);
    if (!r.success) {
        error = r.errorText;
        return false;
    }
    if (!r.warningText.isEmpty())
        std::fprintf(stderr, "vextor-sim: %s\n", qPrintable(r.warningText));
    vextor::encodeRange(config, kImageFirst, kImageSize, image.data());
    return true;
}

struct Options {
    std::vector<uint8_t> addresses;
    std::vector<uint8_t> modbusAddresses;
    ControllerSettings controller;
    FaultRates faults;
    uint32_t seed = 1;
    uint32_t wireBaud = 0;
    QString loadConfig, dumpMemory, log;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vextor-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A virtual Vextor controller on a pseudo-terminal. It answers the device protocol and, after\n"
        "the switch (0x55 written at address 4, then a reset), Modbus RTU like a real controller.\n"
        "The first line on stdout is \"PORT <path>\": open that path as the serial port.\n"
        "It serves until SIGINT or SIGTERM.");
    parser.addHelpOption();
    const QCommandLineOption address(
        "address",
        QString("Device-protocol address %1..%2 of a controller (default 1). Give it several "
                "times for several controllers on one line, each with its own memory.")
            .arg(kMinZarnetAddress)
            .arg(kMaxZarnetLinkAddress),
        "A");
    const QCommandLineOption modbusAddress(
        "modbus-address",
        QString("Modbus address %1..%2 (MB_Address at 5; default from the configuration, "
                "2). Once for all controllers, or once per --address in the same order.")
            .arg(kMinModbusAddress)
            .arg(kMaxModbusAddress),
        "N");
    const QCommandLineOption firmware("firmware",
                                      "Firmware version, as 2.01 or in hundredths (default 2.01).", "V");
    const QCommandLineOption build("build", "Firmware build 0..255 (default 3).", "N");
    const QCommandLineOption panel("panel", "Display panel version, or none (default 1.05).", "V");
    const QCommandLineOption cfgVersion(
        "cfg-version", "CfgVersion at address 1192, as 2.00, in hundredths or none (default 2.00).", "V");
    const QCommandLineOption events("events", "Black-box records filled at start, 0..682 (default 40).", "N");
    const QCommandLineOption eventInterval(
        "event-interval",
        "Mean ms between events the unit logs on its own (default 30000); 0 "
        "logs none, so the black box changes only through commands.",
        "MS");
    const QCommandLineOption loadConfig("load-config",
                                        "Start from this configuration file (.bin) instead of the "
                                        "default configuration.",
                                        "FILE");
    const QCommandLineOption dumpMemory("dump-memory",
                                        "At exit write the whole memory of the controller to FILE (further "
                                        "controllers to FILE.<address>).",
                                        "FILE");
    const QCommandLineOption wireSpeed(
        "wire-speed",
        "Hold each request and reply for its time on a line of BAUD (10 bits per "
        "byte, 11 in Modbus frame formats with two stop bits or parity); 0 answers at "
        "once (default).",
        "BAUD");
    const QCommandLineOption replyDelay(
        "reply-delay-ms",
        "Delay before reply in ms, 0..65535 (default 2); the device protocol reads "
        "and writes it.",
        "MS");
    const QCommandLineOption silent(
        "silent",
        "Memory reads touching ADDR..ADDR+COUNT-1 are never answered (decimal or 0x "
        "hex; may be repeated).",
        "ADDR:COUNT");
    const QCommandLineOption slave(
        "slave",
        "Address of a device on the controller's own slave line, reached through the "
        "transit commands (may be repeated; default 1 and 2).",
        "ADDR");
    const QCommandLineOption seed(
        "seed", "Seed of the fault injection and of the generated events (default 1).", "N");
    const QCommandLineOption dropRate("drop-rate", "Share of replies never sent, 0..1.", "P");
    const QCommandLineOption corruptRate("corrupt-rate", "Share of replies sent with a bad CRC, 0..1.", "P");
    const QCommandLineOption wrongAddressRate("wrong-address-rate",
                                              "Share of replies sent from another address, 0..1.", "P");
    const QCommandLineOption truncateRate("truncate-rate", "Share of replies cut short, 0..1.", "P");
    const QCommandLineOption log(
        "log", "Write one line per frame: time in ms, direction (rx, tx, drop), hex bytes.", "FILE");
    parser.addOptions({address,    modbusAddress, firmware,         build,        panel,
                       cfgVersion, events,        eventInterval,    loadConfig,   dumpMemory,
                       wireSpeed,  replyDelay,    silent,           slave,        seed,
                       dropRate,   corruptRate,   wrongAddressRate, truncateRate, log});

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QString("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    Options o;
    auto bad = [](const QCommandLineOption& opt, const QString& value, const QString& expected) {
        return usageError(QString("--%1 %2: %3").arg(opt.names().first(), value, expected));
    };
    for (const QString& v : parser.values(address)) {
        const auto a = parseInteger(v.toStdString(), kMinZarnetAddress, kMaxZarnetLinkAddress);
        if (!a)
            return bad(
                address, v,
                QString("expected an address %1..%2").arg(kMinZarnetAddress).arg(kMaxZarnetLinkAddress));
        for (uint8_t taken : o.addresses)
            if (taken == *a)
                return bad(address, v, "given twice; every controller on a line needs its own address");
        o.addresses.push_back(static_cast<uint8_t>(*a));
    }
    if (o.addresses.empty())
        o.addresses.push_back(1);
    for (const QString& v : parser.values(modbusAddress)) {
        const auto a = parseInteger(v.toStdString(), kMinModbusAddress, kMaxModbusAddress);
        if (!a)
            return bad(
                modbusAddress, v,
                QString("expected a Modbus address %1..%2").arg(kMinModbusAddress).arg(kMaxModbusAddress));
        o.modbusAddresses.push_back(static_cast<uint8_t>(*a));
    }
    if (o.modbusAddresses.size() > 1 && o.modbusAddresses.size() != o.addresses.size())
        return usageError("--modbus-address must be given once, or once per --address");

    ControllerSettings& c = o.controller;
    if (parser.isSet(firmware)) {
        const auto v = parseVersion(parser.value(firmware).toStdString());
        if (!v)
            return bad(firmware, parser.value(firmware), "expected a version such as 2.01 or 201");
        c.firmware = *v;
    }
    if (parser.isSet(build)) {
        const auto v = parseInteger(parser.value(build).toStdString(), 0, 255);
        if (!v)
            return bad(build, parser.value(build), "expected a build number 0..255");
        c.build = static_cast<uint8_t>(*v);
    }
    if (parser.isSet(panel)) {
        const auto v = parseVersionOrNone(parser.value(panel).toStdString());
        if (!v)
            return bad(panel, parser.value(panel), "expected a version such as 1.05, or none");
        c.panel = *v;
    }
    if (parser.isSet(cfgVersion)) {
        const auto v = parseVersionOrNone(parser.value(cfgVersion).toStdString());
        if (!v)
            return bad(cfgVersion, parser.value(cfgVersion), "expected a version such as 2.00, or none");
        c.cfgVersion = *v;
    }
    if (parser.isSet(events)) {
        const auto v = parseInteger(parser.value(events).toStdString(), 0, kEventSlots);
        if (!v)
            return bad(events, parser.value(events), "expected a record count 0..682");
        c.eventCount = static_cast<int>(*v);
    }
    if (parser.isSet(eventInterval)) {
        const auto v = parseInteger(parser.value(eventInterval).toStdString(), 0, 24ll * 3600 * 1000);
        if (!v)
            return bad(eventInterval, parser.value(eventInterval), "expected milliseconds, or 0");
        c.eventIntervalMs = *v;
    }
    if (parser.isSet(replyDelay)) {
        const auto v = parseInteger(parser.value(replyDelay).toStdString(), 0, 65535);
        if (!v)
            return bad(replyDelay, parser.value(replyDelay), "expected milliseconds 0..65535");
        c.replyDelayMs = static_cast<uint16_t>(*v);
    }
    if (parser.isSet(wireSpeed)) {
        const auto v = parseInteger(parser.value(wireSpeed).toStdString(), 0, 4000000);
        if (!v)
            return bad(wireSpeed, parser.value(wireSpeed), "expected a baud rate, or 0");
        o.wireBaud = static_cast<uint32_t>(*v);
    }
    for (const QString& v : parser.values(silent)) {
        const auto r = parseRange(v.toStdString());
        if (!r)
            return bad(silent, v, "expected ADDR:COUNT");
        c.silentRanges.push_back(*r);
    }
    if (parser.isSet(slave)) {
        c.slaves.clear();
        for (const QString& v : parser.values(slave)) {
            const auto a = parseInteger(v.toStdString(), kMinZarnetAddress, kMaxZarnetLinkAddress);
            if (!a)
                return bad(slave, v,
                           QString("expected a slave address %1..%2")
                               .arg(kMinZarnetAddress)
                               .arg(kMaxZarnetLinkAddress));
            c.slaves.push_back(static_cast<uint8_t>(*a));
        }
    }
    if (parser.isSet(seed)) {
        const auto v = parseInteger(parser.value(seed).toStdString(), 0, 0xFFFFFFFFll);
        if (!v)
            return bad(seed, parser.value(seed), "expected a whole number");
        o.seed = static_cast<uint32_t>(*v);
    }
    const std::pair<const QCommandLineOption*, double*> rates[] = {
        {&dropRate, &o.faults.drop},
        {&corruptRate, &o.faults.corrupt},
        {&wrongAddressRate, &o.faults.wrongAddress},
        {&truncateRate, &o.faults.truncate}};
    for (const auto& [opt, target] : rates) {
        if (!parser.isSet(*opt))
            continue;
        const auto v = parseRate(parser.value(*opt).toStdString());
        if (!v)
            return bad(*opt, parser.value(*opt), "expected a share 0..1");
        *target = *v;
    }

    // The configuration memory: the simulator's default image, or a configuration file over it.
    Bytes imageBytes(kDefaultImage.begin(), kDefaultImage.end());
    if (parser.isSet(loadConfig)) {
        const QString path = parser.value(loadConfig);
        QString error;
        if (!applyConfigurationFile(path, imageBytes, error))
            return usageError(QString("--load-config %1: %2").arg(path, error));
    }

    std::ofstream logFile;
    if (parser.isSet(log)) {
        logFile.open(parser.value(log).toStdString(), std::ios::out | std::ios::trunc);
        if (!logFile)
            return usageError(QString("--log %1: cannot write the file").arg(parser.value(log)));
    }

    const auto start = std::chrono::steady_clock::now();
    auto nowMs = [start] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    };
    SimLine line(o.seed, o.faults);
    if (logFile.is_open())
        line.setLog(&logFile);
    const DeviceDateTime clock = localNow();
    for (size_t i = 0; i < o.addresses.size(); ++i) {
        ControllerSettings s = c;
        s.address = o.addresses[i];
        s.seed = o.seed;
        if (!o.modbusAddresses.empty())
            s.modbusAddress = o.modbusAddresses.size() == 1 ? o.modbusAddresses[0] : o.modbusAddresses[i];
        line.addController(std::make_unique<SimController>(s, imageBytes, clock, nowMs()));
    }

    PtyTransport pty;
    std::string error;
    if (!pty.open(error)) {
        std::fprintf(stderr, "vextor-sim: %s\n", error.c_str());
        return 1;
    }
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    std::printf("PORT %s\n", pty.slavePath().c_str());
    std::fflush(stdout);

    pty.serve(line, o.wireBaud, stopRequested, nowMs);

    int rc = 0;
    if (parser.isSet(dumpMemory)) {
        const QString path = parser.value(dumpMemory);
        for (size_t i = 0; i < line.controllers().size(); ++i) {
            const SimController& ctl = *line.controllers()[i];
            const QString target = i == 0 ? path : QString("%1.%2").arg(path).arg(ctl.address());
            if (!writeDump(target, ctl.memory())) {
                std::fprintf(stderr, "vextor-sim: --dump-memory %s: cannot write the file\n",
                             qPrintable(target));
                rc = 1;
            }
        }
    }
    return rc;
}
