// Times the link's exchanges and the long transfers against vextor-sim holding every frame for its
// time on a 9600-baud 8N1 line, and sets each beside its floor: the bytes of every request and
// reply on that line plus the pauses the transfer itself demands. The live monitor's cycle is set
// beside the same floor.
#include "config/ConfigImage.h"
#include "config/ConfigTransfer.h"
#include "events/EventReader.h"
#include "link/Hooks.h"
#include "link/PosixSerialPort.h"
#include "link/TransferProgress.h"
#include "link/ZarnetCommands.h"
#include "monitor/Poller.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
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
    return 0;
}
