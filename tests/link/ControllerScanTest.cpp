// The search for controllers on a scripted line: who is reported, what a stray or damaged reply
// counts for, the time-outs of a probe, slices and stopping.
#include "link/ControllerScan.h"
#include "link/ControllerMemory.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <map>

using namespace vextor;
using namespace vextor::testing;

namespace {

constexpr uint8_t kVersionCode = 0x0D;
constexpr uint8_t kReadMemoryCode = 0x43;

Bytes versionReply(uint8_t from, uint16_t version, uint8_t build) {
    return zarnetReply(from, 0x00, {0x20, uint8_t(version & 0xFF), uint8_t(version >> 8), build});
}

// A line of 3 (configuration 2,00), 17 (its configuration read never answered), 5 that answers as
// 6, 9 whose first reply is damaged, 11 whose every reply is; everyone else is silent.
struct ScriptedLine {
    FakeSerialPort port;
    ZarnetLink link{&port};
    std::map<uint8_t, int> asked;          // identity requests per address
    std::map<uint8_t, uint32_t> timeoutOf; // the read time-out constant of each request code's last use

    ScriptedLine() {
        port.open(QStringLiteral("scripted"), {});
        link.DeviceAddress = 42;
        port.responder = [this](const Bytes& request) -> Bytes {
            const uint8_t to = request[0];
            const uint8_t code = request[3];
            timeoutOf[code] = port.timeouts().constant;
            if (code == kReadMemoryCode)
                return to == 3 ? zarnetReply(3, 0x44, {0x00, 0xC8, 0x00}) : Bytes{};
            if (code != kVersionCode)
                return {};
            const int n = ++asked[to];
            switch (to) {
            case 3:
                return versionReply(3, 201, 3);
            case 17:
                return versionReply(17, 305, 0);
            case 5:
                return versionReply(6, 201, 3);
            case 9:
            case 11: {
                Bytes r = versionReply(to, 201, 1);
                if (to == 11 || n == 1)
                    r.back() ^= 0x5A;
                return r;
            }
            default:
                return {};
            }
        };
    }
};

TEST(ControllerScan, ReportsWhoAnswersFromTheAddressAskedAndCountsStrays) {
    ManualClock clock;
    ScriptedLine line;
    ControllerScan scan;
    std::vector<int> progress;
    scan.onAsked = [&](int a) { progress.push_back(a); };
    scan.step(line.link);

    ASSERT_TRUE(scan.finished());
    const std::vector<FoundController> expected = {
        {3, 0x20, 201, 3, uint16_t(200)},
        {9, 0x20, 201, 1, std::nullopt}, // found on its second probe; its configuration read went unanswered
        {17, 0x20, 305, 0, std::nullopt},
    };
    EXPECT_EQ(scan.found(), expected);
    EXPECT_EQ(scan.strayReplies(), 1); // 5 answering as 6
    EXPECT_EQ(progress.size(), 127u);
    EXPECT_EQ(progress.front(), 1);
    EXPECT_EQ(progress.back(), 127);
    // A silent address and a stray are asked once, a damaged reply twice.
    EXPECT_EQ(line.asked[100], 1);
    EXPECT_EQ(line.asked[5], 1);
    EXPECT_EQ(line.asked[11], 2);
    // The probes wait briefly, a found controller's configuration read the usual time; the port and
    // the link are left as they were.
    EXPECT_EQ(line.timeoutOf[kVersionCode], kScanTimeouts.constant);
    EXPECT_EQ(line.timeoutOf[kReadMemoryCode], kZarnetTimeouts.constant);
    EXPECT_EQ(line.port.timeouts().constant, kZarnetTimeouts.constant);
    EXPECT_EQ(line.link.DeviceAddress, 42);
}

TEST(ControllerScan, RunsInSlicesAndStopsWhenAsked) {
    ManualClock clock;
    ScriptedLine line;
    ControllerScan scan({2, 20});
    scan.step(line.link, 5);
    EXPECT_EQ(scan.asked(), 5);
    EXPECT_EQ(scan.nextAddress(), 7);
    ASSERT_EQ(scan.found().size(), 1u);
    EXPECT_EQ(line.port.timeouts().constant, kZarnetTimeouts.constant) << "restored between slices";

    int stops = 0;
    scan.step(line.link, 0, [&] { return ++stops > 4; }); // 7..10, then stop
    EXPECT_EQ(scan.nextAddress(), 11);
    EXPECT_FALSE(scan.finished());
    EXPECT_EQ(line.asked.count(11), 0u);
    scan.step(line.link);
    EXPECT_TRUE(scan.finished());
    EXPECT_EQ(scan.asked(), 19);
    EXPECT_EQ(scan.found().back().address, 17);
}

TEST(ControllerScan, Ranges) {
    ManualClock clock;
    struct Case {
        int first, last;
        bool valid;
    } cases[] = {{1, 127, true}, {5, 5, true}, {0, 10, false}, {1, 128, false}, {10, 9, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.first << ".." << c.last);
        EXPECT_EQ(validScanRange(c.first, c.last), c.valid);
        ScriptedLine line;
        ControllerScan scan({c.first, c.last});
        scan.step(line.link);
        EXPECT_TRUE(scan.finished());
        EXPECT_EQ(line.port.writes.empty(), !c.valid) << "an impossible range sends nothing";
    }
}

} // namespace
