#include "SimSlave.h"

#include "link/ZarnetLink.h"

#include <algorithm>

namespace vextor::sim {

SimSlave::SimSlave(uint8_t address, uint32_t seed)
    : address_(address), memory_(kMemorySize, 0), channels_(seed ^ (static_cast<uint32_t>(address) << 24)) {}

Bytes SimSlave::frame(const Bytes& body) const {
    // Sized once rather than appended to: GCC 12 misreads appending to a vector built from a short list.
    Bytes f(body.size() + 3);
    f[0] = address_;
    f[1] = static_cast<uint8_t>(body.size() + 2);
    std::copy(body.begin(), body.end(), f.begin() + 2);
    f.back() = ZarnetCrc8(f.data(), f.size() - 1);
    return f;
}

Bytes SimSlave::handle(const Bytes& inner, int64_t nowMs) {
    const Bytes refused{InnerRefused, 0x00};
    if (inner.size() < 2)
        return frame(refused);
    const uint8_t command = inner[1];
    auto memoryAddress = [&] {
        return static_cast<uint32_t>(inner[2]) | (static_cast<uint32_t>(inner[3] & 0x0F) << 8) |
               (static_cast<uint32_t>(inner[4]) << 16);
    };
    switch (command) {
    case InnerReadMemory: {
        if (inner.size() < 6)
            return frame(refused);
        const uint32_t address = memoryAddress();
        const uint8_t count = inner[5];
        // address, length, code, count byte, data, CRC
        if (count == 0 || size_t(count) + 5 > kMaxInnerFrame || address + count > kMemorySize)
            return frame(refused);
        Bytes body(2 + size_t(count));
        body[0] = InnerReadMemoryReply;
        body[1] = count;
        std::copy_n(memory_.begin() + address, count, body.begin() + 2);
        return frame(body);
    }
    case InnerWriteMemory: {
        if (inner.size() < 6)
            return frame(refused);
        const uint32_t address = memoryAddress();
        const size_t count = inner.size() - 5;
        if (address + count > kMemorySize)
            return frame({InnerWriteMemoryReply, 0x01, 0x00});
        std::copy(inner.begin() + 5, inner.end(), memory_.begin() + address);
        return frame({InnerWriteMemoryReply, 0x00, 0x00});
    }
    case InnerReadChannels: {
        if (inner.size() < 5 || !SimChannels::knownGroup(inner[2], inner[3]))
            return frame(refused);
        Bytes body{InnerReadChannelsReply, inner[2]};
        channels_.appendRecords(inner[2], inner.data() + 5, inner.size() - 5, nowMs, kMaxInnerFrame - 5,
                                body);
        return frame(body);
    }
    case InnerSetOutput: {
        if (inner.size() >= 8 && inner[3] == 0x80) {
            if (!channels_.setAnalogOutput(inner[2], floatAt(&inner[4])))
                return frame(refused);
            return frame({InnerSetOutputReply, inner[2], 0x80});
        }
        if (inner.size() < 4 || !channels_.setDiscreteOutput(inner[2], (inner[3] & 1) != 0))
            return frame(refused);
        return frame({InnerSetOutputReply, inner[2], inner[3]});
    }
    default:
        return frame(refused);
    }
}

} // namespace vextor::sim
