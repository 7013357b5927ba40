#include "ZarnetLink.h"

#include <algorithm>
#include <random>

namespace vextor {
namespace {

// The line's CRC-8 table. It is part of the wire format and stored as it is: entry 0xF9 differs
// from the table the polynomial would give (0xFC instead of 0xE8), and the controllers check with
// this one.
constexpr uint8_t kCrcTable[256] = {
    0x00, 0x5E, 0xBC, 0xE2, 0x61, 0x3F, 0xDD, 0x83, 0xC2, 0x9C, 0x7E, 0x20, 0xA3, 0xFD, 0x1F, 0x41,
    0x9D, 0xC3, 0x21, 0x7F, 0xFC, 0xA2, 0x40, 0x1E, 0x5F, 0x01, 0xE3, 0xBD, 0x3E, 0x60, 0x82, 0xDC,
    0x23, 0x7D, 0x9F, 0xC1, 0x42, 0x1C, 0xFE, 0xA0, 0xE1, 0xBF, 0x5D, 0x03, 0x80, 0xDE, 0x3C, 0x62,
    0xBE, 0xE0, 0x02, 0x5C, 0xDF, 0x81, 0x63, 0x3D, 0x7C, 0x22, 0xC0, 0x9E, 0x1D, 0x43, 0xA1, 0xFF,
    0x46, 0x18, 0xFA, 0xA4, 0x27, 0x79, 0x9B, 0xC5, 0x84, 0xDA, 0x38, 0x66, 0xE5, 0xBB, 0x59, 0x07,
    0xDB, 0x85, 0x67, 0x39, 0xBA, 0xE4, 0x06, 0x58, 0x19, 0x47, 0xA5, 0xFB, 0x78, 0x26, 0xC4, 0x9A,
    0x65, 0x3B, 0xD9, 0x87, 0x04, 0x5A, 0xB8, 0xE6, 0xA7, 0xF9, 0x1B, 0x45, 0xC6, 0x98, 0x7A, 0x24,
    0xF8, 0xA6, 0x44, 0x1A, 0x99, 0xC7, 0x25, 0x7B, 0x3A, 0x64, 0x86, 0xD8, 0x5B, 0x05, 0xE7, 0xB9,
    0x8C, 0xD2, 0x30, 0x6E, 0xED, 0xB3, 0x51, 0x0F, 0x4E, 0x10, 0xF2, 0xAC, 0x2F, 0x71, 0x93, 0xCD,
    0x11, 0x4F, 0xAD, 0xF3, 0x70, 0x2E, 0xCC, 0x92, 0xD3, 0x8D, 0x6F, 0x31, 0xB2, 0xEC, 0x0E, 0x50,
    0xAF, 0xF1, 0x13, 0x4D, 0xCE, 0x90, 0x72, 0x2C, 0x6D, 0x33, 0xD1, 0x8F, 0x0C, 0x52, 0xB0, 0xEE,
    0x32, 0x6C, 0x8E, 0xD0, 0x53, 0x0D, 0xEF, 0xB1, 0xF0, 0xAE, 0x4C, 0x12, 0x91, 0xCF, 0x2D, 0x73,
    0xCA, 0x94, 0x76, 0x28, 0xAB, 0xF5, 0x17, 0x49, 0x08, 0x56, 0xB4, 0xEA, 0x69, 0x37, 0xD5, 0x8B,
    0x57, 0x09, 0xEB, 0xB5, 0x36, 0x68, 0x8A, 0xD4, 0x95, 0xCB, 0x29, 0x77, 0xF4, 0xAA, 0x48, 0x16,
    0xE9, 0xB7, 0x55, 0x0B, 0x88, 0xD6, 0x34, 0x6A, 0x2B, 0x75, 0x97, 0xC9, 0x4A, 0x14, 0xF6, 0xA8,
    0x74, 0x2A, 0xC8, 0x96, 0x15, 0x4B, 0xA9, 0xF7, 0xB6, 0xFC, 0x0A, 0x54, 0xD7, 0x89, 0x6B, 0x35,
};

uint8_t seededRandomByte() {
    static std::mt19937 generator{std::random_device{}()};
    return static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(generator));
}

} // namespace

uint8_t ZarnetCrc8(const uint8_t* data, size_t count) {
    uint8_t crc = 0;
    for (size_t i = 0; i < count; ++i)
        crc = kCrcTable[crc ^ data[i]];
    return crc;
}

ZarnetLink::ZarnetLink(SerialPort* port) : randomByte(seededRandomByte), port_(port) {}

bool ZarnetLink::buildRequest(const uint8_t* payload, size_t count) {
    // address, length, nonce, payload, CRC
    if (count == 0 || count + 4 > kFrameBufferSize)
        return false;
    Nonce = randomByte();
    TxLength = static_cast<uint32_t>(count + 4);
    TxBuffer[0] = DeviceAddress & 0x7F;
    TxBuffer[1] = static_cast<uint8_t>(TxLength - 1);
    TxBuffer[2] = Nonce;
    std::copy_n(payload, count, TxBuffer.begin() + 3);
    TxBuffer[TxLength - 1] = ZarnetCrc8(TxBuffer.data(), TxLength - 1);
    return true;
}

bool ZarnetLink::ZarnetExchange() {
    if (!port_ || !port_->isOpen()) {
        LastError = PortErrReplyRead;
        return false;
    }
    ++stats.exchanges;
    port_->purge();
    if (TxLength > 0) {
        const uint32_t n = std::min<uint32_t>(TxLength, kFrameBufferSize);
        if (!port_->write(TxBuffer.data(), n)) {
            LastError = PortErrReplyRead;
            ++stats.failures;
            return false;
        }
        stats.bytesOut += n;
        if (tap_)
            tap_->sent(TxBuffer.data(), n, requestName(), TxBuffer[3]);
    }
    if (RxLength == 0)
        return true;
    auto fail = [this](size_t received, FrameVerdict verdict) {
        LastError = PortErrReplyRead;
        port_->setLastError(PortErrReplyRead);
        ++stats.failures;
        if (tap_)
            tapReply(received, verdict);
        return false;
    };
    RxLength = 0;
    const size_t head = port_->read(RxBuffer.data(), 2);
    stats.bytesIn += head;
    if (head < 2)
        return fail(head, head == 0 ? FrameVerdict::NoReply : FrameVerdict::Short);
    // A zero length byte would ask for 65535 more bytes, and a frame longer than the buffer cannot
    // be a reply of ours: both are failed reads, and nothing is written past the buffer.
    const size_t rest = static_cast<size_t>(RxBuffer[1]) - 1;
    if (RxBuffer[1] == 0 || rest + 2 > kFrameBufferSize)
        return fail(head, FrameVerdict::BadLength);
    const size_t got = rest ? port_->read(RxBuffer.data() + 2, rest) : 0;
    stats.bytesIn += got;
    if (got != rest)
        return fail(head + got, FrameVerdict::Short);
    RxLength = static_cast<uint32_t>(rest + 2);
    return true;
}

bool ZarnetLink::ZarnetCheckReply(uint8_t expectedAddress) {
    if (RxLength < 2 || RxLength > kFrameBufferSize)
        return false;
    FrameVerdict verdict = FrameVerdict::Good;
    if ((RxBuffer[0] & 0x7F) != expectedAddress)
        verdict = FrameVerdict::WrongAddress;
    else if (ZarnetCrc8(RxBuffer.data(), RxLength - 1) != RxBuffer[RxLength - 1])
        verdict = FrameVerdict::BadCrc;
    // The tap sees the reply as it came, before the data bytes are unscrambled.
    if (tap_)
        tapReply(RxLength, verdict);
    if (verdict != FrameVerdict::Good)
        return false;
    const uint8_t key = (RxBuffer[0] & 0x80) ? static_cast<uint8_t>(SessionKey ^ Nonce) : 0;
    if (RxLength >= 4)
        for (uint32_t i = 2; i <= RxLength - 2; ++i)
            RxBuffer[i] ^= key;
    return true;
}

void ZarnetLink::tapReply(size_t count, FrameVerdict verdict) {
    // The reply is named after the request still in the send buffer; bit 7 of its address byte
    // marks a reply of a session with a key.
    tap_->received(RxBuffer.data(), count, requestName(), TxBuffer[3], verdict,
                   count > 0 && (RxBuffer[0] & 0x80));
}

const char* ZarnetLink::requestName() const {
    // address, length, nonce, payload, CRC
    return TxLength > 4 ? zarnetCommandName(TxBuffer.data() + 3, TxLength - 4) : nullptr;
}

bool ZarnetLink::transact(const uint8_t* payload, size_t count, bool expectReply, uint8_t expectedAddress) {
    if (!buildRequest(payload, count))
        return false;
    RxLength = expectReply ? 1 : 0;
    if (!ZarnetExchange())
        return false;
    if (!expectReply)
        return true;
    if (!ZarnetCheckReply(expectedAddress)) {
        ++stats.failures;
        return false;
    }
    return true;
}

} // namespace vextor
