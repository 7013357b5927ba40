#include "FakeSerialPort.h"

#include "link/ZarnetLink.h"

#include <algorithm>

namespace vextor::testing {

uint32_t FakeSerialPort::open(const QString& name, const LineSettings& l) {
    if (!openResult) {
        lastError_ = role_ == PortRole::Modbus ? PortErrOpenDevice : PortErrGetState;
        openFailure_ = OpenFailure::NotFound;
        return lastError_;
    }
    name_ = name;
    line = l;
    open_ = true;
    lastError_ = PortOk;
    return PortOk;
}

bool FakeSerialPort::close() {
    if (!open_)
        return false;
    open_ = false;
    return true;
}

void FakeSerialPort::purge() {
    ++purges;
    pending_.clear();
}

bool FakeSerialPort::write(const uint8_t* data, size_t count) {
    Bytes request(data, data + count);
    writes.push_back(request);
    if (responder) {
        pending_ = responder(request);
    } else if (!replies.empty()) {
        pending_ = replies.front();
        replies.pop_front();
    } else {
        pending_.clear();
    }
    return true;
}

size_t FakeSerialPort::read(uint8_t* data, size_t count) {
    size_t n = std::min(count, pending_.size());
    std::copy_n(pending_.begin(), n, data);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(n));
    return n;
}

Bytes withZarnetCrc(Bytes frame) {
    frame.push_back(ZarnetCrc8(frame.data(), frame.size()));
    return frame;
}

Bytes zarnetReply(uint8_t address, uint8_t code, const Bytes& data) {
    Bytes f{address, static_cast<uint8_t>(data.size() + 3), code};
    f.insert(f.end(), data.begin(), data.end());
    return withZarnetCrc(f);
}

} // namespace vextor::testing
