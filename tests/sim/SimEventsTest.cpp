#include "SimHarness.h"

#include "link/ZarnetCommands.h"

#include <gtest/gtest.h>

namespace vextor::sim::testing {
namespace {

Bytes slot(const SimController& c, uint32_t k) {
    const auto first = c.memory().begin() + kEventRegionAddress + k * kEventRecordSize;
    return Bytes(first, first + kEventRecordSize);
}

// What the event viewer accepts as a good record.
bool validRecord(const Bytes& r) {
    return (r[0] & 0x80) == 0 && r[3] <= 23 && r[4] <= 59 && (r[5] & 0x7F) <= 59 && r[6] >= 1 && r[6] <= 31 &&
           r[7] >= 1 && r[7] <= 12 && r[8] <= 99;
}

TEST(SimEvents, RegionHoldsTheRequestedHistoryInTimeOrder) {
    for (int count : {0, 1, 40, 682}) {
        ControllerSettings s;
        s.eventCount = count;
        SimController c(s, smallImage(), kStartClock, 0);
        int64_t previous = 0;
        for (int k = 0; k < count; ++k) {
            const Bytes r = slot(c, k);
            ASSERT_TRUE(validRecord(r)) << "count " << count << " slot " << k;
            const int64_t at = SimClock::toSeconds({2000 + r[8], r[7], r[6], r[3], r[4], r[5]});
            EXPECT_GE(at, previous) << "slot " << k;
            EXPECT_LE(at, SimClock::toSeconds(kStartClock));
            previous = at;
        }
        if (count > 0) {
            EXPECT_EQ(slot(c, 0)[1], EventStart);
            EXPECT_EQ(slot(c, 0)[2], StartByPower);
        }
        for (uint32_t k = count; k < kEventSlots; ++k)
            ASSERT_EQ(slot(c, k), Bytes(9, 0xFF)) << "unwritten slot " << k;
    }
}

TEST(SimEvents, HistoryIsReproducibleFromTheSeed) {
    ControllerSettings s;
    s.seed = 42;
    SimController a(s, smallImage(), kStartClock, 0), b(s, smallImage(), kStartClock, 0);
    s.seed = 43;
    SimController c(s, smallImage(), kStartClock, 0);
    EXPECT_EQ(a.memory(), b.memory());
    EXPECT_NE(a.memory(), c.memory());
}

TEST(SimEvents, PollDeliversNewEventsUntilAcknowledged) {
    ControllerSettings s;
    s.eventCount = 10;
    SimHarness h({s});
    uint8_t data[kFrameBufferSize];
    uint8_t kind = 0xEE;
    size_t copied = 0;
    ASSERT_TRUE(PollEvent(h.link, data, kind, &copied));
    EXPECT_EQ(kind, 0) << "nothing happened yet";

    // Two minutes on, new events have been logged from the next slot on. Polled without an
    // acknowledgement the first one comes again; acknowledged, it is gone.
    h.clock.now = 120'000;
    auto pollBody = [&h] {
        EXPECT_TRUE(h.link.transact({0x01, 0xFF, 0x01}));
        return Bytes(h.link.RxBuffer.begin() + 2, h.link.RxBuffer.begin() + h.link.RxLength - 1);
    };
    const Bytes first = pollBody();
    const Bytes logged = slot(h.controller(), 10);
    EXPECT_TRUE(validRecord(logged));
    Bytes expected{0x0C};
    expected.insert(expected.end(), logged.begin(), logged.end());
    EXPECT_EQ(first, expected);
    EXPECT_EQ(pollBody(), expected);
    ASSERT_TRUE(AcknowledgeEvent(h.link));
    EXPECT_NE(pollBody(), expected);

    // The master's own poll acknowledges at once; whatever is queued drains.
    kind = 0xEE;
    for (int i = 0; i < 100 && kind != 0; ++i) {
        ASSERT_TRUE(PollEvent(h.link, data, kind, &copied));
        if (kind == 2) {
            EXPECT_EQ(copied, 4u) << "an input change carries address and switch bytes";
            EXPECT_EQ(data[2], 1);
        }
    }
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(h.controller().pendingEvents(), 0u);
}

TEST(SimEvents, WithoutSpontaneousEventsTheBlackBoxStaysAsItIs) {
    ControllerSettings s;
    s.eventCount = 682;
    s.eventIntervalMs = 0;
    SimHarness h({s});
    const Bytes before = h.controller().memory();
    h.clock.now = 3 * 3600 * 1000;
    uint8_t data[kFrameBufferSize];
    uint8_t kind = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(PollEvent(h.link, data, kind));
        EXPECT_NE(kind, 1);
    }
    EXPECT_EQ(h.controller().memory(), before);
}

TEST(SimEvents, KeyAddressChangeAndResetAreLogged) {
    ControllerSettings s;
    s.eventCount = 5;
    SimHarness h({s});
    ASSERT_TRUE(SendSessionKey(h.link, 0x21));
    ASSERT_TRUE(ChangeDeviceAddress(h.link, 4));
    h.link.DeviceAddress = 4;
    ASSERT_TRUE(ResetDevice(h.link));
    const SimController& c = h.controller(4);
    EXPECT_EQ(slot(c, 5)[1], EventNewKey);
    EXPECT_EQ(slot(c, 6)[1], EventAddressChanged);
    EXPECT_EQ(slot(c, 6)[2], 4);
    EXPECT_EQ(slot(c, 7)[1], EventStart);
    EXPECT_EQ(slot(c, 7)[2], StartByCommand);
    const Bytes start = slot(c, 7);
    EXPECT_EQ(Bytes(start.begin() + 3, start.end()), (Bytes{12, 30, 0, 15, 3, 24}));
}

TEST(SimEvents, RegionWrapsAroundWhenFull) {
    ControllerSettings s;
    s.eventCount = 682;
    SimHarness h({s});
    const Bytes secondBefore = slot(h.controller(), 1);
    ASSERT_TRUE(ResetDevice(h.link));
    EXPECT_EQ(slot(h.controller(), 0)[1], EventStart);
    EXPECT_EQ(slot(h.controller(), 0)[2], StartByCommand);
    EXPECT_EQ(slot(h.controller(), 1), secondBefore);
}

} // namespace
} // namespace vextor::sim::testing
