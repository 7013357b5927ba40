#include "TcpBridge.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace vextor::testing {

TcpBridge::TcpBridge(const QString& ptyPath, int cutAfterReplyBytes)
    : ptyPath_(ptyPath), cutAfter_(cutAfterReplyBytes) {
    if (::pipe2(wake_, O_CLOEXEC) != 0)
        return;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 4) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return;
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

TcpBridge::~TcpBridge() {
    if (thread_.joinable()) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_[1], &stop, 1);
        thread_.join();
    }
    for (int fd : {listenFd_, wake_[0], wake_[1]})
        if (fd >= 0)
            ::close(fd);
}

void TcpBridge::run() {
    for (;;) {
        pollfd p[2] = {{listenFd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 && errno != EINTR)
            return;
        if (p[1].revents)
            return;
        if (!(p[0].revents & POLLIN))
            continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        ++connections_;
        relay(client);
        ::close(client);
    }
}

void TcpBridge::relay(int client) {
    const int line = ::open(ptyPath_.toUtf8().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line < 0)
        return;
    termios tio{};
    if (::tcgetattr(line, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(line, TCSANOW, &tio);
    }
    int sent = 0;
    char buffer[512];
    for (;;) {
        pollfd p[3] = {{client, POLLIN, 0}, {line, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(p, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (p[2].revents)
            break;
        if (p[0].revents) {
            const ssize_t n = ::read(client, buffer, sizeof buffer);
            if (n <= 0 || ::write(line, buffer, static_cast<size_t>(n)) != n)
                break;
        }
        if (p[1].revents) {
            ssize_t n = ::read(line, buffer, sizeof buffer);
            if (n <= 0)
                break;
            const bool cut = cutAfter_ >= 0 && sent + n >= cutAfter_;
            if (cut)
                n = cutAfter_ - sent;
            if (n > 0 && ::send(client, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n)
                break;
            sent += static_cast<int>(n);
            if (cut)
                break;
        }
    }
    ::close(line);
}

} // namespace vextor::testing
