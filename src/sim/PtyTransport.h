#pragma once
// The line on a pseudo-terminal: the master program opens the slave side by its path, as it would
// open a serial adapter, and this side plays the controllers on the master side.
#include "SimLine.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace vextor::sim {

class PtyTransport {
public:
    PtyTransport() = default;
    ~PtyTransport();
    PtyTransport(const PtyTransport&) = delete;
    PtyTransport& operator=(const PtyTransport&) = delete;

    // Opens the pair, both sides raw. False with the reason in error.
    bool open(std::string& error);
    const std::string& slavePath() const { return slavePath_; }

    // Serves requests until stop is set (from another thread or a signal handler: the flag is
    // lock-free). wireBaud 0 answers at once; otherwise each
    // request and reply takes its time on a line of that speed (10 or 11 bits per byte) on top of
    // the controller's delay before reply. nowMs is the clock the controllers run on.
    void serve(SimLine& line, uint32_t wireBaud, const std::atomic<bool>& stop,
               const std::function<int64_t()>& nowMs);
    // One turn of the serving loop, waiting at most maxWaitMs for bytes: for a caller with an event
    // loop of its own (a timer in the desktop program's demo mode).
    void step(SimLine& line, uint32_t wireBaud, const std::function<int64_t()>& nowMs, int maxWaitMs);

private:
    // When a reply leaves is kept in microseconds of the steady clock: rounding each request's and
    // reply's line time and each wait to whole milliseconds would make every exchange about a
    // millisecond slower than the wire it stands for.
    struct Outgoing {
        int64_t dueUs;
        Bytes bytes;
    };

    uint32_t masterBaud() const;
    void sendDue(SimLine& line, int64_t nowMs);

    int master_ = -1;
    // Held open for the whole run: the master program opens and closes the slave side around every
    // batch of exchanges, and without a holder of our own the master side would see hang-ups.
    int slave_ = -1;
    std::string slavePath_;
    SimFramer framer_;
    std::deque<Outgoing> outgoing_;
};

// Microseconds a frame of count bytes takes on the wire, rounded up.
int64_t lineTimeUs(size_t count, uint32_t baud, int bitsPerByte);

} // namespace vextor::sim
