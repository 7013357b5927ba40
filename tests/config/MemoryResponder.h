#pragma once
// A controller's parameter memory behind a FakeSerialPort: answers ReadMemory and WriteMemory
// requests from a byte array, logs every request, and stays silent for the requests a test picks.
// Reusable by any test that moves memory blocks over the device protocol.
#include "support/FakeSerialPort.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vextor::testing {

class MemoryResponder {
public:
    static constexpr size_t kMemorySize = 4096;

    struct Request {
        uint8_t command; // 0x43 read, 0x41 write, anything else as sent
        uint32_t address;
        uint32_t count;
        Bytes data; // the bytes written
        bool answered;
        bool operator==(const Request&) const = default;
    };

    std::array<uint8_t, kMemorySize> memory{};
    std::vector<Request> log;
    // Called with the index of the request in log (0 based) and the request; true leaves it
    // unanswered (and a write undone), as a controller that missed it.
    std::function<bool(size_t index, const Request&)> silent;

    // Binds the responder to the port; the responder must outlive the port's use.
    void attach(FakeSerialPort& port) {
        port.responder = [this](const Bytes& frame) { return answer(frame); };
    }

    Bytes answer(const Bytes& frame) {
        if (frame.size() < 5)
            return {};
        const uint8_t address = frame[0] & 0x7F;
        const uint8_t command = frame[3];
        Request r{command, 0, 0, {}, false};
        if ((command == 0x43 || command == 0x41) && frame.size() >= 8) {
            r.address = frame[4] | frame[5] << 8 | frame[6] << 16;
            if (command == 0x43)
                r.count = frame[7];
            else
                r.data.assign(frame.begin() + 7, frame.end() - 1);
            if (command == 0x41)
                r.count = static_cast<uint32_t>(r.data.size());
        }
        const size_t index = log.size();
        log.push_back(r);
        if (silent && silent(index, r))
            return {};
        if (r.address + r.count > kMemorySize)
            return {};
        if (command == 0x43) {
            Bytes data(1 + r.count); // a zero, then the bytes
            std::copy_n(memory.begin() + r.address, r.count, data.begin() + 1);
            log.back().answered = true;
            return zarnetReply(address, 0x44, data);
        }
        if (command == 0x41) {
            std::copy(r.data.begin(), r.data.end(), memory.begin() + r.address);
            log.back().answered = true;
            return zarnetReply(address, 0x42, {0x00, 0x00});
        }
        return {};
    }

    // The (address, count) of every logged request, in order.
    std::vector<std::pair<uint32_t, uint32_t>> ranges() const {
        std::vector<std::pair<uint32_t, uint32_t>> out;
        for (const auto& r : log)
            out.emplace_back(r.address, r.count);
        return out;
    }
};

} // namespace vextor::testing
