#pragma once
// A device on a controller's slave line, reached through the controller's transit service. It
// speaks the inner frames the controller relays: address, length, code, data, CRC, with no nonce.
#include "SimChannels.h"
#include "SimTypes.h"

#include <cstdint>
#include <optional>

namespace vextor::sim {

enum InnerCode : uint8_t {
    InnerReadMemory = 0x43,
    InnerReadMemoryReply = 0x44,
    InnerWriteMemory = 0x41,
    InnerWriteMemoryReply = 0x42,
    InnerReadChannels = 0x57,
    InnerReadChannelsReply = 0x58,
    InnerSetOutput = 0x15,
    InnerSetOutputReply = 0x16,
    InnerRefused = 0x0A, // the request was understood but cannot be served
};

class SimSlave {
public:
    // Twelve address bits reach a slave's memory (the upper four bits of the middle byte are 0).
    static constexpr uint32_t kMemorySize = 4096;
    // The longest inner reply that still fits a fetch reply of the controller.
    static constexpr size_t kMaxInnerFrame = 252;

    SimSlave(uint8_t address, uint32_t seed);

    uint8_t address() const { return address_; }
    const Bytes& memory() const { return memory_; }
    const SimChannels& channels() const { return channels_; }

    // The reply frame to an inner request (slave address, command, arguments), CRC included.
    Bytes handle(const Bytes& inner, int64_t nowMs);

private:
    Bytes frame(const Bytes& body) const;

    uint8_t address_;
    Bytes memory_;
    SimChannels channels_;
};

} // namespace vextor::sim
