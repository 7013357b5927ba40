#include "SimController.h"

#include "link/AddressLimits.h"
#include "link/ModbusMaster.h"
#include "link/ZarnetCommands.h"
#include "link/ZarnetLink.h"

#include <algorithm>

namespace vextor::sim {

namespace {

// Device-protocol command codes as the controller receives them, and the codes of its replies.
enum Command : uint8_t {
    CmdPollEvent = 0x01,
    CmdAcknowledgeEvent = 0x03,
    CmdGetDeviceVersion = 0x0D,
    CmdChangeAddress = 0x0F,
    CmdSendSessionKey = 0x11,
    CmdSetOutput = 0x15,
    CmdResetDevice = 0x17,
    CmdGetStatus = 0x19,
    CmdWriteClock = 0x29,
    CmdReadClock = 0x35,
    CmdWriteReplyDelay = 0x3D,
    CmdReadReplyDelay = 0x3F,
    CmdWriteMemory = 0x41,
    CmdReadMemory = 0x43,
    CmdReadChannels = 0x57,
    CmdTransitFetch = 0xF9,
    CmdTransitStatus = 0xFB,
    CmdTransitSend = 0xFD,
};
enum Reply : uint8_t {
    ReplyVersion = 0x00,
    ReplyNoEvent = 0x0A,
    ReplyEvent = 0x0C,
    ReplyInputChange = 0x0E,
    ReplyChangeAddress = 0x10,
    ReplySessionKey = 0x12,
    ReplySetOutput = 0x16,
    ReplyReset = 0x18,
    ReplyStatus = 0x1A,
    ReplyWriteClock = 0x2A,
    ReplyReadClock = 0x36,
    ReplyReplyDelay = 0x3E,
    ReplyWriteMemory = 0x42,
    ReplyReadMemory = 0x44,
    ReplyReadChannels = 0x58,
    ReplyTransitFetch = 0xFA,
    ReplyTransitStatus = 0xFC,
    ReplyTransitSend = 0xFE,
};

constexpr uint8_t kReplyDelayTag = 0x14;
constexpr uint8_t kValueFlag = 0x80;
constexpr size_t kMaxFrame = 256;
constexpr uint8_t kErasedByte = 0xFF; // what unwritten black-box slots and unmapped memory read as

enum ModbusException : uint8_t { IllegalFunction = 1, IllegalAddress = 2, IllegalValue = 3 };

uint8_t lo(uint16_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}
uint8_t hi(uint16_t v) {
    return static_cast<uint8_t>(v >> 8);
}

uint32_t address24(std::span<const uint8_t> args) {
    return static_cast<uint32_t>(args[0]) | (static_cast<uint32_t>(args[1]) << 8) |
           (static_cast<uint32_t>(args[2]) << 16);
}

Bytes modbusException(uint8_t address, uint8_t function, uint8_t code) {
    return {address, static_cast<uint8_t>(function | 0x80), code};
}

} // namespace

uint32_t modbusBaud(uint8_t mbParams) {
    return modbusLineSettings(mbParams).baudRate;
}

int modbusBitsPerByte(uint8_t mbParams) {
    // start bit, eight data bits, the parity bit if any, one or two stop bits
    const LineSettings line = modbusLineSettings(mbParams);
    return 1 + 8 + (line.parity != 0 ? 1 : 0) + (line.stopBits == 2 ? 2 : 1);
}

Bytes zarnetReplyFrame(uint8_t from, const Bytes& body, std::optional<uint8_t> key, uint8_t nonce) {
    Bytes f{static_cast<uint8_t>(from & 0x7F), static_cast<uint8_t>(body.size() + 2)};
    const uint8_t mask = key ? static_cast<uint8_t>(*key ^ nonce) : 0;
    if (key)
        f[0] |= 0x80;
    for (uint8_t b : body)
        f.push_back(static_cast<uint8_t>(b ^ mask));
    f.push_back(ZarnetCrc8(f.data(), f.size()));
    return f;
}

void appendModbusCrc(Bytes& frame) {
    const uint16_t crc = ModbusCrc16(frame.data(), frame.size());
    frame.push_back(lo(crc));
    frame.push_back(hi(crc));
}

SimController::SimController(const ControllerSettings& settings, std::span<const uint8_t> image,
                             const DeviceDateTime& clock, int64_t nowMs)
    : settings_(settings), address_(settings.address), replyDelayMs_(settings.replyDelayMs),
      memory_(kMemorySize, 0), clock_(clock, nowMs), channels_(settings.seed ^ settings.address),
      rng_(settings.seed * 2654435761u + settings.address) {
    std::copy_n(image.begin(), std::min<size_t>(image.size(), kImageSize), memory_.begin() + kImageFirst);
    memory_[kCfgVersionAddress] = lo(settings.cfgVersion);
    memory_[kCfgVersionAddress + 1] = hi(settings.cfgVersion);
    if (settings.modbusAddress)
        memory_[kModbusAddressAddress] = *settings.modbusAddress;

    for (uint8_t a : settings.slaves)
        slaves_.push_back(std::make_unique<SimSlave>(a, settings.seed));

    std::fill_n(memory_.begin() + kEventRegionAddress, kEventSlots * kEventRecordSize, kErasedByte);
    const int count = std::clamp(settings.eventCount, 0, int(kEventSlots));
    for (const EventRecord& e : eventHistory(rng_, count, clock, settings.slaves)) {
        const auto bytes = e.bytes();
        std::copy(bytes.begin(), bytes.end(),
                  memory_.begin() + kEventRegionAddress + nextSlot_ * kEventRecordSize);
        nextSlot_ = (nextSlot_ + 1) % kEventSlots;
    }

    // Power-on: the port and the running copy come up from the stored configuration.
    takePortSettings();
    lastInputs_ = channels_.discreteInputMask(nowMs);
    nextEventMs_ = nowMs + nextEventGap();
}

int64_t SimController::nextEventGap() {
    const int64_t mean = settings_.eventIntervalMs;
    return std::uniform_int_distribution<int64_t>(std::max<int64_t>(1, mean / 2),
                                                  std::max<int64_t>(1, mean * 3 / 2))(rng_);
}

SimSlave* SimController::slave(uint8_t address) {
    for (auto& s : slaves_)
        if (s->address() == address)
            return s.get();
    return nullptr;
}

void SimController::takePortSettings() {
    std::copy(memory_.begin() + kImageFirst, memory_.begin() + kImageEnd,
              memory_.begin() + kRunningCopyBase + kImageFirst);
    protocol_ = memory_[kProtocolSelectorAddress] == kSwitchToModbus ? Protocol::Modbus : Protocol::Zarnet;
    modbusParams_ = memory_[kModbusParamsAddress];
    modbusAddress_ = memory_[kModbusAddressAddress];
}

void SimController::restart(uint8_t cause, int64_t nowMs) {
    ++restarts_;
    sessionKey_.reset();
    transit_ = TransitState::Idle;
    transitReply_.clear();
    events_.clear();
    takePortSettings();
    recordEvent(EventRecord{0, EventStart, cause, clock_.at(nowMs)});
}

void SimController::recordEvent(const EventRecord& e) {
    const auto bytes = e.bytes();
    std::copy(bytes.begin(), bytes.end(),
              memory_.begin() + kEventRegionAddress + nextSlot_ * kEventRecordSize);
    nextSlot_ = (nextSlot_ + 1) % kEventSlots;
    queueEvent(ReplyEvent, Bytes(bytes.begin(), bytes.end()));
}

void SimController::queueEvent(uint8_t replyCode, Bytes data) {
    if (events_.size() >= kMaxPendingEvents)
        events_.pop_front();
    events_.push_back(PendingEvent{replyCode, std::move(data)});
}

void SimController::advance(int64_t nowMs) {
    // After a long quiet stretch only the last few minutes are worth logging.
    constexpr int64_t kCatchUpMs = 5 * 60 * 1000;
    if (nowMs - nextEventMs_ > kCatchUpMs)
        nextEventMs_ = nowMs - kCatchUpMs;
    while (settings_.eventIntervalMs > 0 && nowMs >= nextEventMs_) {
        recordEvent(randomEvent(rng_, clock_.at(nextEventMs_), settings_.slaves));
        nextEventMs_ += nextEventGap();
    }
    const uint8_t inputs = channels_.discreteInputMask(nowMs);
    if (inputs != lastInputs_) {
        lastInputs_ = inputs;
        queueEvent(ReplyInputChange, {0x00, 0x00, address_, inputs});
    }
}

std::optional<Bytes> SimController::handleZarnet(std::span<const uint8_t> request, int64_t nowMs) {
    if (protocol_ != Protocol::Zarnet || request.size() < 5 || request.size() != size_t(request[1]) + 1)
        return std::nullopt;
    if (request[0] != address_ || ZarnetCrc8(request.data(), request.size() - 1) != request.back())
        return std::nullopt;
    advance(nowMs);
    // The reply goes out under the key that held when the request came in, so the answer to a new
    // key is still scrambled with the old one (the master takes the new key only after it).
    const std::optional<uint8_t> key = sessionKey_;
    const uint8_t nonce = request[2];
    uint8_t from = address_;
    bool plainReply = false;
    const std::optional<Bytes> body =
        command(request[3], request.subspan(4, request.size() - 5), nowMs, from, plainReply);
    if (!body)
        return std::nullopt;
    return zarnetReplyFrame(from, *body, plainReply ? std::nullopt : key, nonce);
}

std::optional<Bytes> SimController::command(uint8_t code, std::span<const uint8_t> args, int64_t nowMs,
                                            uint8_t& from, bool& plainReply) {
    switch (code) {
    case CmdGetDeviceVersion: {
        if (args.size() < 2)
            return std::nullopt;
        if (args[1] == 0) {
            // Asking who the controller is starts a new session: the old key is dropped and the
            // answer goes out plain, so a master that never sent a key (a new run of a tool, the
            // task loop) can talk to a controller another session left keyed.
            sessionKey_.reset();
            plainReply = true;
            return Bytes{ReplyVersion, settings_.deviceType, lo(settings_.firmware), hi(settings_.firmware),
                         settings_.build};
        }
        if (args[1] == 1)
            return Bytes{ReplyVersion, settings_.deviceType, lo(settings_.panel), hi(settings_.panel)};
        return std::nullopt;
    }
    case CmdSendSessionKey: {
        if (args.size() < 2 || args[0] != args[1])
            return std::nullopt;
        sessionKey_ = args[0];
        recordEvent(EventRecord{0, EventNewKey, 0, clock_.at(nowMs)});
        return Bytes{ReplySessionKey, args[0], args[0]};
    }
    case CmdChangeAddress: {
        if (args.size() < 2 || args[0] != args[1] || args[0] < kMinZarnetAddress ||
            args[0] > kMaxZarnetLinkAddress)
            return std::nullopt;
        const uint8_t next = args[0];
        // Two devices on one address would garble every later reply; a real line would need a
        // technician, the simulator refuses.
        if (next != address_ && addressTaken_ && addressTaken_(next))
            return std::nullopt;
        address_ = next;
        from = next;
        recordEvent(EventRecord{0, EventAddressChanged, next, clock_.at(nowMs)});
        return Bytes{ReplyChangeAddress, next, next};
    }
    case CmdResetDevice:
        restart(StartByCommand, nowMs);
        return Bytes{ReplyReset};
    case CmdGetStatus:
        return Bytes{ReplyStatus, status_};
    case CmdReadReplyDelay:
        return Bytes{ReplyReplyDelay, kReplyDelayTag, lo(replyDelayMs_), hi(replyDelayMs_)};
    case CmdWriteReplyDelay:
        if (args.size() < 3)
            return std::nullopt;
        replyDelayMs_ = static_cast<uint16_t>(args[1] | (args[2] << 8));
        return Bytes{ReplyReplyDelay, kReplyDelayTag, args[1]};
    case CmdReadClock: {
        const DeviceDateTime t = clock_.at(nowMs);
        return Bytes{ReplyReadClock,
                     static_cast<uint8_t>(t.hour),
                     static_cast<uint8_t>(t.minute),
                     static_cast<uint8_t>(t.second),
                     static_cast<uint8_t>(t.day),
                     static_cast<uint8_t>(t.month),
                     static_cast<uint8_t>(t.year - 2000)};
    }
    case CmdWriteClock: {
        if (args.size() < 6)
            return std::nullopt;
        const DeviceDateTime t{2000 + args[5], args[4], args[3], args[0], args[1], args[2]};
        if (!clock_.set(t, nowMs))
            return std::nullopt;
        return Bytes{ReplyWriteClock, args[0], args[1]};
    }
    case CmdReadMemory:
        return readMemory(args);
    case CmdWriteMemory:
        return writeMemory(args);
    case CmdPollEvent:
        return pollEvent();
    case CmdAcknowledgeEvent:
        acknowledgeEvent();
        return std::nullopt; // the master sends it without waiting for an answer
    case CmdReadChannels:
        return readChannels(args, nowMs);
    case CmdSetOutput:
        return setOutput(args);
    case CmdTransitSend:
        return transitSend(args, nowMs);
    case CmdTransitStatus:
        return Bytes{ReplyTransitStatus, transitStatus(nowMs)};
    case CmdTransitFetch:
        return transitFetch(nowMs);
    default:
        return std::nullopt;
    }
}

std::optional<Bytes> SimController::readMemory(std::span<const uint8_t> args) {
    if (args.size() < 4)
        return std::nullopt;
    const uint32_t address = address24(args);
    const uint8_t count = args[3];
    // address, length, code, count byte, data, CRC within one frame
    if (count == 0 || size_t(count) + 5 > kMaxFrame)
        return std::nullopt;
    for (const AddressRange& r : settings_.silentRanges)
        if (r.overlaps(address, count))
            return std::nullopt;
    Bytes body{ReplyReadMemory, count};
    for (uint32_t a = address; a < address + count; ++a)
        body.push_back(a < kMemorySize ? memory_[a] : kErasedByte);
    return body;
}

Bytes SimController::writeMemory(std::span<const uint8_t> args) {
    if (args.size() < 4)
        return {ReplyWriteMemory, 0x01, 0x00};
    const uint32_t address = address24(args);
    const size_t count = args.size() - 3;
    // A write that would run past the memory is refused whole rather than cut short.
    if (address + count > kMemorySize)
        return {ReplyWriteMemory, 0x01, 0x00};
    std::copy(args.begin() + 3, args.end(), memory_.begin() + address);
    return {ReplyWriteMemory, 0x00, 0x00};
}

std::optional<Bytes> SimController::pollEvent() {
    if (events_.empty())
        return Bytes{ReplyNoEvent, 0x00, 0x00};
    PendingEvent& e = events_.front();
    e.delivered = true;
    Bytes body{e.replyCode};
    body.insert(body.end(), e.data.begin(), e.data.end());
    return body;
}

void SimController::acknowledgeEvent() {
    // Only an event that went out is taken off; an acknowledgement that crossed a lost reply must
    // not swallow an event the master never saw.
    if (!events_.empty() && events_.front().delivered)
        events_.pop_front();
}

std::optional<Bytes> SimController::readChannels(std::span<const uint8_t> args, int64_t nowMs) {
    if (args.size() < 3 || !SimChannels::knownGroup(args[0], args[1]))
        return std::nullopt;
    Bytes body{ReplyReadChannels, args[0]};
    // The reply frame stays within 256 bytes: address, length, code, group byte, records, CRC.
    channels_.appendRecords(args[0], args.data() + 3, args.size() - 3, nowMs, kMaxFrame - 5, body);
    return body;
}

std::optional<Bytes> SimController::setOutput(std::span<const uint8_t> args) {
    if (args.size() >= 6 && args[1] == kValueFlag) {
        if (!channels_.setAnalogOutput(args[0], floatAt(args.data() + 2)))
            return std::nullopt;
        return Bytes{ReplySetOutput, args[0], kValueFlag};
    }
    if (args.size() < 2 || !channels_.setDiscreteOutput(args[0], (args[1] & 1) != 0))
        return std::nullopt;
    return Bytes{ReplySetOutput, args[0], args[1]};
}

Bytes SimController::transitSend(std::span<const uint8_t> args, int64_t nowMs) {
    if (args.size() < 2)
        return {ReplyTransitSend, 0x01, 0x00};
    const Bytes inner(args.begin(), args.end());
    SimSlave* s = slave(inner[0]);
    transit_ = TransitState::Busy;
    transitReadyMs_ = nowMs + kTransitTurnaroundMs;
    transitReply_ = s ? s->handle(inner, nowMs) : Bytes{};
    return {ReplyTransitSend, 0x00, 0x00};
}

uint8_t SimController::transitStatus(int64_t nowMs) {
    if (transit_ == TransitState::Busy && nowMs >= transitReadyMs_)
        transit_ = transitReply_.empty() ? TransitState::NoAnswer : TransitState::Ready;
    switch (transit_) {
    case TransitState::Ready:
        return TransitReady;
    case TransitState::Busy:
        return TransitBusy;
    case TransitState::NoAnswer:
        return TransitNoAnswer;
    case TransitState::Idle:
        break;
    }
    return TransitIdle;
}

Bytes SimController::transitFetch(int64_t nowMs) {
    Bytes body{ReplyTransitFetch};
    if (transitStatus(nowMs) == TransitReady)
        body.insert(body.end(), transitReply_.begin(), transitReply_.end());
    else
        body.insert(body.end(), {0x00, 0x00}); // no answer to hand over: an empty inner frame
    return body;
}

bool SimController::readRegister(uint16_t reg, uint16_t& value) const {
    switch (reg) {
    case kRegControl:
        value = 0;
        return true;
    case kRegType:
        value = settings_.deviceType;
        return true;
    case kRegFirmware:
        value = settings_.firmware;
        return true;
    case kRegPanel:
        value = settings_.panel == kNoPanelVersion ? 0 : settings_.panel;
        return true;
    default:
        return false;
    }
}

std::optional<Bytes> SimController::handleModbus(std::span<const uint8_t> request, int64_t nowMs) {
    if (protocol_ != Protocol::Modbus || request.size() < 4)
        return std::nullopt;
    const size_t n = request.size();
    if (ModbusCrc16(request.data(), n - 2) != (request[n - 2] | (request[n - 1] << 8)))
        return std::nullopt;
    const uint8_t target = request[0];
    const bool broadcast = target == 0;
    if (!broadcast && target != modbusAddress_)
        return std::nullopt;
    advance(nowMs);

    const uint8_t function = request[1];
    Bytes reply;
    bool restartAfter = false;
    if (function == 0x03 || function == 0x04) {
        const uint16_t first = static_cast<uint16_t>((request[2] << 8) | request[3]);
        const uint16_t count = static_cast<uint16_t>((request[4] << 8) | request[5]);
        if (n != 8 || count < 1 || count > 125) {
            reply = modbusException(target, function, IllegalValue);
        } else {
            reply = {target, function, static_cast<uint8_t>(2 * count)};
            for (uint32_t r = first; r < uint32_t(first) + count; ++r) {
                uint16_t v = 0;
                if (r > 0xFFFF || !readRegister(static_cast<uint16_t>(r), v)) {
                    reply = modbusException(target, function, IllegalAddress);
                    break;
                }
                reply.push_back(hi(v));
                reply.push_back(lo(v));
            }
        }
    } else if (function == 0x06 && n == 8) {
        const uint16_t reg = static_cast<uint16_t>((request[2] << 8) | request[3]);
        const uint16_t value = static_cast<uint16_t>((request[4] << 8) | request[5]);
        if (reg != kRegControl) {
            reply = modbusException(target, function, IllegalAddress);
        } else if (value == kControlToZarnet || value == kControlRestart) {
            if (value == kControlToZarnet)
                memory_[kProtocolSelectorAddress] = 0;
            restartAfter = true;
            reply.assign(request.begin(), request.end() - 2);
        } else {
            reply = modbusException(target, function, IllegalValue);
        }
    } else {
        reply = modbusException(target, function, IllegalFunction);
    }
    if (restartAfter)
        restart(StartByCommand, nowMs);
    if (broadcast)
        return std::nullopt;
    appendModbusCrc(reply);
    return reply;
}

} // namespace vextor::sim
