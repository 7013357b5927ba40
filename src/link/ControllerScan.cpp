#include "ControllerScan.h"

#include "ControllerMemory.h"
#include "Hooks.h"
#include "NumericConversions.h"
#include "ZarnetCommands.h"

namespace vextor {

bool validScanRange(int first, int last) {
    return first >= kMinZarnetAddress && last <= kMaxZarnetLinkAddress && first <= last;
}

ControllerScan::ControllerScan(ScanOptions options) : options_(options), next_(options.first) {
    // An empty or impossible range has nothing to ask.
    if (!validScanRange(options_.first, options_.last))
        next_ = options_.last + 1;
}

ControllerScan::Probe ControllerScan::probe(ZarnetLink& link, uint8_t address, FoundController& found) {
    link.DeviceAddress = address;
    const uint64_t bytesBefore = link.stats.bytesIn;
    uint8_t type = 0, build = 0;
    uint16_t version = 0;
    if (GetDeviceVersion(link, 0, type, version, build)) {
        found = FoundController{address, type, version, build, std::nullopt};
        return Probe::Found;
    }
    if (link.stats.bytesIn == bytesBefore)
        return Probe::Silent;
    // A whole frame with a good CRC from someone else: the reply check stops at the address, so the
    // frame is still as it came.
    const uint32_t n = link.RxLength;
    if (n >= 3 && n <= kFrameBufferSize && (link.RxBuffer[0] & 0x7F) != address &&
        ZarnetCrc8(link.RxBuffer.data(), n - 1) == link.RxBuffer[n - 1])
        return Probe::Stray;
    return Probe::Damaged;
}

void ControllerScan::readCfgVersion(ZarnetLink& link, FoundController& found, const ReadTimeouts& usual) {
    // The controller is there: its read gets the usual time-outs, and the pause the identification
    // keeps before it.
    link.port()->setTimeouts(usual);
    for (int i = 0; i <= options_.retries && !found.cfgVersion; ++i) {
        sleepMs(kRequestPauseMs);
        uint8_t cfg[2] = {0xFF, 0xFF};
        if (ReadMemory(link, cfg, kCfgVersionAddress, 2))
            found.cfgVersion = wordFromImage(cfg);
    }
    link.port()->setTimeouts(options_.timeouts);
}

void ControllerScan::step(ZarnetLink& link, int count, const std::function<bool()>& stopRequested) {
    SerialPort* port = link.port();
    if (!port || finished())
        return;
    const uint8_t linkAddress = link.DeviceAddress;
    const ReadTimeouts usual = port->timeouts();
    port->setTimeouts(options_.timeouts);
    for (int n = 0; !finished() && (count <= 0 || n < count); ++n) {
        if (stopRequested && stopRequested())
            break;
        const auto address = static_cast<uint8_t>(next_++);
        FoundController found;
        Probe result = probe(link, address, found);
        for (int retry = 0; result == Probe::Damaged && retry < options_.retries; ++retry) {
            sleepMs(kRequestPauseMs);
            result = probe(link, address, found);
        }
        if (result == Probe::Stray)
            ++stray_;
        if (result == Probe::Found) {
            readCfgVersion(link, found, usual);
            found_.push_back(found);
            if (onFound)
                onFound(found);
        }
        if (onAsked)
            onAsked(address);
    }
    port->setTimeouts(usual);
    link.DeviceAddress = linkAddress;
}

} // namespace vextor
