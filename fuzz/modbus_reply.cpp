// The Modbus master's reply check and the identity read from it, fed through a port that answers
// with the fuzzer's bytes.
//
// Input: which request (identify, switch back to the device protocol, or a request of the fuzzer's
// own), the slave address, then the bytes on the line after the request.
#include "FuzzSupport.h"

#include "link/ModbusMaster.h"

#include <memory>

using namespace vextor;
using namespace vextor::fuzz;

namespace {

// The longest reply the master takes, with its CRC.
constexpr size_t kLongestReply = 128;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteSource in(data, size);
    const uint8_t which = in.byte();
    const uint8_t address = in.byte();
    Bytes request;
    switch (which % 3) {
    case 0: {
        const auto r = modbusIdentifyRequest(address);
        request.assign(r.begin(), r.end());
        break;
    }
    case 1: {
        const auto r = modbusSwitchToZarnetRequest(address);
        request.assign(r.begin(), r.end());
        break;
    }
    default:
        request = {address, in.byte(), in.byte(), in.byte()};
        break;
    }
    ScriptedPort port(PortRole::Modbus, {in.rest()});
    port.open(QStringLiteral("fuzz"), {});
    ModbusMaster master(&port);

    // The callers' buffers are larger; the master promises to need no more than this.
    constexpr size_t kReplyRoom = kLongestReply - 1;
    auto reply = std::make_unique<uint8_t[]>(kReplyRoom);
    uint8_t replyLength = 0;
    if (!master.ModbusExchange(request.data(), static_cast<uint8_t>(request.size()), reply.get(),
                               replyLength))
        return 0;

    // Only a whole reply from the slave asked, with a good CRC, is taken.
    const Bytes& raw = port.taken.front();
    FUZZ_CHECK(raw.size() == replyLength);
    FUZZ_CHECK(replyLength > 4 && replyLength <= kLongestReply);
    FUZZ_CHECK(raw[0] == address);
    const size_t body = replyLength - 2u;
    FUZZ_CHECK(ModbusCrc16(raw.data(), body) == (raw[body] | (raw[body + 1] << 8)));
    FUZZ_CHECK(std::equal(raw.begin(), raw.begin() + static_cast<ptrdiff_t>(body), reply.get()));
    FUZZ_CHECK(reply[body] == 0);
    // A reply whose function gives its length is never read beyond it.
    if (raw[1] & 0x80)
        FUZZ_CHECK(replyLength == 5);
    else if (raw[1] == kModbusWriteSingle)
        FUZZ_CHECK(replyLength == 8);
    else if (raw[1] == kModbusReadHolding)
        FUZZ_CHECK(replyLength == std::min<size_t>(5u + raw[2], kLongestReply));

    if (const auto identity = modbusIdentityFromReply(reply.get(), replyLength)) {
        FUZZ_CHECK(reply[1] == kModbusReadHolding && replyLength >= kIdentityReplyLength);
        FUZZ_CHECK(identity->deviceType == reply[kIdentityTypeOffset]);
        FUZZ_CHECK(identity->firmware == reply[kIdentityFirmwareOffset]);
        FUZZ_CHECK(identity->panel == reply[kIdentityPanelOffset]);
    }
    return 0;
}
