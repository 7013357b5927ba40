// The device protocol's replies: the frame check and every command's reading of its reply, fed
// through a port that answers each request with the fuzzer's bytes.
//
// Input: command, session key (0 for plain replies), a parameter byte, then the replies, each one
// length byte and its bytes, in the order the command sends its requests.
#include "FuzzSupport.h"

#include "link/ZarnetCommands.h"
#include "link/ZarnetLink.h"

#include <cstring>
#include <memory>

using namespace vextor;
using namespace vextor::fuzz;

namespace {

constexpr uint8_t kAddress = 5;
constexpr uint8_t kNonce = 0x5A;

// What the link accepted must have been a whole frame on the line: from the expected address, with
// its own length and a good CRC, and read to its last byte; the data the commands see is the
// received data unscrambled.
void checkAcceptedFrame(const ZarnetLink& link, const ScriptedPort& port, uint8_t expectedAddress) {
    FUZZ_CHECK(!port.taken.empty());
    const Bytes& raw = port.taken.back();
    FUZZ_CHECK(raw.size() == link.RxLength);
    FUZZ_CHECK(link.RxLength >= 2 && link.RxLength <= kFrameBufferSize);
    FUZZ_CHECK(raw[1] == link.RxLength - 1);
    FUZZ_CHECK((raw[0] & 0x7F) == expectedAddress);
    FUZZ_CHECK(ZarnetCrc8(raw.data(), raw.size() - 1) == raw.back());
    const uint8_t key = (raw[0] & 0x80) ? static_cast<uint8_t>(link.SessionKey ^ link.Nonce) : 0;
    for (size_t i = 2; i + 1 < raw.size(); ++i)
        FUZZ_CHECK(link.RxBuffer[i] == (raw[i] ^ key));
}

// A command that succeeded read a reply with its code and every byte it used.
void checkReply(const ZarnetLink& link, const ScriptedPort& port, uint8_t code, size_t dataBytes,
                uint8_t expectedAddress = kAddress) {
    checkAcceptedFrame(link, port, expectedAddress);
    FUZZ_CHECK(link.RxBuffer[2] == code);
    FUZZ_CHECK(link.RxLength >= 4 + dataBytes);
}

// Exactly the bytes a caller hands over, on the heap, so a write past them is caught.
struct Exact {
    explicit Exact(size_t n) : bytes(std::make_unique<uint8_t[]>(n)), size(n) {}
    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    installNoSleepClock();
    ByteSource in(data, size);
    const uint8_t command = in.byte();
    const uint8_t key = in.byte();
    const uint8_t param = in.byte();
    std::vector<Bytes> replies;
    while (!in.empty())
        replies.push_back(in.chunk());

    ScriptedPort port(PortRole::Zarnet, replies);
    port.open(QStringLiteral("fuzz"), {});
    ZarnetLink link(&port);
    link.DeviceAddress = kAddress;
    link.SessionKey = key;
    link.randomByte = [] { return kNonce; };

    switch (command % 21) {
    case 0: {
        uint8_t type = 0, build = 0;
        uint16_t version = 0;
        if (GetDeviceVersion(link, param & 1, type, version, build)) {
            checkReply(link, port, 0x00, 3);
            FUZZ_CHECK(type == link.RxBuffer[3]);
            FUZZ_CHECK(version == (link.RxBuffer[4] | (link.RxBuffer[5] << 8)));
        }
        break;
    }
    case 1:
        if (SendSessionKey(link, param)) {
            checkReply(link, port, 0x12, 2);
            FUZZ_CHECK(link.SessionKey == param);
        } else {
            FUZZ_CHECK(link.SessionKey == key);
        }
        break;
    case 2: {
        const uint8_t newAddress = param & 0x7F;
        if (ChangeDeviceAddress(link, newAddress))
            checkReply(link, port, 0x10, 2, newAddress);
        break;
    }
    case 3:
        if (ResetDevice(link))
            checkReply(link, port, 0x18, 0);
        break;
    case 4: {
        uint8_t status = 0;
        if (GetDeviceStatus(link, status)) {
            checkReply(link, port, 0x1A, 1);
            FUZZ_CHECK(status == link.RxBuffer[3]);
        }
        break;
    }
    case 5: {
        uint16_t delay = 0;
        if (ReadReplyDelay(link, delay))
            checkReply(link, port, 0x3E, 3);
        break;
    }
    case 6:
        if (WriteReplyDelay(link, param))
            checkReply(link, port, 0x3E, 2);
        break;
    case 7: {
        std::array<uint8_t, 6> clock{};
        if (ReadDeviceClock(link, clock)) {
            checkReply(link, port, 0x36, 6);
            FUZZ_CHECK(std::memcmp(clock.data(), link.RxBuffer.data() + 3, 6) == 0);
        }
        break;
    }
    case 8:
        if (WriteDeviceClock(link, {param, 1, 2, 3, 4, 5}))
            checkReply(link, port, 0x2A, 2);
        break;
    case 9: {
        const uint8_t count = static_cast<uint8_t>(param % 251 + 1);
        Exact destination(count);
        if (ReadMemory(link, destination.bytes.get(), 0x1234, count)) {
            checkReply(link, port, 0x44, 1u + count);
            FUZZ_CHECK(std::memcmp(destination.bytes.get(), link.RxBuffer.data() + 4, count) == 0);
        }
        break;
    }
    case 10: {
        const uint8_t count = static_cast<uint8_t>(param % 248 + 1);
        const Bytes source(count, 0xA5);
        if (WriteMemory(link, source.data(), 0x400, count))
            checkReply(link, port, 0x42, 2);
        break;
    }
    case 11: {
        Exact destination(kFrameBufferSize);
        uint8_t kind = 0xEE;
        size_t copied = 0;
        if (PollEvent(link, destination.bytes.get(), kind, &copied)) {
            // An event is acknowledged with a request that waits for no reply: the poll's reply is
            // the one before it.
            const bool acknowledged = kind != 0;
            FUZZ_CHECK(port.writes.size() == (acknowledged ? 2u : 1u));
            FUZZ_CHECK(kind <= 2);
            FUZZ_CHECK(copied <= kFrameBufferSize);
            FUZZ_CHECK(copied + 4 <= port.taken.front().size());
        }
        break;
    }
    case 12: {
        static constexpr ChannelGroup groups[] = {ChannelGroup::AnalogIn, ChannelGroup::AnalogOut,
                                                  ChannelGroup::DiscreteIn, ChannelGroup::DiscreteOut};
        Exact destination(kFrameBufferSize);
        size_t copied = 0;
        if (ReadChannels(link, groups[param % 4], {1, 2, 3}, destination.bytes.get(), &copied)) {
            checkReply(link, port, 0x58, 1);
            FUZZ_CHECK(copied == link.RxLength - 4);
            FUZZ_CHECK(std::memcmp(destination.bytes.get(), link.RxBuffer.data() + 3, copied) == 0);
        }
        break;
    }
    case 13:
        if (SetOutputState(link, param, 1))
            checkReply(link, port, 0x16, 2);
        break;
    case 14:
        if (SetOutputValue(link, param, 7.5f))
            checkReply(link, port, 0x16, 2);
        break;
    case 15:
        if (TransitSend(link, {2, 0x19, 0, 0}))
            checkReply(link, port, 0xFE, 2);
        break;
    case 16: {
        uint8_t status = 0;
        if (TransitStatus(link, status)) {
            checkReply(link, port, 0xFC, 1);
            FUZZ_CHECK(status == link.RxBuffer[3]);
        }
        break;
    }
    case 17: {
        Exact destination(kFrameBufferSize);
        size_t copied = 0;
        if (TransitFetch(link, destination.bytes.get(), &copied)) {
            checkReply(link, port, 0xFA, 2);
            FUZZ_CHECK(copied <= link.RxBuffer[4]);
            FUZZ_CHECK(copied + 4 <= link.RxLength);
        }
        break;
    }
    case 18: {
        const uint8_t count = static_cast<uint8_t>(param % 240 + 1);
        Exact destination(count);
        SilentDialogs dialogs;
        if (SlaveReadMemory(link, 2, destination.bytes.get(), 0x100, count, &dialogs)) {
            FUZZ_CHECK(port.writes.size() == 3);
            checkReply(link, port, 0xFA, 2);
            FUZZ_CHECK(dialogs.messages == 0);
        }
        break;
    }
    case 19: {
        const uint8_t count = static_cast<uint8_t>(param % 240 + 1);
        const Bytes source(count, 0x3C);
        SilentDialogs dialogs;
        if (SlaveWriteMemory(link, 2, source.data(), 0x100, count, &dialogs)) {
            FUZZ_CHECK(port.writes.size() == 3);
            FUZZ_CHECK(dialogs.messages == 0);
        }
        break;
    }
    default: {
        // The frame check alone, on a reply put straight into the buffer.
        const Bytes frame = replies.empty() ? Bytes{} : replies.front();
        link.Nonce = param;
        link.RxLength = static_cast<uint32_t>(std::min(frame.size(), kFrameBufferSize));
        std::copy_n(frame.begin(), link.RxLength, link.RxBuffer.begin());
        if (link.ZarnetCheckReply(kAddress)) {
            FUZZ_CHECK(link.RxLength >= 2);
            FUZZ_CHECK(ZarnetCrc8(frame.data(), link.RxLength - 1) == frame[link.RxLength - 1]);
        }
        break;
    }
    }
    return 0;
}
