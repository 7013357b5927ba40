#include "SimLine.h"

#include "link/AddressLimits.h"
#include "link/ZarnetLink.h"

#include <cstdio>

namespace vextor::sim {

SimLine::SimLine(uint32_t seed, FaultRates faults) : rng_(seed), faults_(faults) {}

bool SimLine::addController(std::unique_ptr<SimController> controller) {
    if (this->controller(controller->address()))
        return false;
    controller->setAddressTaken([this](uint8_t a) { return this->controller(a) != nullptr; });
    controllers_.push_back(std::move(controller));
    return true;
}

SimController* SimLine::controller(uint8_t address) const {
    for (const auto& c : controllers_)
        if (c->address() == address)
            return c.get();
    return nullptr;
}

bool SimLine::hasZarnet() const {
    for (const auto& c : controllers_)
        if (c->protocol() == Protocol::Zarnet)
            return true;
    return false;
}

bool SimLine::hasModbus() const {
    for (const auto& c : controllers_)
        if (c->protocol() == Protocol::Modbus)
            return true;
    return false;
}

bool SimLine::chance(double rate) {
    // Always draw, so that one rate does not shift the faults another one produces.
    const double x = std::uniform_real_distribution<double>(0.0, 1.0)(rng_);
    return x < rate;
}

std::optional<LineReply> SimLine::handle(const Frame& frame, int64_t nowMs, uint32_t lineBaud) {
    logFrame(nowMs, "rx", frame.bytes);
    std::optional<Bytes> reply;
    LineReply out;
    for (const auto& c : controllers_) {
        if (frame.kind == FrameKind::Zarnet) {
            reply = c->handleZarnet(frame.bytes, nowMs);
        } else {
            if (c->protocol() != Protocol::Modbus ||
                (lineBaud != 0 && lineBaud != modbusBaud(c->modbusParams())))
                continue;
            const int bits = modbusBitsPerByte(c->modbusParams());
            reply = c->handleModbus(frame.bytes, nowMs);
            out.bitsPerByte = bits;
        }
        if (reply) {
            out.delayMs = c->replyDelayMs();
            break;
        }
    }
    if (!reply)
        return std::nullopt;
    const bool drop = chance(faults_.drop);
    out.bytes = injectFaults(std::move(*reply), frame.kind);
    if (drop) {
        logFrame(nowMs, "drop", out.bytes);
        return std::nullopt;
    }
    return out;
}

Bytes SimLine::injectFaults(Bytes reply, FrameKind kind) {
    const bool truncate = chance(faults_.truncate);
    const bool corrupt = chance(faults_.corrupt);
    const bool wrongAddress = chance(faults_.wrongAddress);
    if (wrongAddress && !reply.empty()) {
        if (kind == FrameKind::Zarnet) {
            const uint8_t a = reply[0] & 0x7F;
            reply[0] = static_cast<uint8_t>((reply[0] & 0x80) | (a % kMaxZarnetLinkAddress + 1));
            reply.back() = ZarnetCrc8(reply.data(), reply.size() - 1);
        } else {
            reply[0] = static_cast<uint8_t>(reply[0] % kMaxModbusAddress + 1);
            reply.resize(reply.size() - 2);
            appendModbusCrc(reply);
        }
    }
    if (corrupt && !reply.empty()) {
        const uint8_t flip = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(rng_));
        reply.back() ^= flip;
    }
    if (truncate && reply.size() > 1) {
        const size_t keep = std::uniform_int_distribution<size_t>(1, reply.size() - 1)(rng_);
        reply.resize(keep);
    }
    return reply;
}

void SimLine::logFrame(int64_t nowMs, std::string_view direction, const Bytes& bytes) {
    if (!log_)
        return;
    *log_ << nowMs << ' ' << direction;
    char hex[4];
    for (uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        *log_ << hex;
    }
    *log_ << '\n';
    log_->flush();
}

} // namespace vextor::sim
