#include "PosixSerialPort.h"

#include "Hooks.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

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
    const QByteArray path = deviceName.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // The device-protocol port does not test the open itself: its failure surfaces at the
        // first configuration step.
        return fail(role_ == PortRole::Modbus ? PortErrOpenDevice : PortErrGetState, errno);
    }
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        // Exclusive use is a wish, not a requirement: some drivers refuse it.
    }
    fd_ = fd;
    name_ = deviceName;
    const uint32_t r = configure(line);
    if (r != PortOk) {
        // Release what the failed open took, so the device stays usable for the next attempt.
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
        name_.clear();
        return r;
    }
    users_ = 1;
    return PortOk;
}

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
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
        return fail(PortErrSetState, errno);
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
    ::tcflush(fd_, TCIFLUSH);
    ::tcflush(fd_, TCOFLUSH);
    ::ioctl(fd_, TIOCNXCL);
    if (::close(fd_) != 0 && errno != EINTR)
        return false;
    fd_ = -1;
    users_ = 0;
    name_.clear();
    return true;
}

void PosixSerialPort::purge() {
    if (fd_ < 0)
        return;
    ::tcflush(fd_, TCIFLUSH);
    ::tcflush(fd_, TCOFLUSH);
}

bool PosixSerialPort::write(const uint8_t* data, size_t count) {
    if (fd_ < 0)
        return false;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, data + done, count - done);
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
    const int64_t deadline = start + timeouts_.constant + int64_t(timeouts_.multiplier) * int64_t(count);
    size_t got = 0;
    int64_t lastByte = 0;
    while (got < count) {
        const int64_t now = c.nowMs();
        int64_t wait = deadline - now;
        if (got > 0 && timeouts_.interval > 0)
            wait = std::min<int64_t>(wait, lastByte + timeouts_.interval - now);
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
        const int64_t rest =
            (got > 0 ? std::min(deadline, lastByte + int64_t(timeouts_.interval)) : deadline) - c.nowMs();
        if (rest > 0)
            ::poll(nullptr, 0, static_cast<int>(std::min<int64_t>(rest, 10)));
    }
    return got;
}

} // namespace vextor
