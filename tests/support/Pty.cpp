#include "Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace vextor::testing {
namespace {
void makeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
}
} // namespace

Pty::Pty() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    makeRaw(master_);
    makeRaw(slave_);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
}

Pty::~Pty() {
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

std::vector<uint8_t> Pty::readRequest(int timeoutMs) {
    std::vector<uint8_t> out;
    int wait = timeoutMs;
    for (;;) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, wait) <= 0 || !(p.revents & POLLIN))
            break;
        uint8_t buf[256];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
        wait = 30;
    }
    return out;
}

void Pty::send(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else
            ::poll(nullptr, 0, 1);
    }
}

PtyBridge::PtyBridge() {
    thread_ = std::thread([this] {
        const int fds[2] = {a_.master(), b_.master()};
        while (!stop_) {
            pollfd p[2] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}};
            if (::poll(p, 2, 20) <= 0)
                continue;
            for (int i = 0; i < 2; ++i) {
                if (!(p[i].revents & POLLIN)) {
                    if (p[i].revents & (POLLHUP | POLLERR))
                        ::poll(nullptr, 0, 5);
                    continue;
                }
                uint8_t buf[256];
                const ssize_t n = ::read(fds[i], buf, sizeof buf);
                for (ssize_t done = 0; n > 0 && done < n;) {
                    const ssize_t w = ::write(fds[1 - i], buf + done, n - done);
                    if (w > 0)
                        done += w;
                    else
                        ::poll(nullptr, 0, 1);
                }
            }
        }
    });
}

PtyBridge::~PtyBridge() {
    stop_ = true;
    thread_.join();
}

} // namespace vextor::testing
