#include "SimHarness.h"

#include "link/ZarnetCommands.h"
#include "sim/SimChannels.h"

#include <cmath>
#include <gtest/gtest.h>

namespace vextor::sim::testing {
namespace {

std::vector<float> analogValues(const uint8_t* records, size_t length) {
    std::vector<float> values;
    for (size_t p = 1; p + 7 <= length; p += 7)
        values.push_back(floatAt(records + p + 3));
    return values;
}

TEST(SimChannelsRead, AnalogInputsArePlausibleAndDriftSlowly) {
    SimHarness h;
    uint8_t buf[kFrameBufferSize];
    size_t n = 0;
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::AnalogIn, {1, 2, 3, 4, 5, 6}, buf, &n));
    EXPECT_EQ(n, 1 + 6 * 7u);
    EXPECT_EQ(buf[0], 0x04);
    const std::vector<float> first = analogValues(buf, n);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(buf[1 + 7 * k], k + 1);
        EXPECT_EQ(buf[2 + 7 * k], 3) << "value type: a float follows";
        EXPECT_GT(first[k], -30.0f);
        EXPECT_LT(first[k], 100.0f);
    }
    h.clock.now += 1000;
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::AnalogIn, {1, 2, 3, 4, 5, 6}, buf, &n));
    const std::vector<float> second = analogValues(buf, n);
    for (size_t k = 0; k < 6; ++k)
        EXPECT_LT(std::fabs(second[k] - first[k]), 0.5f) << "input " << k + 1;
    h.clock.now += 120'000;
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::AnalogIn, {1, 2, 3, 4, 5, 6}, buf, &n));
    EXPECT_NE(analogValues(buf, n), first) << "the values do move";
}

TEST(SimChannelsRead, OnlyRequestedChannelsInRequestOrder) {
    SimHarness h;
    uint8_t buf[kFrameBufferSize];
    size_t n = 0;
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::AnalogIn, {5, 9, 2}, buf, &n));
    // 5 with a value, 9 (no such input) as a three-byte record without one, then 2.
    ASSERT_EQ(n, 1 + 7 + 3 + 7u);
    EXPECT_EQ(buf[1], 5);
    EXPECT_EQ((Bytes{buf[8], buf[9], buf[10]}), (Bytes{9, 0, 0}));
    EXPECT_EQ(buf[11], 2);
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::DiscreteIn, {1, 6, 7}, buf, &n));
    EXPECT_EQ(n, 1 + 2 * 4u) << "unknown discrete channels are left out";
}

TEST(SimChannelsRead, ReplyStaysWithinOneFrame) {
    SimHarness h;
    std::vector<uint8_t> many(200, 1);
    uint8_t buf[kFrameBufferSize];
    size_t n = 0;
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::AnalogIn, many, buf, &n));
    EXPECT_LE(h.lastReply.size(), 256u);
    EXPECT_EQ((n - 1) % 7, 0u);
}

TEST(SimChannelsOutputs, OutputCommandsChangeWhatIsRead) {
    SimHarness h;
    ASSERT_TRUE(SetOutputState(h.link, 3, 1));
    ASSERT_TRUE(SetOutputValue(h.link, 2, 7.25f));
    uint8_t buf[kFrameBufferSize];
    size_t n = 0;
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::DiscreteOut, {1, 3}, buf, &n));
    EXPECT_EQ((Bytes(buf, buf + n)), (Bytes{0x0C, 1, 1, 0, 0, 3, 1, 0, 1}));
    ASSERT_TRUE(ReadChannels(h.link, ChannelGroup::AnalogOut, {2}, buf, &n));
    EXPECT_EQ(analogValues(buf, n), std::vector<float>{7.25f});

    // Outputs the controller does not have, and voltages it cannot drive, are refused.
    EXPECT_FALSE(SetOutputState(h.link, 7, 1));
    EXPECT_FALSE(SetOutputValue(h.link, 3, 1.0f));
    EXPECT_FALSE(SetOutputValue(h.link, 1, 10.5f));
    EXPECT_FALSE(SetOutputValue(h.link, 1, std::nanf("")));
    EXPECT_FLOAT_EQ(h.controller().channels().analogOutput(1), 3.5f);
}

TEST(SimTransit, SlaveMemoryAndChannelsThroughTheController) {
    SimHarness h;
    const uint8_t data[] = {0x11, 0x22, 0x33};
    ASSERT_TRUE(SlaveWriteMemory(h.link, 2, data, 0x234, 3, nullptr));
    uint8_t back[3] = {};
    ASSERT_TRUE(SlaveReadMemory(h.link, 2, back, 0x234, 3, nullptr));
    EXPECT_EQ(Bytes(back, back + 3), Bytes(data, data + 3));
    EXPECT_EQ(h.controller().slave(2)->memory()[0x234], 0x11);
    EXPECT_EQ(h.controller().slave(1)->memory()[0x234], 0) << "each slave has its own memory";

    // A relayed channel read answers with the slave's own records once its answer is ready.
    ASSERT_TRUE(TransitReadChannels(h.link, 1, ChannelGroup::AnalogIn, {3}));
    uint8_t status = 0;
    ASSERT_TRUE(TransitStatus(h.link, status));
    EXPECT_NE(status, kTransitReady) << "the slave line needs its time";
    h.clock.now += SimController::kTransitTurnaroundMs;
    ASSERT_TRUE(TransitStatus(h.link, status));
    ASSERT_EQ(status, kTransitReady);
    uint8_t inner[kFrameBufferSize];
    size_t n = 0;
    ASSERT_TRUE(TransitFetch(h.link, inner, &n));
    // inner address, length, code 58, group, channel, value type 3, one byte, float
    ASSERT_GE(n, 11u);
    EXPECT_EQ((Bytes{inner[0], inner[2], inner[3], inner[4], inner[5]}), (Bytes{1, 0x58, 0x04, 3, 3}));
    EXPECT_FLOAT_EQ(floatAt(inner + 7), h.controller().slave(1)->channels().analogInput(3, h.clock.now));
}

TEST(SimTransit, SlaveOutputCommandIsEchoed) {
    SimHarness h;
    ASSERT_TRUE(TransitSend(h.link, {1, 0x15, 4, 1}));
    h.clock.now += SimController::kTransitTurnaroundMs;
    uint8_t inner[kFrameBufferSize];
    size_t n = 0;
    ASSERT_TRUE(TransitFetch(h.link, inner, &n));
    EXPECT_EQ((Bytes{inner[0], inner[3], inner[4]}), (Bytes{1, 4, 1}));
    EXPECT_TRUE(h.controller().slave(1)->channels().discreteOutput(4));
}

TEST(SimTransit, UnknownSlaveNeverBecomesReady) {
    SimHarness h;
    uint8_t buf[4];
    EXPECT_FALSE(SlaveReadMemory(h.link, 9, buf, 0, 4, nullptr));
    uint8_t status = 0;
    ASSERT_TRUE(TransitStatus(h.link, status));
    EXPECT_NE(status, kTransitReady);
}

} // namespace
} // namespace vextor::sim::testing
