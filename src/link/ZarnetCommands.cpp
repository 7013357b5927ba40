#include "ZarnetCommands.h"

#include "Hooks.h"
#include "UserDialogs.h"
#include "texts.h"

#include <algorithm>
#include <cstring>

namespace vextor {
namespace {

// Reply layout after a good check: [0] address, [1] length, [2] code, [3..RxLength-2] data, CRC.
// A reply must carry every byte a command reads; a short frame would otherwise hand back bytes of
// an older reply still sitting in the buffer.
bool replyHas(const ZarnetLink& link, uint8_t code, size_t dataBytes) {
    return link.RxLength >= 4 + dataBytes && link.RxBuffer[2] == code;
}

size_t dataLength(const ZarnetLink& link) {
    return link.RxLength >= 4 ? link.RxLength - 4 : 0;
}

bool command(ZarnetLink& link, std::initializer_list<uint8_t> payload) {
    return link.transact(payload);
}

// A request made of a fixed head and the caller's bytes, sized once: appending to a vector built
// from a short list makes GCC 12 report a bounds fault on a reallocation path that never runs.
std::vector<uint8_t> joined(std::initializer_list<uint8_t> head, const std::vector<uint8_t>& tail) {
    std::vector<uint8_t> out(head.size() + tail.size());
    std::copy(tail.begin(), tail.end(), std::copy(head.begin(), head.end(), out.begin()));
    return out;
}

void put24(std::vector<uint8_t>& out, uint32_t address) {
    out.push_back(static_cast<uint8_t>(address));
    out.push_back(static_cast<uint8_t>(address >> 8));
    out.push_back(static_cast<uint8_t>(address >> 16));
}

} // namespace

uint8_t channelKind(ChannelGroup g) {
    return (g == ChannelGroup::AnalogIn || g == ChannelGroup::AnalogOut) ? 0x03 : 0x01;
}
size_t channelRecordSize(ChannelGroup g) {
    return (g == ChannelGroup::AnalogIn || g == ChannelGroup::AnalogOut) ? 7 : 4;
}

bool GetDeviceVersion(ZarnetLink& link, uint8_t board, uint8_t& type, uint16_t& version, uint8_t& build) {
    if (!command(link, {0x0D, 0x00, board}) || !replyHas(link, 0x00, 3))
        return false;
    type = link.RxBuffer[3];
    version = static_cast<uint16_t>(link.RxBuffer[4] | (link.RxBuffer[5] << 8));
    build = link.RxLength >= 8 ? link.RxBuffer[6] : 0;
    return true;
}

bool SendSessionKey(ZarnetLink& link, uint8_t key) {
    if (!command(link, {0x11, key, key}) || !replyHas(link, 0x12, 2))
        return false;
    if (link.RxBuffer[3] != key || link.RxBuffer[4] != key)
        return false;
    link.SessionKey = key;
    return true;
}

bool ChangeDeviceAddress(ZarnetLink& link, uint8_t newAddress) {
    const uint8_t payload[] = {0x0F, newAddress, newAddress};
    if (!link.transact(payload, sizeof payload, true, newAddress) || !replyHas(link, 0x10, 2))
        return false;
    return link.RxBuffer[3] == newAddress && link.RxBuffer[4] == newAddress;
}

bool ResetDevice(ZarnetLink& link) {
    return command(link, {0x17, 0x00, 0x00}) && replyHas(link, 0x18, 0);
}

bool GetDeviceStatus(ZarnetLink& link, uint8_t& status) {
    if (!command(link, {0x19, 0x00, 0x00}) || !replyHas(link, 0x1A, 1))
        return false;
    status = link.RxBuffer[3];
    return true;
}

bool ReadReplyDelay(ZarnetLink& link, uint16_t& delay) {
    if (!command(link, {0x3F, 0x14, 0x00}) || !replyHas(link, 0x3E, 3))
        return false;
    delay = static_cast<uint16_t>(link.RxBuffer[4] | (link.RxBuffer[5] << 8));
    return true;
}

bool WriteReplyDelay(ZarnetLink& link, uint16_t delay) {
    const uint8_t low = static_cast<uint8_t>(delay), high = static_cast<uint8_t>(delay >> 8);
    if (!command(link, {0x3D, 0x14, low, high}) || !replyHas(link, 0x3E, 2))
        return false;
    return link.RxBuffer[4] == low;
}

bool ReadDeviceClock(ZarnetLink& link, std::array<uint8_t, 6>& clock) {
    if (!command(link, {0x35, 0x00, 0x00}) || !replyHas(link, 0x36, 6))
        return false;
    std::copy_n(link.RxBuffer.begin() + 3, 6, clock.begin());
    return true;
}

bool WriteDeviceClock(ZarnetLink& link, const std::array<uint8_t, 6>& c) {
    if (!command(link, {0x29, c[0], c[1], c[2], c[3], c[4], c[5]}) || !replyHas(link, 0x2A, 2))
        return false;
    return link.RxBuffer[3] == c[0] && link.RxBuffer[4] == c[1];
}

bool ReadMemory(ZarnetLink& link, uint8_t* destination, uint32_t address, uint8_t count) {
    if (count == 0 || count > 251)
        return false;
    if (!command(link, {0x43, static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8),
                        static_cast<uint8_t>(address >> 16), count}) ||
        !replyHas(link, 0x44, 1u + count))
        return false;
    std::memcpy(destination, link.RxBuffer.data() + 4, count);
    return true;
}

bool WriteMemory(ZarnetLink& link, const uint8_t* source, uint32_t address, uint8_t count) {
    if (count == 0 || count > 248)
        return false;
    std::vector<uint8_t> payload{0x41};
    put24(payload, address);
    payload.insert(payload.end(), source, source + count);
    if (!link.transact(payload.data(), payload.size(), true, link.DeviceAddress) || !replyHas(link, 0x42, 2))
        return false;
    return link.RxBuffer[3] == 0 && link.RxBuffer[4] == 0;
}

bool PollEvent(ZarnetLink& link, uint8_t* destination, uint8_t& kind, size_t* copied) {
    if (!command(link, {0x01, 0xFF, 0x01}) || link.RxLength < 4)
        return false;
    const uint8_t code = link.RxBuffer[2];
    if (code == 0x0C || code == 0x0E) {
        const size_t n = std::min(dataLength(link), kFrameBufferSize);
        std::memcpy(destination, link.RxBuffer.data() + 3, n);
        if (copied)
            *copied = n;
        kind = code == 0x0C ? 1 : 2;
        AcknowledgeEvent(link);
        return true;
    }
    if (dataLength(link) < 2)
        return false;
    std::memcpy(destination, link.RxBuffer.data() + 3, 2);
    if (copied)
        *copied = 2;
    kind = 0;
    return true;
}

bool AcknowledgeEvent(ZarnetLink& link) {
    return link.transact({0x03, 0x00, 0x00}, false);
}

bool ReadChannels(ZarnetLink& link, ChannelGroup group, const std::vector<uint8_t>& channels,
                  uint8_t* destination, size_t* copied) {
    const std::vector<uint8_t> payload =
        joined({0x57, static_cast<uint8_t>(group), channelKind(group), 0x00}, channels);
    if (!link.transact(payload.data(), payload.size(), true, link.DeviceAddress) || !replyHas(link, 0x58, 1))
        return false;
    const size_t n = std::min(dataLength(link), kFrameBufferSize);
    std::memcpy(destination, link.RxBuffer.data() + 3, n);
    if (copied)
        *copied = n;
    return true;
}

bool SetOutputState(ZarnetLink& link, uint8_t output, uint8_t state) {
    if (!command(link, {0x15, output, state}) || !replyHas(link, 0x16, 2))
        return false;
    return link.RxBuffer[3] == output && link.RxBuffer[4] == state;
}

bool SetOutputValue(ZarnetLink& link, uint8_t output, float value) {
    uint8_t v[4];
    std::memcpy(v, &value, 4); // the controller's byte order is the little-endian of this machine
    if (!command(link, {0x15, output, 0x80, v[0], v[1], v[2], v[3]}) || !replyHas(link, 0x16, 2))
        return false;
    return link.RxBuffer[3] == output && link.RxBuffer[4] == 0x80;
}

bool TransitSend(ZarnetLink& link, const std::vector<uint8_t>& inner) {
    const std::vector<uint8_t> payload = joined({0xFD}, inner);
    if (!link.transact(payload.data(), payload.size(), true, link.DeviceAddress) || !replyHas(link, 0xFE, 2))
        return false;
    return link.RxBuffer[3] == 0 && link.RxBuffer[4] == 0;
}

bool TransitReadChannels(ZarnetLink& link, uint8_t slave, ChannelGroup group,
                         const std::vector<uint8_t>& channels) {
    return TransitSend(
        link, joined({slave, 0x57, static_cast<uint8_t>(group), channelKind(group), 0x00}, channels));
}

bool TransitStatus(ZarnetLink& link, uint8_t& status) {
    if (!command(link, {0xFB, 0x00, 0x00}) || !replyHas(link, 0xFC, 1))
        return false;
    status = link.RxBuffer[3];
    return true;
}

bool TransitFetch(ZarnetLink& link, uint8_t* destination, size_t* copied) {
    // The inner frame without its CRC starts at index 3; its own length byte (index 4) says how
    // many bytes that is. Bound the copy by what the reply really carries.
    if (!command(link, {0xF9, 0x00, 0x00}) || !replyHas(link, 0xFA, 2))
        return false;
    const size_t innerLength = link.RxBuffer[4];
    const size_t n = std::min({innerLength, dataLength(link), kFrameBufferSize});
    std::memcpy(destination, link.RxBuffer.data() + 3, n);
    if (copied)
        *copied = n;
    return true;
}

namespace {

std::vector<uint8_t> slaveMemoryRequest(uint8_t slave, uint8_t code, uint32_t address, uint8_t count) {
    return {slave,
            code,
            static_cast<uint8_t>(address & 0xFF),
            static_cast<uint8_t>((address >> 8) & 0x0F),
            static_cast<uint8_t>((address >> 16) & 0xFF),
            count};
}

// Send, wait, ask whether the slave's answer is there, wait, fetch it. Reports the failing step.
bool slaveRoundTrip(ZarnetLink& link, const std::vector<uint8_t>& inner, uint8_t* reply, size_t& replyLength,
                    UserDialogs* dialogs) {
    auto report = [dialogs](const char* text) {
        if (dialogs)
            dialogs->message(QString::fromUtf8(text));
        return false;
    };
    if (!TransitSend(link, inner))
        return report(link_texts::kTransitNoAck1);
    sleepMs(600);
    uint8_t status = 0;
    if (!TransitStatus(link, status))
        return report(link_texts::kTransitNoAck2);
    if (status != kTransitReady)
        return report(link_texts::kTransitNoData);
    sleepMs(50);
    if (!TransitFetch(link, reply, &replyLength))
        return report(link_texts::kTransitNoAck3);
    return true;
}

} // namespace

bool SlaveReadMemory(ZarnetLink& link, uint8_t slave, uint8_t* destination, uint32_t address, uint8_t count,
                     UserDialogs* dialogs) {
    uint8_t reply[kFrameBufferSize];
    size_t length = 0;
    if (!slaveRoundTrip(link, slaveMemoryRequest(slave, 0x43, address, count), reply, length, dialogs))
        return false;
    // Inner frame: address, length, code, one byte, data. Anything but a memory-read reply with
    // all the bytes asked for is no new data.
    if (length < 3 || reply[2] != 0x44 || length < 4u + count)
        return false;
    std::memcpy(destination, reply + 4, count);
    return true;
}

bool SlaveWriteMemory(ZarnetLink& link, uint8_t slave, const uint8_t* source, uint32_t address, uint8_t count,
                      UserDialogs* dialogs) {
    std::vector<uint8_t> inner = slaveMemoryRequest(slave, 0x41, address, count);
    inner.pop_back(); // a write carries its data bytes, no count byte
    inner.insert(inner.end(), source, source + count);
    uint8_t reply[kFrameBufferSize];
    size_t length = 0;
    if (!slaveRoundTrip(link, inner, reply, length, dialogs))
        return false;
    return length >= 5 && reply[2] == 0x42 && reply[3] == 0 && reply[4] == 0;
}

} // namespace vextor
