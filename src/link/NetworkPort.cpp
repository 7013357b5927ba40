#include "NetworkPort.h"

#include "SerialPort.h"

#include <QSettings>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vextor {
namespace {

constexpr char kScheme[] = "tcp://";

QString reason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

bool isNetworkPort(const QString& name) {
    return name.startsWith(QLatin1String(kScheme));
}

std::optional<NetworkAddress> parseNetworkPort(const QString& name) {
    if (!isNetworkPort(name))
        return std::nullopt;
    const QString rest = name.mid(static_cast<qsizetype>(std::strlen(kScheme)));
    QString host;
    QString port;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1String("]:"));
        if (close < 0)
            return std::nullopt;
        host = rest.mid(1, close - 1);
        port = rest.mid(close + 2);
    } else {
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon < 0 || rest.indexOf(QLatin1Char(':')) != colon)
            return std::nullopt;
        host = rest.left(colon);
        port = rest.mid(colon + 1);
    }
    bool ok = false;
    const int number = port.toInt(&ok);
    if (host.isEmpty() || !ok || number < 1 || number > 65535 || port != QString::number(number) ||
        host.contains(QLatin1Char('/')))
        return std::nullopt;
    return NetworkAddress{host.toUtf8(), port.toLatin1()};
}

int connectNetworkPort(const NetworkAddress& address, int timeoutMs, int& err, QString& why) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(address.host.constData(), address.service.constData(), &hints, &found);
    if (lookup != 0) {
        err = lookup == EAI_SYSTEM ? errno : ENOENT;
        why = QString::fromLocal8Bit(::gai_strerror(lookup));
        return -1;
    }
    err = ECONNREFUSED;
    why = reason(err);
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            err = errno;
            why = reason(err);
            continue;
        }
        int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            do {
                r = ::poll(&p, 1, timeoutMs);
            } while (r < 0 && errno == EINTR);
            int soError = 0;
            socklen_t len = sizeof soError;
            if (r == 0) {
                soError = ETIMEDOUT;
            } else if (r < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0) {
                soError = errno;
            }
            r = soError == 0 ? 0 : -1;
            errno = soError;
        }
        if (r != 0) {
            err = errno;
            why = reason(err);
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    if (fd >= 0) {
        // Requests are a few bytes each and must leave at once, not wait for more to send.
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        err = 0;
        why.clear();
    }
    return fd;
}

int networkLatencyMs() {
    bool ok = false;
    const int fromEnv = qEnvironmentVariableIntValue("VEXTOR_NET_LATENCY_MS", &ok);
    if (ok && fromEnv >= 0)
        return fromEnv;
    QSettings settings(userSettingsPath(), QSettings::IniFormat);
    const int fromFile = settings.value(QStringLiteral("network/latencyMs")).toInt(&ok);
    return ok && fromFile >= 0 ? fromFile : kDefaultNetworkLatencyMs;
}

} // namespace vextor
