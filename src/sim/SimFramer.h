#pragma once
// Cuts the byte stream from the master into request frames. A device-protocol frame ends where its
// length byte says (and must carry a good CRC); a Modbus frame ends at the known length of its
// function or, for other functions, at the silence after it. Bytes that cannot become a frame are
// thrown away, so a garbled request never spoils the next one.
#include "SimTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vextor::sim {

enum class FrameKind { Zarnet, Modbus };

struct Frame {
    FrameKind kind;
    Bytes bytes;
};

class SimFramer {
public:
    // A gap this long ends a Modbus frame of unknown length and throws away a partial frame.
    static constexpr int64_t kSilenceMs = 20;

    // Which protocols the devices on the line speak right now.
    void setProtocols(bool zarnet, bool modbus) {
        zarnet_ = zarnet;
        modbus_ = modbus;
    }

    void feed(const uint8_t* data, size_t count, int64_t nowMs);
    // Frames completed so far, in order.
    std::vector<Frame> take(int64_t nowMs);
    // When take() must be called again to act on a silence; nothing when no bytes are pending.
    std::optional<int64_t> deadline() const;
    bool hasFrames() const { return !ready_.empty(); }
    // Bytes thrown away since the start (for the log).
    size_t discarded() const { return discarded_; }
    size_t pending() const { return buffer_.size(); }

private:
    bool zarnetFrameAt(size_t& length, bool& possible) const;
    bool modbusFrameAt(size_t& length, bool& possible) const;

    Bytes buffer_;
    std::vector<Frame> ready_; // frames ended by a silence noticed only when the next bytes came
    int64_t lastByteMs_ = 0;
    bool zarnet_ = true;
    bool modbus_ = false;
    size_t discarded_ = 0;
};

// The length of a Modbus request of a known function, or nothing when it must be told by silence
// (or more bytes are needed to know it).
std::optional<size_t> modbusRequestLength(const Bytes& b);

} // namespace vextor::sim
