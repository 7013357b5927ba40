#include "sim/SimFramer.h"

#include "sim/SimController.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

namespace vextor::sim {
namespace {

using vextor::testing::withZarnetCrc;

Bytes modbus(Bytes f) {
    appendModbusCrc(f);
    return f;
}

struct Chunk {
    int64_t atMs;
    Bytes bytes;
};

struct FramerCase {
    const char* name;
    bool zarnet, modbus;
    std::vector<Chunk> chunks;
    std::vector<Frame> expected; // after a final silence
};

Bytes concat(const Bytes& a, const Bytes& b) {
    Bytes r = a;
    r.insert(r.end(), b.begin(), b.end());
    return r;
}

TEST(SimFramer, CutsTheStreamIntoRequests) {
    const Bytes status = withZarnetCrc({1, 0x06, 0x10, 0x19, 0, 0});
    const Bytes read = withZarnetCrc({2, 0x08, 0x11, 0x43, 0xA8, 0x04, 0x00, 0x02});
    const Bytes ident = modbus({2, 0x03, 0xEA, 0x61, 0x00, 0x03});
    const Bytes custom = modbus({2, 0x2B, 0x0E, 0x01, 0x00});
    const Bytes badCrc = [&] {
        Bytes b = status;
        b.back() ^= 0x40;
        return b;
    }();
    const FramerCase cases[] = {
        {"one frame in pieces",
         true,
         false,
         {{0, {status[0]}}, {1, Bytes(status.begin() + 1, status.end())}},
         {{FrameKind::Zarnet, status}}},
        {"two frames back to back",
         true,
         false,
         {{0, concat(status, read)}},
         {{FrameKind::Zarnet, status}, {FrameKind::Zarnet, read}}},
        {"a bad CRC spoils only its own frame",
         true,
         false,
         {{0, badCrc}, {50, status}},
         {{FrameKind::Zarnet, status}}},
        {"a stale partial frame is dropped at the next request",
         true,
         false,
         {{0, Bytes(read.begin(), read.begin() + 4)}, {100, status}},
         {{FrameKind::Zarnet, status}}},
        {"Modbus request of known length", false, true, {{0, ident}}, {{FrameKind::Modbus, ident}}},
        {"Modbus request of unknown length ends at the silence",
         false,
         true,
         {{0, custom}},
         {{FrameKind::Modbus, custom}}},
        {"a device-protocol request on a Modbus-only line", false, true, {{0, status}}, {}},
        {"a Modbus request on a device-protocol-only line", true, false, {{0, ident}}, {}},
        {"both on one line",
         true,
         true,
         {{0, status}, {30, ident}},
         {{FrameKind::Zarnet, status}, {FrameKind::Modbus, ident}}},
    };
    for (const FramerCase& c : cases) {
        SimFramer f;
        f.setProtocols(c.zarnet, c.modbus);
        std::vector<Frame> got;
        int64_t last = 0;
        for (const Chunk& chunk : c.chunks) {
            f.feed(chunk.bytes.data(), chunk.bytes.size(), chunk.atMs);
            for (Frame& fr : f.take(chunk.atMs))
                got.push_back(fr);
            last = chunk.atMs;
        }
        for (Frame& fr : f.take(last + SimFramer::kSilenceMs))
            got.push_back(fr);
        ASSERT_EQ(got.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].kind, c.expected[i].kind) << c.name;
            EXPECT_EQ(got[i].bytes, c.expected[i].bytes) << c.name;
        }
        EXPECT_EQ(f.pending(), 0u) << c.name;
    }
}

TEST(SimFramer, CompleteFrameIsTakenWithoutWaitingForSilence) {
    SimFramer f;
    const Bytes status = withZarnetCrc({1, 0x06, 0x10, 0x19, 0, 0});
    f.feed(status.data(), status.size(), 5);
    EXPECT_EQ(f.take(5).size(), 1u);
    EXPECT_FALSE(f.deadline());
    f.feed(status.data(), 3, 6);
    EXPECT_TRUE(f.take(6).empty());
    EXPECT_EQ(f.deadline(), 6 + SimFramer::kSilenceMs);
}

} // namespace
} // namespace vextor::sim
