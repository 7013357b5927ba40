// Times the link's exchanges and the long transfers against vextor-sim holding every frame for its
// time on a 9600-baud 8N1 line, and sets each beside its floor: the bytes of every request and
// reply on that line plus the pauses the transfer itself demands. The live monitor's cycle is set
// beside the same floor. The Modbus identification is set beside its floor and beside libmodbus's
// client doing the same read on the same line (when vextor-modbus-libmodbus was built).
//   vextor-bench [--modbus-only]
#include "config/ConfigImage.h"
#include "config/ConfigTransfer.h"
#include "events/EventReader.h"
#include "link/ControllerMemory.h"
#include "link/Hooks.h"
#include "link/ModbusMaster.h"
#include "link/PosixSerialPort.h"
#include "link/TransferProgress.h"
#include "link/ZarnetCommands.h"
#include "monitor/Poller.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vextor;

namespace {

constexpr double kBaud = 9600;
double lineMs(uint64_t bytes) {
    return bytes * 10.0 * 1000.0 / kBaud;
}

// The system clock, counting what the transfer asks to sleep.
class PauseCounter final : public Clock {
public:
    void sleepMs(int ms) override {
        paused += ms;
        systemClock().sleepMs(ms);
    }
    int64_t nowMs() override { return systemClock().nowMs(); }
    int64_t paused = 0;
};

struct Sim {
    QProcess process;
    QString port;
    explicit Sim(const QStringList& options) {
        process.start(QStringLiteral(VEXTOR_BIN_DIR "/vextor-sim"), options);
        process.waitForStarted();
        while (!process.canReadLine() && process.state() == QProcess::Running)
            process.waitForReadyRead(5000);
        const QString line = QString::fromUtf8(process.readLine()).trimmed();
        port = line.mid(5);
    }
    ~Sim() {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        process.waitForFinished(5000);
    }
};

struct Figure {
    const char* what;
    double elapsedMs;
    double floorMs;
};

void print(const Figure& f) {
    std::printf("%-34s %10.1f ms   floor %10.1f ms   %+6.1f%%\n", f.what, f.elapsedMs, f.floorMs,
                (f.elapsedMs / f.floorMs - 1.0) * 100.0);
}

// Median of repeated single exchanges; the floor is the bytes of one request and its reply.
Figure exchange(const char* what, ZarnetLink& link, const std::function<bool()>& run, int repeats) {
    std::vector<double> times;
    uint64_t bytes = 0;
    for (int i = 0; i < repeats; ++i) {
        const auto before = link.stats;
        const int64_t t0 = systemClock().nowMs();
        if (!run()) {
            std::fprintf(stderr, "%s failed\n", what);
            continue;
        }
        times.push_back(double(systemClock().nowMs() - t0));
        bytes = (link.stats.bytesOut - before.bytesOut) + (link.stats.bytesIn - before.bytesIn);
    }
    std::sort(times.begin(), times.end());
    return {what, times.empty() ? 0.0 : times[times.size() / 2], lineMs(bytes)};
}

Figure transfer(const char* what, ZarnetLink& link, PauseCounter& pauses, const std::function<bool()>& run) {
    const auto before = link.stats;
    pauses.paused = 0;
    const int64_t t0 = systemClock().nowMs();
    if (!run())
        std::fprintf(stderr, "%s failed\n", what);
    const double elapsed = double(systemClock().nowMs() - t0);
    const uint64_t bytes = (link.stats.bytesOut - before.bytesOut) + (link.stats.bytesIn - before.bytesIn);
    return {what, elapsed, lineMs(bytes) + double(pauses.paused)};
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The identification read over Modbus RTU at 9600 baud 8N1: our master, then libmodbus's client, on
// one simulator switched to Modbus; the floor is the line time of the request and its reply.
void modbusIdentification() {
    constexpr int kRounds = 4;
    constexpr int kRepeats = 10;
    constexpr uint8_t kAddress = 1;
    constexpr uint8_t kParams9600N1 = 1; // 9600 baud, 10 bits a byte
    Sim sim({"--wire-speed", "9600", "--reply-delay-ms", "0", "--event-interval", "0", "--modbus-address",
             QString::number(kAddress)});
    if (sim.port.isEmpty()) {
        std::fprintf(stderr, "vextor-sim did not start\n");
        return;
    }
    {
        PosixSerialPort port(PortRole::Zarnet);
        if (port.open(sim.port, LineSettings{}) != PortOk)
            return;
        ZarnetLink link(&port);
        link.DeviceAddress = 1;
        const uint8_t mark = kSwitchToModbus;
        if (!WriteMemory(link, &mark, kProtocolSelectorAddress, 1) || !ResetDevice(link)) {
            std::fprintf(stderr, "the switch to Modbus failed\n");
            return;
        }
    }
    const auto request = modbusIdentifyRequest(kAddress);
    const double floor = lineMs(request.size() + 2 + kIdentityReplyLength);
    const QString client = QStringLiteral(VEXTOR_BIN_DIR "/vextor-modbus-libmodbus");
    const bool withLibmodbus = QFileInfo(client).isExecutable();
    // The two clients take turns, a round each, so that a change of load falls on both alike.
    std::vector<double> ours, theirs;
    for (int round = 0; round < kRounds; ++round) {
        {
            PosixSerialPort port(PortRole::Modbus);
            if (port.open(sim.port, modbusLineSettings(kParams9600N1)) != PortOk)
                return;
            ModbusMaster master(&port);
            for (int i = 0; i < kRepeats; ++i) {
                uint8_t reply[256] = {};
                uint8_t length = 0;
                // In fractions of a millisecond, as the other client measures.
                const auto t0 = std::chrono::steady_clock::now();
                const bool ok =
                    master.ModbusExchange(request.data(), uint8_t(request.size()), reply, length) &&
                    modbusIdentityFromReply(reply, length);
                if (ok)
                    ours.push_back(
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                            .count());
                else
                    std::fprintf(stderr, "Modbus identify %d failed (error %u)\n", i + 1, master.LastError);
            }
        }
        if (!withLibmodbus)
            continue;
        QProcess run;
        run.start(client, {sim.port, QString::number(kAddress), QString::number(kRepeats)});
        run.waitForFinished(60000);
        const QString out = QString::fromUtf8(run.readAllStandardOutput()).trimmed();
        for (const QString& field : out.split(' '))
            if (field.startsWith(QStringLiteral("times_ms=")))
                for (const QString& t : field.mid(9).split(',', Qt::SkipEmptyParts))
                    theirs.push_back(t.toDouble());
        if (run.exitCode() != 0)
            std::fprintf(stderr, "vextor-modbus-libmodbus failed: %s\n",
                         run.readAllStandardError().constData());
    }
    print({"Modbus identify (ours)", median(ours), floor});
    if (!withLibmodbus) {
        std::printf("%-34s (not built: libmodbus was not found)\n", "Modbus identify (libmodbus)");
        return;
    }
    if (theirs.empty())
        return;
    print({"Modbus identify (libmodbus)", median(theirs), floor});
    std::printf("%-34s %+6.1f%%\n", "ours against libmodbus", (median(ours) / median(theirs) - 1.0) * 100.0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (QCoreApplication::arguments().contains(QStringLiteral("--modbus-only"))) {
        modbusIdentification();
        return 0;
    }
    Sim sim({"--wire-speed", "9600", "--reply-delay-ms", "0", "--events", "682", "--event-interval", "0"});
    if (sim.port.isEmpty()) {
        std::fprintf(stderr, "vextor-sim did not start\n");
        return 1;
    }
    PauseCounter pauses;
    setClock(&pauses);
    PosixSerialPort port(PortRole::Zarnet);
    if (port.open(sim.port, LineSettings{}) != PortOk)
        return 1;
    ZarnetLink link(&port);
    link.DeviceAddress = 1;

    std::printf("vextor-sim at 9600 baud 8N1, reply delay 0; floor = line time of the bytes + pauses\n\n");
    uint8_t type = 0, build = 0;
    uint16_t version = 0;
    print(exchange(
        "identify (GetDeviceVersion)", link, [&] { return GetDeviceVersion(link, 0, type, version, build); },
        20));
    uint8_t buf[256];
    print(exchange(
        "ReadMemory of 64 bytes", link, [&] { return ReadMemory(link, buf, 3, 64); }, 20));

    ConfigImage image;
    loadDefaultConfiguration(image);
    NullProgress progress;
    print(transfer("configuration read (13 steps)", link, pauses,
                   [&] { return readConfiguration(link, image, progress, nullptr); }));
    print(transfer("configuration write (12 sections)", link, pauses,
                   [&] { return writeConfiguration(link, image, progress); }));
    QTemporaryDir dir;
    print(transfer("event read, task pacing (682 slots)", link, pauses, [&] {
        return events::readEventLog(link, dir.filePath("bench.blb"), events::EventReadPacing::ProjectTask,
                                    progress)
            .ok();
    }));
    print(transfer("event read, device pacing", link, pauses, [&] {
        return events::readEventLog(link, dir.filePath("bench2.blb"), events::EventReadPacing::DeviceWindow,
                                    progress)
            .ok();
    }));
    // The fast read: 27 records per request, the same file.
    print(transfer("fast event read, task pacing", link, pauses, [&] {
        return events::readEventLog(link, dir.filePath("bench3.blb"), events::EventReadPacing::ProjectTask,
                                    progress, {}, events::EventReadMode::Fast)
            .ok();
    }));
    print(transfer("fast event read, device pacing", link, pauses, [&] {
        return events::readEventLog(link, dir.filePath("bench4.blb"), events::EventReadPacing::DeviceWindow,
                                    progress, {}, events::EventReadMode::Fast)
            .ok();
    }));
    // The live monitor's full cycle: the event poll and the four reads of every own channel, 20 ms
    // apart; the median of twenty cycles.
    monitor::Poller poller(monitor::PollSettings{monitor::ChannelSelection::allOwnChannels(), {}});
    std::vector<Figure> cycles;
    for (int i = 0; i < 20; ++i)
        cycles.push_back(transfer("monitor cycle (every own channel)", link, pauses,
                                  [&] { return poller.runTick(link).chart.has_value(); }));
    std::sort(cycles.begin(), cycles.end(),
              [](const Figure& a, const Figure& b) { return a.elapsedMs < b.elapsedMs; });
    print(cycles[cycles.size() / 2]);
    setClock(nullptr);
    std::printf("\n");
    modbusIdentification();
    return 0;
}
