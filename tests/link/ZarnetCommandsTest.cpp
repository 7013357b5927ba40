#include "link/ZarnetCommands.h"
#include "link/UserDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace vextor;
using namespace vextor::testing;

namespace {

constexpr uint8_t kAddr = 7;
constexpr uint8_t kNonce = 0xA5;

struct CommandCase {
    const char* name;
    std::function<bool(ZarnetLink&)> call;
    Bytes payload; // request bytes after the nonce, without the CRC
    uint8_t replyCode;
    Bytes replyData; // a good reply
    uint8_t replyFrom = kAddr;
    std::function<void(const ZarnetLink&)> checkOutputs = {};
    bool sendOnly = false;
};

uint8_t g_u8;
uint16_t g_u16;
uint8_t g_type, g_build;
std::array<uint8_t, 6> g_clock;
uint8_t g_buf[256];

std::vector<CommandCase> cases() {
    return {
        {"GetDeviceVersion",
         [](ZarnetLink& l) { return GetDeviceVersion(l, 0, g_type, g_u16, g_build); },
         {0x0D, 0x00, 0x00},
         0x00,
         {0x20, 0xC9, 0x00, 0x03},
         kAddr,
         [](const ZarnetLink&) {
             EXPECT_EQ(g_type, 0x20);
             EXPECT_EQ(g_u16, 201);
             EXPECT_EQ(g_build, 3);
         }},
        {"GetDeviceVersionPanel",
         [](ZarnetLink& l) { return GetDeviceVersion(l, 1, g_type, g_u16, g_build); },
         {0x0D, 0x00, 0x01},
         0x00,
         {0x20, 0xFF, 0xFF},
         kAddr,
         [](const ZarnetLink&) {
             EXPECT_EQ(g_u16, 0xFFFF);
             EXPECT_EQ(g_build, 0);
         }},
        {"SendSessionKey",
         [](ZarnetLink& l) { return SendSessionKey(l, 0x42); },
         {0x11, 0x42, 0x42},
         0x12,
         {0x42, 0x42},
         kAddr,
         [](const ZarnetLink& l) { EXPECT_EQ(l.SessionKey, 0x42); }},
        {"ChangeDeviceAddress",
         [](ZarnetLink& l) { return ChangeDeviceAddress(l, 5); },
         {0x0F, 0x05, 0x05},
         0x10,
         {0x05, 0x05},
         5},
        {"ResetDevice", [](ZarnetLink& l) { return ResetDevice(l); }, {0x17, 0x00, 0x00}, 0x18, {}},
        {"GetDeviceStatus",
         [](ZarnetLink& l) { return GetDeviceStatus(l, g_u8); },
         {0x19, 0x00, 0x00},
         0x1A,
         {0x80},
         kAddr,
         [](const ZarnetLink&) { EXPECT_EQ(g_u8, 0x80); }},
        {"ReadReplyDelay",
         [](ZarnetLink& l) { return ReadReplyDelay(l, g_u16); },
         {0x3F, 0x14, 0x00},
         0x3E,
         {0x99, 0x2C, 0x01},
         kAddr,
         [](const ZarnetLink&) { EXPECT_EQ(g_u16, 300); }},
        {"WriteReplyDelay",
         [](ZarnetLink& l) { return WriteReplyDelay(l, 300); },
         {0x3D, 0x14, 0x2C, 0x01},
         0x3E,
         {0x14, 0x2C}},
        {"ReadDeviceClock",
         [](ZarnetLink& l) { return ReadDeviceClock(l, g_clock); },
         {0x35, 0x00, 0x00},
         0x36,
         {23, 59, 58, 31, 12, 26},
         kAddr,
         [](const ZarnetLink&) {
             EXPECT_EQ(g_clock, (std::array<uint8_t, 6>{23, 59, 58, 31, 12, 26}));
         }},
        {"WriteDeviceClock",
         [](ZarnetLink& l) {
             return WriteDeviceClock(l, {23, 59, 0, 1, 2, 26});
         },
         {0x29, 23, 59, 0, 1, 2, 26},
         0x2A,
         {23, 59}},
        {"ReadMemory",
         [](ZarnetLink& l) { return ReadMemory(l, g_buf, 0x012345, 9); },
         {0x43, 0x45, 0x23, 0x01, 9},
         0x44,
         {0xEE, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         kAddr,
         [](const ZarnetLink&) {
             EXPECT_EQ(0, std::memcmp(g_buf, "\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9));
         }},
        {"WriteMemory",
         [](ZarnetLink& l) {
             const uint8_t d[3] = {0xAA, 0xBB, 0xCC};
             return WriteMemory(l, d, 1192, 3);
         },
         {0x41, 0xA8, 0x04, 0x00, 0xAA, 0xBB, 0xCC},
         0x42,
         {0x00, 0x00}},
        {"SetOutputState", [](ZarnetLink& l) { return SetOutputState(l, 3, 1); }, {0x15, 3, 1}, 0x16, {3, 1}},
        {"SetOutputValue",
         [](ZarnetLink& l) { return SetOutputValue(l, 2, 25.0f); },
         {0x15, 2, 0x80, 0x00, 0x00, 0xC8, 0x41},
         0x16,
         {2, 0x80}},
        {"ReadChannels",
         [](ZarnetLink& l) {
             return ReadChannels(l, ChannelGroup::DiscreteOut, {1, 2}, g_buf);
         },
         {0x57, 0x0C, 0x01, 0x00, 1, 2},
         0x58,
         {0x00, 1, 0, 0, 1, 2, 0, 0, 0},
         kAddr,
         [](const ZarnetLink&) {
             EXPECT_EQ(g_buf[4], 1);
             EXPECT_EQ(g_buf[5], 2);
         }},
        {"TransitSend",
         [](ZarnetLink& l) {
             return TransitSend(l, {9, 0x19, 0, 0});
         },
         {0xFD, 9, 0x19, 0, 0},
         0xFE,
         {0, 0}},
        {"TransitReadChannels",
         [](ZarnetLink& l) { return TransitReadChannels(l, 9, ChannelGroup::AnalogIn, {1}); },
         {0xFD, 9, 0x57, 0x04, 0x03, 0x00, 1},
         0xFE,
         {0, 0}},
        {"TransitStatus",
         [](ZarnetLink& l) { return TransitStatus(l, g_u8); },
         {0xFB, 0, 0},
         0xFC,
         {0x55},
         kAddr,
         [](const ZarnetLink&) { EXPECT_EQ(g_u8, 0x55); }},
        {"TransitFetch",
         [](ZarnetLink& l) { return TransitFetch(l, g_buf); },
         {0xF9, 0, 0},
         0xFA,
         {9, 5, 0x1A, 0x00, 0x12},
         kAddr,
         [](const ZarnetLink&) {
             EXPECT_EQ(g_buf[0], 9);
             EXPECT_EQ(g_buf[4], 0x12);
         }},
    };
}

struct CommandFixture : ::testing::Test {
    FakeSerialPort port;
    ZarnetLink link{&port};
    void SetUp() override {
        port.open("COM1", {});
        link.randomByte = [] { return kNonce; };
        link.DeviceAddress = kAddr;
    }
    Bytes expectedRequest(const Bytes& payload) const {
        Bytes f{kAddr, static_cast<uint8_t>(payload.size() + 3), kNonce};
        f.insert(f.end(), payload.begin(), payload.end());
        return withZarnetCrc(f);
    }
};

} // namespace

TEST_F(CommandFixture, EveryCommandSendsItsExactRequestAndAcceptsItsReply) {
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.name);
        port.writes.clear();
        port.replies = {zarnetReply(c.replyFrom, c.replyCode, c.replyData)};
        ASSERT_TRUE(c.call(link));
        ASSERT_EQ(port.writes.size(), 1u);
        EXPECT_EQ(port.writes[0], expectedRequest(c.payload));
        if (c.checkOutputs)
            c.checkOutputs(link);
    }
}

TEST_F(CommandFixture, EveryCommandRejectsBadReplies) {
    for (const auto& c : cases()) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<const char*, Bytes>> bad = {
            {"wrong code", zarnetReply(c.replyFrom, static_cast<uint8_t>(c.replyCode ^ 0x20), c.replyData)},
            {"wrong address", zarnetReply(static_cast<uint8_t>(c.replyFrom + 1), c.replyCode, c.replyData)},
            {"silence", {}},
        };
        Bytes badCrc = zarnetReply(c.replyFrom, c.replyCode, c.replyData);
        badCrc.back() ^= 0xFF;
        bad.push_back({"bad crc", badCrc});
        if (!c.replyData.empty()) {
            Bytes shortData(c.replyData.begin(), c.replyData.end() - 1);
            // A reply one byte short of what the command reads (the version's build byte is optional;
            // channel records and fetched frames have variable length).
            const std::string name = c.name;
            const bool variable = name == "ReadChannels" || name == "TransitFetch" ||
                                  (name.rfind("GetDeviceVersion", 0) == 0 && c.replyData.size() > 3);
            if (!variable)
                bad.push_back({"short", zarnetReply(c.replyFrom, c.replyCode, shortData)});
            Bytes wrongEcho = c.replyData;
            wrongEcho[0] ^= 0x01;
            const std::string n = c.name;
            if (n == "SendSessionKey" || n == "ChangeDeviceAddress" || n == "WriteDeviceClock" ||
                n == "WriteMemory" || n == "SetOutputState" || n == "SetOutputValue" || n == "TransitSend")
                bad.push_back({"wrong echo", zarnetReply(c.replyFrom, c.replyCode, wrongEcho)});
        }
        for (const auto& [what, reply] : bad) {
            SCOPED_TRACE(what);
            port.replies = {reply};
            EXPECT_FALSE(c.call(link));
        }
    }
}

TEST_F(CommandFixture, EchoMismatchesOfSecondBytesFail) {
    port.replies = {zarnetReply(kAddr, 0x2A, {23, 58})};
    EXPECT_FALSE(WriteDeviceClock(link, {23, 59, 0, 1, 1, 26}));
    port.replies = {zarnetReply(5, 0x10, {5, 4})};
    EXPECT_FALSE(ChangeDeviceAddress(link, 5));
    port.replies = {zarnetReply(kAddr, 0x10, {5, 5})}; // from the old address
    EXPECT_FALSE(ChangeDeviceAddress(link, 5));
    port.replies = {zarnetReply(kAddr, 0x3E, {0x14, 0x2D})};
    EXPECT_FALSE(WriteReplyDelay(link, 300));
}

TEST_F(CommandFixture, VersionBuildIsZeroInASevenByteReply) {
    uint8_t type = 0, build = 9;
    uint16_t version = 0;
    port.replies = {zarnetReply(kAddr, 0x00, {0x20, 0xC8, 0x00})};
    ASSERT_TRUE(GetDeviceVersion(link, 0, type, version, build));
    EXPECT_EQ(version, 200);
    EXPECT_EQ(build, 0);
}

TEST_F(CommandFixture, PollEventAcceptsAnyCodeAndAcknowledgesEvents) {
    uint8_t buf[256] = {};
    uint8_t kind = 9;
    size_t copied = 0;
    port.replies = {zarnetReply(kAddr, 0x0C, {0, 0x10, 1, 12, 30, 0, 5, 6, 26})};
    ASSERT_TRUE(PollEvent(link, buf, kind, &copied));
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(copied, 9u);
    EXPECT_EQ(buf[1], 0x10);
    ASSERT_EQ(port.writes.size(), 2u); // the poll and the acknowledgement, sent without waiting
    EXPECT_EQ(port.writes[1], expectedRequest({0x03, 0x00, 0x00}));

    port.writes.clear();
    port.replies = {zarnetReply(kAddr, 0x0E, {0, 0, 0x21, 0x03})};
    ASSERT_TRUE(PollEvent(link, buf, kind));
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(buf[2], 0x21);

    port.writes.clear();
    port.replies = {zarnetReply(kAddr, 0x77, {0xAB, 0xCD})};
    ASSERT_TRUE(PollEvent(link, buf, kind));
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(buf[0], 0xAB);
    EXPECT_EQ(buf[1], 0xCD);
    EXPECT_EQ(port.writes.size(), 1u);
}

TEST_F(CommandFixture, TransitFetchIsBoundedByTheReply) {
    uint8_t buf[256];
    std::memset(buf, 0xEE, sizeof buf);
    size_t copied = 0;
    port.replies = {zarnetReply(kAddr, 0xFA, {9, 200, 0x44})}; // inner length runs past the reply
    ASSERT_TRUE(TransitFetch(link, buf, &copied));
    EXPECT_EQ(copied, 3u);
    EXPECT_EQ(buf[3], 0xEE);
}

TEST_F(CommandFixture, SlaveMemoryOperations) {
    ManualClock clock;
    ScriptedDialogs dialogs;
    uint8_t out[4] = {};
    // Address 0x01234 goes out as 34 02 00; the inner reply 44 carries the data from inner index 4.
    port.replies = {zarnetReply(kAddr, 0xFE, {0, 0}), zarnetReply(kAddr, 0xFC, {0x55}),
                    zarnetReply(kAddr, 0xFA, {9, 8, 0x44, 0x00, 0xDE, 0xAD, 0xBE, 0xEF})};
    ASSERT_TRUE(SlaveReadMemory(link, 9, out, 0x01234, 4, &dialogs));
    EXPECT_EQ(port.writes[0], expectedRequest({0xFD, 9, 0x43, 0x34, 0x02, 0x00, 4}));
    EXPECT_EQ(out[0], 0xDE);
    EXPECT_EQ(out[3], 0xEF);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{600, 50}));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // The four failing steps, each with its message.
    const std::vector<std::pair<std::deque<Bytes>, QString>> failures = {
        {{zarnetReply(kAddr, 0xFE, {0, 1})}, "нет raOk 1"},
        {{zarnetReply(kAddr, 0xFE, {0, 0}), {}}, "нет raOk 2"},
        {{zarnetReply(kAddr, 0xFE, {0, 0}), zarnetReply(kAddr, 0xFC, {0x00})}, "данные не получены"},
        {{zarnetReply(kAddr, 0xFE, {0, 0}), zarnetReply(kAddr, 0xFC, {0x55}), {}}, "нет raOk 3"},
    };
    for (const auto& [replies, text] : failures) {
        dialogs.shown.clear();
        port.replies = replies;
        EXPECT_FALSE(SlaveReadMemory(link, 9, out, 0, 4, &dialogs));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0], text);
    }

    // A slave answer that is not a memory-read reply is no data.
    port.replies = {zarnetReply(kAddr, 0xFE, {0, 0}), zarnetReply(kAddr, 0xFC, {0x55}),
                    zarnetReply(kAddr, 0xFA, {9, 4, 0x99, 0x00})};
    EXPECT_FALSE(SlaveReadMemory(link, 9, out, 0, 4, &dialogs));

    // A write sends its data bytes after the address and needs 42 00 00 back.
    port.writes.clear();
    const uint8_t data[2] = {0x11, 0x22};
    port.replies = {zarnetReply(kAddr, 0xFE, {0, 0}), zarnetReply(kAddr, 0xFC, {0x55}),
                    zarnetReply(kAddr, 0xFA, {9, 5, 0x42, 0x00, 0x00})};
    ASSERT_TRUE(SlaveWriteMemory(link, 9, data, 0x10, 2, &dialogs));
    EXPECT_EQ(port.writes[0], expectedRequest({0xFD, 9, 0x41, 0x10, 0x00, 0x00, 0x11, 0x22}));
}
