#pragma once
// Finding the controllers on a device-protocol line: every address of a range is asked who it is,
// with a read time-out short enough that a silent address costs little and a whole line is searched
// in seconds. A controller that answers from the address asked is reported with its identity and the
// version of the configuration it holds; a reply that names another address is no find (a late reply
// of a slow controller, or two controllers answering at once), only counted.
#include "AddressLimits.h"
#include "SerialPort.h"
#include "ZarnetLink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vextor {

// The read time-outs of one probe. At 9600 baud a byte takes 1.04 ms on the wire (10 bits): the
// 7-byte identity request 7.3 ms (the write returns once the driver has the bytes, so the request's
// own line time falls inside the wait) and the 8-byte reply 8.3 ms, 16 ms in all. A USB adapter whose
// driver has no low-latency mode may hold the reply up to its 16 ms latency timer, and the controller
// answers after its delay before reply (a few milliseconds unless someone raised it) and its own
// processing: 50 ms covers all of it with some 18 ms to spare. A silent address then costs 52 ms (the
// constant and 1 ms for each of the two bytes the first read asks for), all 127 about 6.6 s. A line
// whose controllers were given a longer delay before reply needs a longer constant (vextorctl scan
// --timeout). The interval only ends a reply that broke off: the bytes of one reply follow each other
// within 1 ms.
inline constexpr ReadTimeouts kScanTimeouts{20, 50, 1};

struct FoundController {
    uint8_t address = 0;
    uint8_t type = 0;
    uint16_t firmware = 0;
    uint8_t build = 0;
    // The configuration version read at 1192; nullopt when the controller did not answer that read
    // (kNoCfgVersion is a controller that holds no configuration).
    std::optional<uint16_t> cfgVersion;
    bool operator==(const FoundController&) const = default;
};

struct ScanOptions {
    int first = kMinZarnetAddress;
    int last = kMaxZarnetLinkAddress;
    ReadTimeouts timeouts = kScanTimeouts;
    // Further probes of an address whose reply came damaged (a bad CRC, cut short, a wrong code):
    // something answered there, so it is asked again. A silent address is never asked twice.
    int retries = 1;
};

// A range first..last inside 1..127.
bool validScanRange(int first, int last);

class ControllerScan {
public:
    explicit ControllerScan(ScanOptions options = {});

    // Asks the next count addresses of the range (all that are left when count <= 0), or fewer when
    // stopRequested says so before an address. The link keeps its address and the port its read
    // time-outs: both are back as they were when this returns. A controller that was in a keyed
    // session answers plain afterwards (asking its identity starts a new session).
    void step(ZarnetLink& link, int count = 0, const std::function<bool()>& stopRequested = {});

    bool finished() const { return next_ > options_.last; }
    // The addresses of the range, and how many of them have been asked.
    int total() const { return options_.last - options_.first + 1; }
    int asked() const { return next_ - options_.first; }
    int nextAddress() const { return next_; }
    const std::vector<FoundController>& found() const { return found_; }
    // Replies that came from another address than the one asked.
    int strayReplies() const { return stray_; }
    const ScanOptions& options() const { return options_; }

    // After each address asked (the progress), and for each controller found, as it happens.
    std::function<void(int address)> onAsked;
    std::function<void(const FoundController&)> onFound;

private:
    enum class Probe { Silent, Found, Stray, Damaged };
    Probe probe(ZarnetLink& link, uint8_t address, FoundController& found);
    void readCfgVersion(ZarnetLink& link, FoundController& found, const ReadTimeouts& usual);

    ScanOptions options_;
    int next_;
    std::vector<FoundController> found_;
    int stray_ = 0;
};

} // namespace vextor
