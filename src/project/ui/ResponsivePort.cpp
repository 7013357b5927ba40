#include "ResponsivePort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <future>

namespace vextor {

namespace {

void paintFor(int ms) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, ms);
}

} // namespace

size_t ResponsivePort::read(uint8_t* data, size_t count) {
    if (!QCoreApplication::instance())
        return PosixSerialPort::read(data, count);
    auto pending = std::async(std::launch::async, [&] { return PosixSerialPort::read(data, count); });
    while (pending.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        paintFor(5);
    return pending.get();
}

void UiClock::sleepMs(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        paintFor(static_cast<int>(ms - timer.elapsed()));
        const qint64 left = ms - timer.elapsed();
        if (left > 0)
            systemClock().sleepMs(static_cast<int>(std::min<qint64>(left, 5)));
    }
}

int64_t UiClock::nowMs() {
    return systemClock().nowMs();
}

} // namespace vextor
