#include "PosixSerialPort.h"

#include "Hooks.h"
#include "LocalPath.h"
#include "NetworkPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace vextor {
namespace {

bool speedFor(uint32_t baud, speed_t& speed) {
    switch (baud) {
    case 1200:
        speed = B1200;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    default:
        return false;
    }
}

OpenFailure classify(int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return OpenFailure::NotFound;
    case EACCES:
    case EPERM:
        return OpenFailure::PermissionDenied;
    case EBUSY:
        return OpenFailure::Busy;
    case ENOTTY:
        return OpenFailure::NotSerial;
    default:
        return OpenFailure::Other;
    }
}

// One device held by this process. The device-protocol port and the Modbus port may hold the same
// device at once; a second open() of it would be refused by our own lock (flock is per open file
// description) and by TIOCEXCL, so the second port takes a duplicate of the first one's
// descriptor instead. The anchor keeps the open file description, its lock and the exclusive mode
// until the last port lets go.
struct HeldDevice {
    dev_t device;
    ino_t inode;
    int anchor;
    int ports;
    bool exclusiveSetHere; // only then is TIOCEXCL cleared again: another program's stays
    LowLatency lowLatency;
    bool lowLatencySetHere; // only then is the driver's mode put back at the release
    QByteArray network;     // the name of a line over the network, else empty
};

std::mutex heldMutex;
std::vector<HeldDevice> held;

DeviceKey identity(const struct stat& st) {
    // A character device is one device whatever node or link names it.
    return S_ISCHR(st.st_mode) ? DeviceKey{st.st_rdev, 0, {}} : DeviceKey{st.st_dev, st.st_ino, {}};
}

std::vector<HeldDevice>::iterator findHeld(const DeviceKey& key) {
    for (auto it = held.begin(); it != held.end(); ++it)
        if (it->device == key.device && it->inode == key.inode && it->network == key.network)
            return it;
    return held.end();
}

// Asks the driver to hand received bytes on at once instead of at its latency timer. A driver
// without the mode refuses the request or ignores it; either is only reported, never an error.
LowLatency requestLowLatency(int fd, bool& setHere) {
    setHere = false;
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return LowLatency::Unsupported;
    if (serial.flags & ASYNC_LOW_LATENCY)
        return LowLatency::On;
    serial.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &serial) != 0)
        return LowLatency::Unsupported;
    serial_struct check{};
    if (::ioctl(fd, TIOCGSERIAL, &check) != 0 || !(check.flags & ASYNC_LOW_LATENCY))
        return LowLatency::Unsupported;
    setHere = true;
    return LowLatency::On;
}

LowLatency heldLowLatency(const DeviceKey& key) {
    std::lock_guard lock(heldMutex);
    const auto it = findHeld(key);
    return it == held.end() ? LowLatency::Unknown : it->lowLatency;
}

// Lets go of one port's share of a held device; the last one purges the line, clears the exclusive
// mode it set and closes the anchor, which releases the lock.
void releaseHeld(const DeviceKey& key) {
    std::lock_guard lock(heldMutex);
    const auto it = findHeld(key);
    if (it == held.end() || --it->ports > 0)
        return;
    ::tcflush(it->anchor, TCIFLUSH);
    ::tcflush(it->anchor, TCOFLUSH);
    if (it->exclusiveSetHere)
        ::ioctl(it->anchor, TIOCNXCL);
    if (it->lowLatencySetHere) {
        serial_struct serial{};
        if (::ioctl(it->anchor, TIOCGSERIAL, &serial) == 0) {
            serial.flags &= ~ASYNC_LOW_LATENCY;
            ::ioctl(it->anchor, TIOCSSERIAL, &serial);
        }
    }
    ::close(it->anchor);
    held.erase(it);
}

} // namespace

PosixSerialPort::~PosixSerialPort() {
    users_ = 1;
    close();
}

uint32_t PosixSerialPort::fail(uint32_t bits, int err) {
    openFailure_ = classify(err);
    openFailureText_ = QString::fromLocal8Bit(std::strerror(err));
    lastError_ = bits;
    return bits;
}

int PosixSerialPort::acquire(const QByteArray& path, DeviceKey& key, int& err) {
    std::lock_guard lock(heldMutex);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0) {
        key = identity(st);
        const auto it = findHeld(key);
        if (it != held.end()) {
            const int fd = ::fcntl(it->anchor, F_DUPFD_CLOEXEC, 0);
            if (fd < 0) {
                err = errno;
                return -1;
            }
            ++it->ports;
            return fd;
        }
    }
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    // Another process of ours (or any program that locks the same way) holds the device: refuse
    // rather than read replies meant for it. Where the file system has no locks, go on without.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        err = EBUSY;
        return -1;
    }
    // Exclusive mode keeps programs that do not lock out too; a driver may refuse it. When it is
    // already on, it belongs to someone else and stays as it is.
    int exclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &exclusive) != 0)
        exclusive = 0;
    const bool setHere = !exclusive && ::ioctl(fd, TIOCEXCL) == 0;
    const int anchor = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (::fstat(fd, &st) != 0 || anchor < 0) {
        err = errno;
        if (setHere)
            ::ioctl(fd, TIOCNXCL);
        if (anchor >= 0)
            ::close(anchor);
        ::close(fd);
        return -1;
    }
    key = identity(st);
    bool lowLatencySetHere = false;
    const LowLatency lowLatency = requestLowLatency(fd, lowLatencySetHere);
    held.push_back({key.device, key.inode, anchor, 1, setHere, lowLatency, lowLatencySetHere, {}});
    return fd;
}

int PosixSerialPort::acquireNetwork(const QString& name, DeviceKey& key, int& err, QString& reason) {
    key = DeviceKey{0, 0, name.toUtf8()};
    std::lock_guard lock(heldMutex);
    const auto it = findHeld(key);
    if (it != held.end()) {
        const int fd = ::fcntl(it->anchor, F_DUPFD_CLOEXEC, 0);
        if (fd < 0) {
            err = errno;
            reason = QString::fromLocal8Bit(std::strerror(err));
            return -1;
        }
        ++it->ports;
        return fd;
    }
    const std::optional<NetworkAddress> address = parseNetworkPort(name);
    if (!address) {
        err = EINVAL;
        reason = QStringLiteral("ожидается tcp://УЗЕЛ:ПОРТ");
        return -1;
    }
    const int fd = connectNetworkPort(*address, kNetworkConnectTimeoutMs, err, reason);
    if (fd < 0)
        return -1;
    const int anchor = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (anchor < 0) {
        err = errno;
        reason = QString::fromLocal8Bit(std::strerror(err));
        ::close(fd);
        return -1;
    }
    // Nagle's delay is off on the socket: what low latency is to an adapter's driver.
    held.push_back({0, 0, anchor, 1, false, LowLatency::On, false, key.network});
    return fd;
}

uint32_t PosixSerialPort::open(const QString& deviceName, const LineSettings& line) {
    lastError_ = PortOk;
    openFailure_ = OpenFailure::None;
    openFailureText_.clear();
    if (fd_ >= 0) {
        // One handle per port: a second user of the same device joins it, another device is refused.
        if (deviceName != name_)
            return fail(role_ == PortRole::Modbus ? PortErrOpenDevice : PortErrGetState, EBUSY);
        const uint32_t r = configure(line);
        if (r == PortOk)
            ++users_;
        return r;
    }
    int err = 0;
    const bool network = isNetworkPort(deviceName);
    QString reason;
    const int fd = network ? acquireNetwork(deviceName, key_, err, reason)
                           : acquire(localPathBytes(deviceName), key_, err);
    if (fd < 0) {
        // The device-protocol port does not test the open itself: its failure surfaces at the
        // first configuration step.
        const uint32_t bits = fail(role_ == PortRole::Modbus ? PortErrOpenDevice : PortErrGetState, err);
        if (network)
            openFailureText_ = reason;
        return bits;
    }
    fd_ = fd;
    name_ = deviceName;
    network_ = network;
    networkLatencyMs_ = network ? networkLatencyMs() : 0;
    // Over the network the line settings are the device server's own.
    const uint32_t r = network ? PortOk : configure(line);
    if (r != PortOk) {
        // Release what the failed open took, so the device stays usable for the next attempt.
        releaseHeld(key_);
        ::close(fd_);
        fd_ = -1;
        name_.clear();
        return r;
    }
    users_ = 1;
    lowLatency_ = heldLowLatency(key_);
    return PortOk;
}

namespace {

// The slave side of a Unix 98 pseudo-terminal (/dev/pts/N): device majors 136..143 on Linux.
bool isPseudoTerminal(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

} // namespace

uint32_t PosixSerialPort::configure(const LineSettings& line) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return fail(PortErrGetState, errno);
    speed_t speed;
    if (!speedFor(line.baudRate, speed))
        return fail(PortErrSetState, EINVAL);
    const bool inputParityCheck = tio.c_iflag & INPCK;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (line.parity != 0) {
        tio.c_cflag |= PARENB;
        if (line.parity == 1)
            tio.c_cflag |= PARODD;
        tio.c_iflag |= INPCK;
    } else if (role_ == PortRole::Zarnet && inputParityCheck) {
        // The device-protocol port only ever switches the check on; it stays as the driver had it.
        tio.c_iflag |= INPCK;
    }
    if (line.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        const int err = errno;
        // A pseudo-terminal carries bytes, not bits: its driver refuses parity it cannot have (from
        // its second setting on). The line still works there without it (the demo, vextor-sim, a
        // network bridge); a real adapter keeps the strict check.
        if (err != EINVAL || line.parity == 0 || !isPseudoTerminal(fd_))
            return fail(PortErrSetState, err);
        tio.c_cflag &= ~(PARENB | PARODD);
        tio.c_iflag &= ~INPCK;
        if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
            return fail(PortErrSetState, errno);
    }
    // Queue sizes, time-outs and the event mask have no separate driver step here: the time-outs
    // live in this object and are applied by read().
    return PortOk;
}

bool PosixSerialPort::close() {
    if (fd_ < 0)
        return false;
    if (users_ > 1) {
        --users_;
        return true;
    }
    releaseHeld(key_);
    // The descriptor is gone whatever close() reports (on Linux it is released even on EINTR and
    // EIO): keeping it would make the next open join a dead handle or close a number reused since.
    const bool closed = ::close(fd_) == 0 || errno == EINTR;
    fd_ = -1;
    users_ = 0;
    name_.clear();
    network_ = false;
    networkLatencyMs_ = 0;
    return closed;
}

void PosixSerialPort::purge() {
    if (fd_ < 0)
        return;
    if (network_) {
        // A socket has no queue to flush: what arrived is read and dropped.
        uint8_t scrap[256];
        while (::recv(fd_, scrap, sizeof scrap, MSG_DONTWAIT) > 0) {
        }
        return;
    }
    ::tcflush(fd_, TCIFLUSH);
    ::tcflush(fd_, TCOFLUSH);
}

bool PosixSerialPort::write(const uint8_t* data, size_t count) {
    if (fd_ < 0)
        return false;
    size_t done = 0;
    while (done < count) {
        // A peer that closed the connection fails the write (EPIPE) instead of ending the process.
        const ssize_t n = network_ ? ::send(fd_, data + done, count - done, MSG_NOSIGNAL)
                                   : ::write(fd_, data + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return false;
            continue;
        }
        return false;
    }
    return true;
}

size_t PosixSerialPort::read(uint8_t* data, size_t count) {
    if (fd_ < 0 || count == 0)
        return 0;
    Clock& c = systemClock(); // real time: this is the wire
    const int64_t start = c.nowMs();
    // Over the network a reply's bytes come later, and may come in parts, by the network's latency.
    const int64_t deadline =
        start + timeouts_.constant + networkLatencyMs_ + int64_t(timeouts_.multiplier) * int64_t(count);
    const int64_t interval = timeouts_.interval > 0 ? int64_t(timeouts_.interval) + networkLatencyMs_ : 0;
    size_t got = 0;
    int64_t lastByte = 0;
    while (got < count) {
        const int64_t now = c.nowMs();
        int64_t wait = deadline - now;
        if (got > 0 && interval > 0)
            wait = std::min<int64_t>(wait, lastByte + interval - now);
        if (wait <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(wait));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (r == 0)
            continue; // the loop re-evaluates both time-outs
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(fd_, data + got, count - got);
            if (n > 0) {
                got += static_cast<size_t>(n);
                lastByte = c.nowMs();
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
        }
        // A hang-up or error: nothing more will come before the time-out, so do not spin on it.
        const int64_t rest = (got > 0 ? std::min(deadline, lastByte + interval) : deadline) - c.nowMs();
        if (rest > 0)
            ::poll(nullptr, 0, static_cast<int>(std::min<int64_t>(rest, 10)));
    }
    return got;
}

} // namespace vextor
