#include "PtyTransport.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace vextor::sim {

namespace {

bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

uint32_t baudOf(speed_t s) {
    switch (s) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

int64_t steadyUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int64_t lineTimeUs(size_t count, uint32_t baud, int bitsPerByte) {
    if (baud == 0)
        return 0;
    const int64_t bits = static_cast<int64_t>(count) * bitsPerByte;
    return (bits * 1000000 + baud - 1) / baud;
}

PtyTransport::~PtyTransport() {
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

bool PtyTransport::open(std::string& error) {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    if (!makeRaw(master_) || !makeRaw(slave_)) {
        error = std::string("cannot set the pseudo-terminal to raw mode: ") + std::strerror(errno);
        return false;
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    slavePath_ = name;
    return true;
}

uint32_t PtyTransport::masterBaud() const {
    // The pair shares one set of line settings: what the master program chose on its side.
    termios t{};
    if (tcgetattr(master_, &t) != 0)
        return 0;
    return baudOf(cfgetospeed(&t));
}

void PtyTransport::serve(SimLine& line, uint32_t wireBaud, const std::atomic<bool>& stop,
                         const std::function<int64_t()>& nowMs) {
    while (!stop.load())
        step(line, wireBaud, nowMs, 100);
}

void PtyTransport::step(SimLine& line, uint32_t wireBaud, const std::function<int64_t()>& nowMs,
                        int maxWaitMs) {
    int64_t now = nowMs();
    int64_t timeoutUs = int64_t{maxWaitMs} * 1000;
    if (auto d = framer_.deadline())
        timeoutUs = std::clamp<int64_t>((*d - now) * 1000, 0, timeoutUs);
    if (!outgoing_.empty())
        timeoutUs = std::clamp<int64_t>(outgoing_.front().dueUs - steadyUs(), 0, timeoutUs);

    pollfd p{master_, POLLIN, 0};
    const timespec wait{static_cast<time_t>(timeoutUs / 1000000),
                        static_cast<long>(timeoutUs % 1000000) * 1000};
    const int r = ::ppoll(&p, 1, &wait, nullptr);
    now = nowMs();
    const int64_t nowUs = steadyUs();
    framer_.setProtocols(line.hasZarnet(), line.hasModbus());
    if (r > 0 && (p.revents & POLLIN)) {
        uint8_t buf[4096];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            framer_.feed(buf, static_cast<size_t>(n), now);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            // EIO while nobody holds the slave side: wait for the next open.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    for (const Frame& f : framer_.take(now)) {
        const std::optional<LineReply> reply =
            line.handle(f, now, f.kind == FrameKind::Modbus ? masterBaud() : 0);
        // A request may switch the controller's protocol: frame what follows accordingly.
        framer_.setProtocols(line.hasZarnet(), line.hasModbus());
        if (!reply)
            continue;
        int64_t due = nowUs + int64_t{reply->delayMs} * 1000;
        if (wireBaud > 0)
            due += lineTimeUs(f.bytes.size(), wireBaud, reply->bitsPerByte) +
                   lineTimeUs(reply->bytes.size(), wireBaud, reply->bitsPerByte);
        // One talker at a time: a reply never overtakes the one before it.
        if (!outgoing_.empty())
            due = std::max(due, outgoing_.back().dueUs);
        outgoing_.push_back(Outgoing{due, reply->bytes});
    }
    sendDue(line, nowMs());
}

void PtyTransport::sendDue(SimLine& line, int64_t now) {
    const int64_t nowUs = steadyUs();
    while (!outgoing_.empty() && outgoing_.front().dueUs <= nowUs) {
        const Bytes& bytes = outgoing_.front().bytes;
        size_t done = 0;
        int spins = 0;
        while (done < bytes.size() && spins < 100) {
            const ssize_t w = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (w > 0) {
                done += static_cast<size_t>(w);
            } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
                break;
            } else {
                ++spins;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        // A reply the pseudo-terminal would not take (nobody reading for a long time) is logged
        // as lost rather than blocking the line.
        line.logFrame(now, done == bytes.size() ? "tx" : "drop", bytes);
        outgoing_.pop_front();
    }
}

} // namespace vextor::sim
