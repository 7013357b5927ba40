// The frame tap of the link and the Modbus master: what each kind of reply is called, which bytes are
// told, the trace line, and the bounded ring the traffic window shows.
#include "link/FrameTap.h"
#include "link/FrameTableModel.h"
#include "link/ModbusMaster.h"
#include "link/ZarnetLink.h"
#include "support/FakeSerialPort.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

namespace {

QByteArray bytesOf(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

Bytes modbusWithCrc(Bytes f) {
    const uint16_t crc = ModbusCrc16(f.data(), f.size());
    f.push_back(static_cast<uint8_t>(crc & 0xFF));
    f.push_back(static_cast<uint8_t>(crc >> 8));
    return f;
}

struct Recorder {
    std::vector<LinkFrame> frames;
    FrameTap tap{[this](const LinkFrame& f) { frames.push_back(f); }};
};

} // namespace

TEST(FrameTap, EachDeviceProtocolReplyGetsItsVerdictAndItsBytesAsReceived) {
    FakeSerialPort port;
    port.open("COM1", {});
    ZarnetLink link{&port};
    link.randomByte = [] { return uint8_t{0x5A}; };
    link.DeviceAddress = 5;
    Recorder rec;
    link.setTap(&rec.tap);

    const Bytes good = zarnetReply(5, 0x1A, {0x81});
    Bytes badCrc = good;
    badCrc.back() ^= 0x01;
    // A session reply: bit 7 in the address byte, data scrambled with key ^ nonce, CRC over the wire bytes.
    const uint8_t k = 0x3C ^ 0x5A;
    const Bytes scrambled = withZarnetCrc({0x85, 0x04, uint8_t(0x1A ^ k), uint8_t(0x81 ^ k)});
    Bytes scrambledBadCrc = scrambled;
    scrambledBadCrc.back() ^= 0x01;
    const struct {
        const char* name;
        Bytes reply;
        size_t told; // bytes of the reply the tap sees
        FrameVerdict verdict;
        bool scrambled;
    } cases[] = {
        {"good", good, good.size(), FrameVerdict::Good, false},
        {"other device", zarnetReply(3, 0x1A, {0x81}), good.size(), FrameVerdict::WrongAddress, false},
        {"bad CRC", badCrc, badCrc.size(), FrameVerdict::BadCrc, false},
        {"cut short", Bytes(good.begin(), good.end() - 1), good.size() - 1, FrameVerdict::Short, false},
        {"one byte", {0x05}, 1, FrameVerdict::Short, false},
        {"silence", {}, 0, FrameVerdict::NoReply, false},
        {"length byte 0", {0x05, 0x00, 0x1A, 0x81}, 2, FrameVerdict::BadLength, false},
        {"scrambled", scrambled, scrambled.size(), FrameVerdict::Good, true},
        {"scrambled, bad CRC", scrambledBadCrc, scrambled.size(), FrameVerdict::BadCrc, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.SessionKey = c.scrambled ? 0x3C : 0x00;
        rec.frames.clear();
        port.replies.push_back(c.reply);
        EXPECT_EQ(link.transact({0x19, 0x00, 0x00}), c.verdict == FrameVerdict::Good);
        ASSERT_EQ(rec.frames.size(), 2u);
        const LinkFrame& tx = rec.frames[0];
        const LinkFrame& rx = rec.frames[1];
        EXPECT_EQ(tx.direction, FrameDirection::Sent);
        EXPECT_EQ(tx.verdict, FrameVerdict::None);
        EXPECT_EQ(tx.bytes, bytesOf(port.writes.back()));
        EXPECT_EQ(frameCommandText(tx), "GetDeviceStatus");
        EXPECT_EQ(rx.direction, FrameDirection::Received);
        EXPECT_EQ(rx.verdict, c.verdict);
        EXPECT_EQ(rx.scrambled, c.scrambled);
        EXPECT_EQ(frameCommandText(rx), "GetDeviceStatus"); // the request's name
        // As on the wire: a scrambled reply is told before it is unscrambled.
        EXPECT_EQ(rx.bytes, bytesOf(Bytes(c.reply.begin(), c.reply.begin() + long(c.told))));
    }

    // A request sent without a reply is one frame.
    rec.frames.clear();
    EXPECT_TRUE(link.transact({0x03, 0x00, 0x00}, false));
    ASSERT_EQ(rec.frames.size(), 1u);
    EXPECT_EQ(frameCommandText(rec.frames[0]), "AcknowledgeEvent");
}

TEST(FrameTap, EachModbusReplyGetsItsVerdict) {
    FakeSerialPort port{PortRole::Modbus};
    port.open("COM2", {});
    ModbusMaster master{&port};
    Recorder rec;
    master.setTap(&rec.tap);

    const Bytes good = modbusWithCrc({0x01, 0x03, 0x06, 0x00, 0x20, 0x00, 0xC9, 0x00, 0x69});
    Bytes badCrc = good;
    badCrc[4] ^= 0x01;
    const struct {
        const char* name;
        Bytes reply;
        FrameVerdict verdict;
    } cases[] = {
        {"good", good, FrameVerdict::Good},
        {"silence", {}, FrameVerdict::NoReply},
        {"four bytes", {0x01, 0x03, 0x06, 0x00}, FrameVerdict::Short},
        // Its byte count announces eleven bytes; seven come, the last two happening to be a right CRC.
        {"fewer than announced", modbusWithCrc({0x01, 0x03, 0x06, 0x00, 0x20}), FrameVerdict::Short},
        {"other slave", modbusWithCrc({0x02, 0x03, 0x06, 0x00, 0x20, 0x00, 0xC9, 0x00, 0x69}),
         FrameVerdict::WrongAddress},
        {"bad CRC", badCrc, FrameVerdict::BadCrc},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rec.frames.clear();
        port.replies.push_back(c.reply);
        uint8_t reply[256] = {};
        uint8_t length = 0;
        const auto request = modbusIdentifyRequest(1);
        EXPECT_EQ(master.ModbusExchange(request.data(), 6, reply, length), c.verdict == FrameVerdict::Good);
        ASSERT_EQ(rec.frames.size(), 2u);
        EXPECT_EQ(rec.frames[0].bytes, bytesOf(port.writes.back()));
        EXPECT_EQ(frameCommandText(rec.frames[0]), "ReadHoldingRegisters");
        EXPECT_EQ(rec.frames[1].verdict, c.verdict);
        EXPECT_EQ(frameCommandText(rec.frames[1]), "ReadHoldingRegisters");
        EXPECT_EQ(rec.frames[1].bytes, bytesOf(c.reply));
    }
}

TEST(FrameTap, TraceLinesCountFromTheTapsStart) {
    ManualClock clock;
    clock.now = 5000;
    std::vector<QString> lines;
    FrameTap tap([&](const LinkFrame& f) { lines.push_back(frameLine(f)); });
    const uint8_t request[] = {0x01, 0x06, 0x5A, 0x7E, 0x00, 0x00, 0xC3};
    const uint8_t reply[] = {0x81, 0x04, 0x1A, 0x81, 0x0F};
    clock.now = 5012;
    tap.sent(request, sizeof request, "GetDeviceStatus", 0x19);
    tap.received(reply, sizeof reply, "GetDeviceStatus", 0x19, FrameVerdict::Good, true);
    clock.now = 6745;
    tap.sent(request, sizeof request, nullptr, 0x7E);
    tap.received(nullptr, 0, nullptr, 0x7E, FrameVerdict::NoReply, false);
    tap.received(reply, 3, "ReadMemory", 0x43, FrameVerdict::Short, false);
    tap.received(reply, sizeof reply, "ReadMemory", 0x43, FrameVerdict::WrongAddress, false);
    tap.received(reply, sizeof reply, "ReadMemory", 0x43, FrameVerdict::BadCrc, false);
    tap.received(reply, 2, "ReadMemory", 0x43, FrameVerdict::BadLength, false);
    const std::vector<QString> expected = {
        "12 tx 01 06 5A 7E 00 00 C3 | GetDeviceStatus",
        "12 rx 81 04 1A 81 0F | GetDeviceStatus | good, scrambled",
        "1745 tx 01 06 5A 7E 00 00 C3 | 0x7E",
        "1745 rx - | 0x7E | no reply",
        "1745 rx 81 04 1A | ReadMemory | short",
        "1745 rx 81 04 1A 81 0F | ReadMemory | wrong address",
        "1745 rx 81 04 1A 81 0F | ReadMemory | bad CRC",
        "1745 rx 81 04 | ReadMemory | bad length",
    };
    EXPECT_EQ(lines, expected);
}

namespace {
std::vector<LinkFrame> numbered(int from, int count) {
    std::vector<LinkFrame> frames(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        frames[static_cast<size_t>(i)].ms = from + i;
    return frames;
}
} // namespace

TEST(FrameTableModel, KeepsTheNewestTenThousand) {
    FrameTableModel model;
    ASSERT_EQ(model.capacity(), 10000u);
    std::vector<std::pair<int, int>> removed, inserted;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                     [&](const QModelIndex&, int first, int last) { removed.emplace_back(first, last); });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
    // In batches as the line hands them over, past the bound and round the ring more than once.
    int next = 0;
    for (int batch : {9998, 1, 1, 7, 10000, 3}) {
        model.append(numbered(next, batch));
        next += batch;
    }
    ASSERT_EQ(model.rowCount(), 10000);
    EXPECT_EQ(model.frame(0).ms, next - 10000); // the oldest kept
    EXPECT_EQ(model.frame(9999).ms, next - 1);
    for (int row = 1; row < 10000; ++row)
        ASSERT_EQ(model.frame(row).ms, model.frame(row - 1).ms + 1) << row;
    EXPECT_EQ(model.data(model.index(0, FrameTableModel::TimeColumn)).toString(),
              QString::number(next - 10000));
    // The view hears the oldest rows leave from the top and the new ones arrive at the bottom.
    EXPECT_EQ(inserted.back(), std::make_pair(9997, 9999));
    EXPECT_EQ(removed.back(), std::make_pair(0, 2));
    // A batch larger than the ring keeps its own newest frames.
    model.append(numbered(100000, 10005));
    EXPECT_EQ(model.frame(0).ms, 100005);
    EXPECT_EQ(model.frame(9999).ms, 110004);
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    model.append(numbered(7, 2));
    EXPECT_EQ(model.lines(), (QStringList{"7 tx - | 0x00", "8 tx - | 0x00"}));
}
