#include "ModbusMaster.h"

#include "ModbusParams.h"

#include <algorithm>
#include <cstring>

namespace vextor {

uint16_t ModbusCrc16(const uint8_t* data, size_t count) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

namespace {
constexpr size_t kMaxReply = 128;
constexpr size_t kReplyHead = 3; // address, function, byte count or first data byte

// The length of a reply that its first three bytes give, or 0 when only the silence after it tells.
size_t knownReplyLength(uint8_t function, uint8_t third) {
    if (function & 0x80)
        return 5; // an exception: address, function, code, CRC
    if (function == kModbusReadHolding)
        return 5 + size_t(third);
    if (function == kModbusWriteSingle)
        return 8;
    return 0;
}
} // namespace

size_t ModbusMaster::readReply() {
    // The wait for the first bytes is the one the whole reply had: a slow slave is not cut short.
    const ReadTimeouts usual = port_->timeouts();
    ReadTimeouts head = usual;
    head.constant += usual.multiplier * uint32_t(kMaxReply - kReplyHead);
    port_->setTimeouts(head);
    size_t got = port_->read(RxBuffer.data(), kReplyHead);
    port_->setTimeouts(usual);
    if (got < kReplyHead)
        return got;
    // Where the function code gives the length, the reply is complete as soon as it is all in; any
    // other reply ends at the silence after it, as the line's framing says.
    const size_t known = std::min(knownReplyLength(RxBuffer[1], RxBuffer[2]), kMaxReply);
    const size_t rest = known > kReplyHead ? known - kReplyHead : kMaxReply - kReplyHead;
    return got + port_->read(RxBuffer.data() + kReplyHead, rest);
}

FrameVerdict ModbusMaster::replyVerdict(uint8_t expectedAddress) const {
    if (RxCount == 0)
        return FrameVerdict::NoReply;
    if (RxCount <= 4)
        return FrameVerdict::Short;
    const size_t known = std::min(knownReplyLength(RxBuffer[1], RxBuffer[2]), kMaxReply);
    if (RxCount < known)
        return FrameVerdict::Short;
    if (RxBuffer[0] != expectedAddress)
        return FrameVerdict::WrongAddress;
    const uint32_t m = RxCount - 2;
    if (ModbusCrc16(RxBuffer.data(), m) != (RxBuffer[m] | (RxBuffer[m + 1] << 8)))
        return FrameVerdict::BadCrc;
    return FrameVerdict::Good;
}

bool ModbusMaster::ModbusExchange(const uint8_t* request, uint8_t requestLength, uint8_t* reply,
                                  uint8_t& replyLength) {
    if (!port_ || !port_->isOpen() || requestLength == 0 || requestLength > TxBuffer.size() - 2) {
        LastError = PortErrReplyRead;
        return false;
    }
    std::copy_n(request, requestLength, TxBuffer.begin());
    const uint16_t crc = ModbusCrc16(TxBuffer.data(), requestLength);
    TxBuffer[requestLength] = static_cast<uint8_t>(crc & 0xFF);
    TxBuffer[requestLength + 1] = static_cast<uint8_t>(crc >> 8);
    TxLength = requestLength + 2u;

    port_->purge();
    RxBuffer.fill(0);
    RxCount = 0;
    if (!port_->write(TxBuffer.data(), TxLength)) {
        LastError = PortErrReplyRead;
        return false;
    }
    const uint8_t function = requestLength > 1 ? request[1] : 0;
    if (tap_)
        tap_->sent(TxBuffer.data(), TxLength, modbusFunctionName(function), function);
    RxCount = static_cast<uint32_t>(readReply());
    const FrameVerdict verdict = replyVerdict(request[0]);
    if (tap_)
        tap_->received(RxBuffer.data(), RxCount, modbusFunctionName(function), function, verdict, false);
    // A reply whose function gives its length is whole only at that length: one cut short (or one
    // longer than any reply this master takes) is a failed read, even where its last two bytes happen
    // to check as a CRC of what came before them.
    const size_t expected = RxCount >= kReplyHead ? knownReplyLength(RxBuffer[1], RxBuffer[2]) : 0;
    if (RxCount <= 4 || (expected != 0 && RxCount != expected)) {
        LastError = PortErrReplyRead;
        port_->setLastError(PortErrReplyRead);
        return false;
    }
    if (verdict != FrameVerdict::Good)
        return false;
    const uint32_t m = RxCount - 2;
    std::copy_n(RxBuffer.begin(), m, reply);
    reply[m] = 0;
    replyLength = static_cast<uint8_t>(RxCount);
    return true;
}

std::array<uint8_t, 6> modbusIdentifyRequest(uint8_t address) {
    return {address, kModbusReadHolding, 0xEA, 0x61, 0x00, 0x03};
}

std::array<uint8_t, 6> modbusSwitchToZarnetRequest(uint8_t address) {
    return {address, kModbusWriteSingle, 0xEA, 0x60, 0x55, 0xAA};
}

std::optional<ModbusIdentity> modbusIdentityFromReply(const uint8_t* reply, uint8_t replyLength) {
    if (reply[1] != kModbusReadHolding || replyLength < kIdentityReplyLength)
        return std::nullopt;
    return ModbusIdentity{reply[kIdentityTypeOffset], reply[kIdentityFirmwareOffset],
                          reply[kIdentityPanelOffset]};
}

LineSettings modbusLineSettings(uint8_t mbParams) {
    LineSettings s;
    s.baudRate = static_cast<uint32_t>(mbBaudRate(mbParams));
    switch (mbFrameIndex(mbParams)) {
    case 0:
        s.parity = 0;
        s.stopBits = 0;
        break;
    case 1:
        s.parity = 0;
        s.stopBits = 2;
        break;
    case 2:
        s.parity = 1;
        s.stopBits = 0;
        break;
    default:
        s.parity = 2;
        s.stopBits = 0;
        break;
    }
    return s;
}

} // namespace vextor
