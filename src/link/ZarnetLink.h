#pragma once
// The Zarnet frame and its one transaction primitive: build a request, send it, read exactly one
// reply frame (its end is found only from its length byte), check address and CRC, unscramble.
#include "FrameTap.h"
#include "SerialPort.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace vextor {

inline constexpr size_t kFrameBufferSize = 256;

uint8_t ZarnetCrc8(const uint8_t* data, size_t count);

class ZarnetLink {
public:
    explicit ZarnetLink(SerialPort* port = nullptr);

    void setPort(SerialPort* port) { port_ = port; }
    SerialPort* port() const { return port_; }
    // Every frame sent and received goes to the tap as well; nullptr (the default) for none.
    void setTap(FrameTap* tap) { tap_ = tap; }

    uint8_t DeviceAddress = 1;
    uint8_t SessionKey = 0;
    uint8_t Nonce = 0;
    std::array<uint8_t, kFrameBufferSize> TxBuffer{};
    uint32_t TxLength = 0;
    std::array<uint8_t, kFrameBufferSize> RxBuffer{};
    uint32_t RxLength = 0;
    uint32_t LastError = 0;
    uint8_t DeviceType = 0;
    uint16_t FirmwareVersion = 0;
    uint8_t FirmwareBuild = 0;

    // The request nonce and session keys come from here; seeded once, replaceable by tests.
    std::function<uint8_t()> randomByte;

    // Fills TxBuffer with address, length, a fresh nonce, the payload and the CRC. False when the
    // payload would not fit a 256-byte frame.
    bool buildRequest(const uint8_t* payload, size_t count);
    // Purge, send TxLength bytes and, unless RxLength is 0, read one reply frame. 512 on a short
    // reply, a zero length byte or a frame that would not fit the buffer.
    bool ZarnetExchange();
    // Address, CRC on the bytes as received, then unscrambling with SessionKey ^ Nonce.
    bool ZarnetCheckReply(uint8_t expectedAddress);

    // buildRequest + ZarnetExchange + ZarnetCheckReply(expectedAddress); expectReply false sends only.
    bool transact(const uint8_t* payload, size_t count, bool expectReply, uint8_t expectedAddress);
    bool transact(std::initializer_list<uint8_t> payload, bool expectReply = true) {
        return transact(payload.begin(), payload.size(), expectReply, DeviceAddress);
    }

    // Statistics of this link since construction (exchanges, failures, bytes each way).
    struct Stats {
        uint64_t exchanges = 0, failures = 0, bytesOut = 0, bytesIn = 0;
    } stats;

private:
    SerialPort* port_;
    FrameTap* tap_ = nullptr;
    void tapReply(size_t count, FrameVerdict verdict);
    const char* requestName() const;
};

} // namespace vextor
