// The monitor's polling cycle: what each turn sends, what it makes of the replies, and how the
// window's view shows it. Crafted replies on a scripted port where a reply's exact bytes matter; the
// virtual controller where the answer of a real device is the point.
#include "monitor/Poller.h"
#include "monitor/ChannelRecords.h"
#include "monitor/MonitorView.h"
#include "sim/SimHarness.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"

#include "link/ZarnetCommands.h"
#include "link/ZarnetLink.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>

namespace vextor::monitor {
namespace {

using testing::Bytes;
using testing::FakeSerialPort;
using testing::ManualClock;
using testing::zarnetReply;

constexpr uint8_t kAddress = 1;

Bytes floatBytes(float v) {
    Bytes b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A controller that answers each command with the reply given for its code (silence for the rest),
// and remembers every request's payload.
struct Crafted {
    ManualClock clock;
    FakeSerialPort port;
    ZarnetLink link{&port};
    std::map<uint8_t, Bytes> replies; // by command code
    std::vector<Bytes> payloads;

    Crafted() {
        port.open("crafted", {});
        link.DeviceAddress = kAddress;
        link.randomByte = [] { return uint8_t{0x21}; };
        replies[0x01] = zarnetReply(kAddress, 0x0A, {0, 0}); // no event
        port.responder = [this](const Bytes& request) {
            payloads.emplace_back(request.begin() + 3, request.end() - 1);
            const auto it = replies.find(request[3]);
            return it == replies.end() ? Bytes{} : it->second;
        };
    }
    void channelsReply(const Bytes& data) { replies[0x57] = zarnetReply(kAddress, 0x58, data); }
};

PollSettings ticking(std::initializer_list<int> analogIn) {
    PollSettings s;
    for (int k : analogIn)
        s.channels.analogIn[static_cast<size_t>(k - 1)] = true;
    return s;
}

TEST(PollerCycle, NoBoxTickedSendsOnlyTheEventPollAndPlotsNothing) {
    sim::testing::SimHarness h;
    Poller poller;
    const MonitorRecord r = poller.runTick(h.link);
    ASSERT_EQ(h.zarnetPort.writes.size(), 1u);
    EXPECT_EQ((Bytes(h.zarnetPort.writes[0].begin() + 3, h.zarnetPort.writes[0].end() - 1)),
              (Bytes{0x01, 0xFF, 0x01}));
    EXPECT_EQ(r.steps, 9);
    EXPECT_EQ(h.clock.sleeps, std::vector<int>(8, 20)) << "nine steps, 20 ms apart";
    ASSERT_TRUE(r.chart.has_value());
    EXPECT_TRUE(r.chart->empty());
    EXPECT_EQ(r.errors, 0);
    EXPECT_EQ(r.noEventCounter, 1u);
    EXPECT_EQ(poller.stepCounter(), 0);
    EXPECT_EQ(poller.sampleCounter(), 1);
}

TEST(PollerCycle, AnalogInputsTwoAndFiveGoInOneRequestAndOnlyTheyChange) {
    sim::testing::SimHarness h;
    Poller poller(ticking({2, 5}));
    const MonitorRecord r = poller.runTick(h.link);
    ASSERT_EQ(h.zarnetPort.writes.size(), 2u);
    const Bytes& request = h.zarnetPort.writes[1];
    EXPECT_EQ((Bytes(request.begin() + 3, request.end() - 1)), (Bytes{0x57, 0x04, 0x03, 0x00, 2, 5}));
    const sim::SimChannels& channels = h.controller().channels();
    for (int k = 1; k <= kAnalogInputs; ++k) {
        SCOPED_TRACE(k);
        const bool asked = k == 2 || k == 5;
        EXPECT_EQ(r.analogIn[size_t(k - 1)].has_value(), asked);
        EXPECT_EQ(r.chart->y[size_t(k)].has_value(), asked);
        if (asked) {
            EXPECT_FLOAT_EQ(*r.analogIn[size_t(k - 1)], channels.analogInput(k, 0));
            EXPECT_FLOAT_EQ(*r.chart->y[size_t(k)], channels.analogInput(k, 0));
        }
    }
    MonitorView view;
    view.apply(r);
    EXPECT_EQ(view.analogInText[1], valueText(channels.analogInput(2, 0)));
    EXPECT_TRUE(view.analogInText[1].contains(',')) << view.analogInText[1].toStdString();
    EXPECT_TRUE(view.analogInText[0].isEmpty());
}

TEST(PollerCycle, ChartValueIsScaledByItsTrace) {
    Crafted c;
    c.channelsReply(cat({{0x04, 2, 3, 0}, floatBytes(20.0f)}));
    PollSettings s = ticking({2});
    s.scales[2] = TraceScale{2.0f, -10.0f};
    Poller poller(s);
    const MonitorRecord r = poller.runTick(c.link);
    EXPECT_FLOAT_EQ(*r.analogIn[1], 20.0f) << "the field shows the raw value";
    EXPECT_FLOAT_EQ(*r.chart->y[2], 30.0f);
}

// Replies to a request for analog inputs 2 and 5 (or discrete outputs 1 and 3), crafted record by
// record: only whole records of the channels asked for count.
TEST(PollerCycle, ChannelRecordsFromCraftedReplies) {
    struct Case {
        const char* name;
        bool discrete;
        Bytes data; // after the reply code: the group byte, then the records
        std::map<int, float> expected;
        int errors = 0;
    };
    const Bytes v21 = floatBytes(21.5f), v7 = floatBytes(7.25f);
    const std::vector<Case> cases = {
        {"both", false, cat({{0x04, 2, 3, 0}, v21, {5, 3, 0}, v7}), {{2, 21.5f}, {5, 7.25f}}},
        {"second cut short", false, cat({{0x04, 2, 3, 0}, v21, {5, 3, 0, 0x00, 0x00}}), {{2, 21.5f}}},
        {"only a channel byte left", false, cat({{0x04, 2, 3, 0}, v21, {5}}), {{2, 21.5f}}},
        {"no value of the single kind",
         false,
         cat({{0x04, 2, 0, 0}, {5, 3, 0}, v7}),
         {{2, -1000.0f}, {5, 7.25f}}},
        {"foreign channels skipped by their length",
         false,
         cat({{0x04, 0, 3, 0}, v21, {7, 3, 0}, v21, {3, 3, 0}, v21, {200, 1, 0}, {5, 3, 0}, v7}),
         {{5, 7.25f}}},
        {"implausible pattern", false, cat({{0x04, 2, 3, 0}, {0x01, 0x02, 0x03, 0x7F}}), {{2, -274.55f}}},
        {"another group's reply", false, cat({{0x05, 2, 3, 0}, v21}), {}, 1},
        {"only the group byte", false, {0x04}, {}},
        {"discrete states by bit 0",
         true,
         {0x0C, 1, 1, 0, 0x03, 9, 1, 0, 1, 3, 1, 0, 0x02},
         {{1, 1}, {3, 0}}},
        {"discrete record cut short", true, {0x0C, 1, 1, 0, 0x01, 3, 1, 0}, {{1, 1}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Crafted c;
        c.channelsReply(k.data);
        PollSettings s;
        if (k.discrete) {
            s.channels.discreteOut[0] = s.channels.discreteOut[2] = true;
        } else {
            s.channels.analogIn[1] = s.channels.analogIn[4] = true;
        }
        Poller poller(s);
        const MonitorRecord r = poller.runTick(c.link);
        EXPECT_EQ(r.errors, k.errors);
        std::map<int, float> got;
        for (int ch = 1; ch <= 6; ++ch) {
            if (k.discrete && r.discreteOut[size_t(ch - 1)])
                got[ch] = *r.discreteOut[size_t(ch - 1)] ? 1.0f : 0.0f;
            if (!k.discrete && r.analogIn[size_t(ch - 1)])
                got[ch] = *r.analogIn[size_t(ch - 1)];
        }
        EXPECT_EQ(got, k.expected);
    }
}

TEST(PollerEvents, EventLinesCountersAndTheAcknowledgement) {
    Crafted c;
    c.replies[0x01] = zarnetReply(kAddress, 0x0C, {1, 2, 3, 9, 5, 7, 1, 2, 24});
    Poller poller;
    MonitorRecord r = poller.runTick(c.link);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].line, "1 2 3   09:05:07  01.02.24");
    EXPECT_EQ(r.noEventCounter, 0u);
    ASSERT_GE(c.payloads.size(), 2u);
    EXPECT_EQ(c.payloads[1], (Bytes{0x03, 0x00, 0x00})) << "acknowledged at once";

    // The controller's flag in the second's top bit is no part of the time.
    c.replies[0x01] = zarnetReply(kAddress, 0x0C, {0, 203, 0, 23, 59, 0x80 | 58, 31, 12, 99});
    r = poller.runTick(c.link);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].line, "0 203 0   23:59:58  31.12.99");

    c.clock.sleeps.clear();
    c.replies[0x01] = zarnetReply(kAddress, 0x0E, {0, 0, 3, 45});
    r = poller.runTick(c.link);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.events[0].line, "IC a=03 sw=45");
    EXPECT_EQ(c.clock.sleeps.front(), 50);

    // An event reply too short for its record shows no line made of stale bytes.
    c.replies[0x01] = zarnetReply(kAddress, 0x0C, {1, 2, 3});
    r = poller.runTick(c.link);
    EXPECT_TRUE(r.events.empty());

    c.replies[0x01] = zarnetReply(kAddress, 0x0A, {0, 0});
    poller.runTick(c.link);
    r = poller.runTick(c.link);
    EXPECT_EQ(r.noEventCounter, 2u);

    MonitorView view;
    view.apply(r);
    EXPECT_TRUE(view.eventLines.isEmpty());
}

TEST(PollerErrors, TheErrorLabelCountsFailedExchangesAndStartsAgainAfterAClick) {
    Crafted c;
    c.replies.clear(); // silence: every exchange fails
    Poller poller(ticking({1, 3}));
    MonitorView view;
    EXPECT_FALSE(view.errorLabel.visible());
    EXPECT_EQ(view.errorLabel.text(), "Ошибок связи 000000");

    const MonitorRecord r = poller.runTick(c.link);
    EXPECT_EQ(r.errors, 2) << "the event poll and the analog inputs";
    EXPECT_EQ(r.steps, 9) << "a failed exchange never stops the cycle";
    view.apply(r);
    EXPECT_TRUE(view.errorLabel.visible());
    EXPECT_EQ(view.errorLabel.text(), "Ошибок связи 2");

    view.errorLabel.reset();
    EXPECT_FALSE(view.errorLabel.visible());
    PollSettings quiet;
    poller.setSettings(quiet);
    view.apply(poller.runTick(c.link));
    EXPECT_TRUE(view.errorLabel.visible());
    EXPECT_EQ(view.errorLabel.text(), "Ошибок связи 1");
}

TEST(PollerTurn, AStopMidCycleResumesWhereItLeft) {
    Crafted c;
    Poller poller;
    int allowed = 3;
    MonitorRecord r = poller.runTick(c.link, [&] { return allowed-- > 0; });
    EXPECT_EQ(r.steps, 3);
    EXPECT_FALSE(r.chart.has_value());
    EXPECT_EQ(poller.stepCounter(), 3);
    r = poller.runTick(c.link);
    EXPECT_EQ(r.steps, 6) << "the rest of the cycle";
    ASSERT_TRUE(r.chart.has_value());
    EXPECT_EQ(r.chart->x, 0);
}

// The slave's analog input 2 through the controller's transit service: the request, a tick that
// only asks whether the answer is there, then the answer, then the rest of the cycle and the chart.
TEST(PollerSlave, TheTurnLeavesAfterEachWaitForTheSlave) {
    sim::testing::SimHarness h;
    PollSettings s;
    s.channels.slave.address = 1;
    s.channels.slave.analogIn = {true, 2};
    Poller poller(s);
    MonitorView view;

    MonitorRecord r = poller.runTick(h.link);
    EXPECT_EQ(r.steps, 7) << "steps 0 to 5, then one wait";
    EXPECT_TRUE(r.waitCounted);
    EXPECT_EQ(r.waitCounter, 1u);
    EXPECT_FALSE(r.chart.has_value());
    view.apply(r);
    EXPECT_EQ(view.waitCounterText(), "1");

    h.clock.now += 1000;
    r = poller.runTick(h.link);
    EXPECT_EQ(r.steps, 1) << "the answer is taken and the turn ends";
    ASSERT_TRUE(r.slave.analogIn.has_value());
    const float slaveValue = h.controller().slave(1)->channels().analogInput(2, h.clock.now);
    EXPECT_NEAR(*r.slave.analogIn, slaveValue, 0.5f);
    EXPECT_EQ(r.slave.noAnswerShown, false);
    EXPECT_FALSE(poller.transitWaiting());

    h.clock.now += 1000;
    r = poller.runTick(h.link);
    EXPECT_EQ(r.steps, 3);
    ASSERT_TRUE(r.chart.has_value());
    EXPECT_EQ(r.chart->y[kSlaveAnalogInSeries], poller.values().slaveAnalogIn);
}

TEST(PollerSlave, ASlaveThatNeverAnswersCountsWaitsTickAfterTick) {
    sim::testing::SimHarness h;
    PollSettings s;
    s.channels.slave.address = 9; // nobody there
    s.channels.slave.discreteOut = {true, 1};
    Poller poller(s);
    poller.runTick(h.link);
    for (uint32_t tick = 1; tick <= 3; ++tick) {
        h.clock.now += 1000;
        const MonitorRecord r = poller.runTick(h.link);
        EXPECT_EQ(r.steps, 1);
        EXPECT_EQ(r.waitCounter, tick);
    }
    // "Старт" gives up the wait: the cycle goes on from where it was.
    poller.start();
    const MonitorRecord r = poller.runTick(h.link);
    EXPECT_TRUE(r.chart.has_value());
}

// The slave's answer as the controller hands it over, crafted: the inner frame's code, group and
// record decide what the window shows.
TEST(PollerSlave, AnswersOfEveryKind) {
    struct Case {
        const char* name;
        int step; // the slave step that asks
        bool lintra;
        Bytes inner; // address, length, code, group, record
        SlaveNews expected;
    };
    const Bytes v = floatBytes(42.5f);
    const std::vector<Case> cases = {
        {"refused", 5, false, {1, 4, 10, 4}, SlaveNews{true, {}, {}, {}, false, {}}},
        {"analog single", 5, false, cat({{1, 11, 0x58, 4, 2, 3, 0}, v}),
         SlaveNews{false, {}, {}, 42.5f, false, {}}},
        {"analog in 256ths",
         5,
         false,
         {1, 11, 0x58, 4, 2, 6, 0, 0x80, 0xFE, 0, 0},
         SlaveNews{false, {}, {}, -1.5f, false, {}}},
        {"analog of another kind",
         5,
         false,
         {1, 11, 0x58, 4, 2, 9, 0, 0, 0, 0, 0},
         SlaveNews{false, {}, {}, {}, true, {}}},
        {"analog output", 6, false, cat({{1, 11, 0x58, 5, 1, 3, 0}, v}),
         SlaveNews{false, {}, {}, {}, false, 42.5f}},
        {"input on as 35", 7, false, {1, 8, 0x58, 2, 1, 1, 0, 35}, SlaveNews{false, true, {}, {}, false, {}}},
        {"input off for a Lintra",
         7,
         true,
         {1, 10, 0x58, 2, 1, 1, 0, 1, 0, 0},
         SlaveNews{false, false, {}, {}, false, {}}},
        {"input on for a Lintra",
         7,
         true,
         {1, 10, 0x58, 2, 1, 1, 0, 0, 0, 35},
         SlaveNews{false, true, {}, {}, false, {}}},
        {"output on", 8, false, {1, 8, 0x58, 12, 1, 1, 0, 1}, SlaveNews{false, {}, true, {}, false, {}}},
        {"answer cut short", 5, false, {1, 11, 0x58, 4, 2, 3, 0}, SlaveNews{false, {}, {}, {}, true, {}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Crafted c;
        c.replies[0xFD] = zarnetReply(kAddress, 0xFE, {0, 0});
        c.replies[0xFB] = zarnetReply(kAddress, 0xFC, {0x55});
        c.replies[0xF9] = zarnetReply(kAddress, 0xFA, k.inner);
        PollSettings s;
        s.channels.slave.address = 1;
        s.channels.slave.lintra = k.lintra;
        SlaveChannel* channels[] = {&s.channels.slave.analogIn, &s.channels.slave.analogOut,
                                    &s.channels.slave.discreteIn, &s.channels.slave.discreteOut};
        *channels[k.step - 5] = {true, 1};
        Poller poller(s);
        // The answer comes in the turn that asked, or (after the last step) in the next one.
        const MonitorRecord first = poller.runTick(c.link);
        const MonitorRecord second = poller.runTick(c.link);
        EXPECT_EQ(first.slave != SlaveNews{} ? first.slave : second.slave, k.expected);
    }
}

} // namespace
} // namespace vextor::monitor
