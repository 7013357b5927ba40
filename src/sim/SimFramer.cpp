#include "SimFramer.h"

#include "link/ModbusMaster.h"
#include "link/ZarnetLink.h"

namespace vextor::sim {

namespace {
constexpr size_t kMinZarnetFrame = 5;
constexpr size_t kMinModbusFrame = 4;

bool modbusCrcOk(const uint8_t* b, size_t n) {
    return n >= kMinModbusFrame && ModbusCrc16(b, n - 2) == (b[n - 2] | (b[n - 1] << 8));
}
} // namespace

std::optional<size_t> modbusRequestLength(const Bytes& b) {
    if (b.size() < 2)
        return std::nullopt;
    switch (b[1]) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
        return 8;
    case 0x07:
    case 0x11:
        return 4;
    case 0x0F:
    case 0x10:
        if (b.size() < 7)
            return std::nullopt;
        return size_t(9) + b[6];
    default:
        return std::nullopt;
    }
}

void SimFramer::feed(const uint8_t* data, size_t count, int64_t nowMs) {
    if (count == 0)
        return;
    // A partial frame followed by a pause is a leftover (a master that gave up), not the start of
    // what comes next.
    if (!buffer_.empty() && nowMs - lastByteMs_ >= kSilenceMs) {
        std::vector<Frame> done = take(nowMs);
        ready_.insert(ready_.end(), done.begin(), done.end());
    }
    buffer_.insert(buffer_.end(), data, data + count);
    lastByteMs_ = nowMs;
}

bool SimFramer::zarnetFrameAt(size_t& length, bool& possible) const {
    possible = false;
    if (!zarnet_)
        return false;
    if (buffer_.size() < 2) {
        possible = true;
        return false;
    }
    length = size_t(buffer_[1]) + 1;
    if (length < kMinZarnetFrame || (buffer_[0] & 0x80))
        return false;
    if (buffer_.size() < length) {
        possible = true;
        return false;
    }
    return ZarnetCrc8(buffer_.data(), length - 1) == buffer_[length - 1];
}

bool SimFramer::modbusFrameAt(size_t& length, bool& possible) const {
    possible = false;
    if (!modbus_)
        return false;
    const std::optional<size_t> known = modbusRequestLength(buffer_);
    if (!known) {
        possible = true; // decided by the silence
        return false;
    }
    length = *known;
    if (buffer_.size() < length) {
        possible = true;
        return false;
    }
    return modbusCrcOk(buffer_.data(), length);
}

std::vector<Frame> SimFramer::take(int64_t nowMs) {
    std::vector<Frame> frames;
    frames.swap(ready_);
    while (!buffer_.empty()) {
        size_t length = 0;
        bool zarnetPossible = false, modbusPossible = false;
        FrameKind kind;
        if (zarnetFrameAt(length, zarnetPossible)) {
            kind = FrameKind::Zarnet;
        } else if (modbusFrameAt(length, modbusPossible)) {
            kind = FrameKind::Modbus;
        } else if (nowMs - lastByteMs_ >= kSilenceMs) {
            if (modbus_ && modbusCrcOk(buffer_.data(), buffer_.size())) {
                frames.push_back(Frame{FrameKind::Modbus, buffer_});
            } else {
                discarded_ += buffer_.size();
            }
            buffer_.clear();
            break;
        } else if (!zarnetPossible && !modbusPossible) {
            discarded_ += buffer_.size();
            buffer_.clear();
            break;
        } else {
            break; // wait for more bytes or for the silence
        }
        frames.push_back(Frame{kind, Bytes(buffer_.begin(), buffer_.begin() + static_cast<long>(length))});
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(length));
    }
    return frames;
}

std::optional<int64_t> SimFramer::deadline() const {
    if (buffer_.empty())
        return std::nullopt;
    return lastByteMs_ + kSilenceMs;
}

} // namespace vextor::sim
