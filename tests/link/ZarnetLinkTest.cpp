#include "link/ZarnetLink.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

using namespace vextor;
using namespace vextor::testing;

TEST(ZarnetCrc8, CheckValuesUseTheStoredTable) {
    const char* digits = "123456789";
    EXPECT_EQ(ZarnetCrc8(reinterpret_cast<const uint8_t*>(digits), 9), 0xA1);
    const uint8_t f9 = 0xF9;
    EXPECT_EQ(ZarnetCrc8(&f9, 1), 0xFC); // the polynomial alone would give 0xE8
    EXPECT_EQ(ZarnetCrc8(nullptr, 0), 0x00);
}

struct LinkFixture : ::testing::Test {
    FakeSerialPort port;
    ZarnetLink link{&port};
    void SetUp() override {
        port.open("COM1", {});
        link.randomByte = [] { return uint8_t{0x5A}; };
        link.DeviceAddress = 5;
    }
};

TEST_F(LinkFixture, RequestFrameCarriesAddressLengthNonceAndCrc) {
    port.replies.push_back(zarnetReply(5, 0x18));
    ASSERT_TRUE(link.transact({0x17, 0x00, 0x00}));
    ASSERT_EQ(port.writes.size(), 1u);
    const Bytes expected = withZarnetCrc({0x05, 0x06, 0x5A, 0x17, 0x00, 0x00});
    EXPECT_EQ(port.writes[0], expected);
    EXPECT_EQ(link.RxLength, 4u);
    EXPECT_GE(port.purges, 1);
}

TEST_F(LinkFixture, FailedReadsSetError512) {
    const std::vector<Bytes> bad = {
        {},                             // silence
        {0x05},                         // one byte
        {0x05, 0x05, 0x00, 0x18, 0x00}, // length 5 announces 6 bytes, 5 arrive
        {0x05, 0x00, 0x18, 0x00},       // length byte 0
    };
    for (const auto& reply : bad) {
        port.replies.push_back(reply);
        link.LastError = 0;
        EXPECT_FALSE(link.transact({0x17, 0x00, 0x00}));
        EXPECT_EQ(link.LastError, 512u);
    }
}

TEST_F(LinkFixture, WrongAddressOrCrcIsRejected) {
    port.replies.push_back(zarnetReply(3, 0x18)); // right CRC, wrong device
    EXPECT_FALSE(link.transact({0x17, 0x00, 0x00}));
    Bytes corrupt = zarnetReply(5, 0x18);
    corrupt.back() ^= 0x01;
    port.replies.push_back(corrupt);
    EXPECT_FALSE(link.transact({0x17, 0x00, 0x00}));
}

TEST_F(LinkFixture, ScrambledReplyIsCheckedFirstThenUnscrambled) {
    for (uint8_t key : {uint8_t{0x00}, uint8_t{0x3C}}) {
        link.SessionKey = key;
        const uint8_t k = key ^ 0x5A;
        // code 0x1A, status 0x81, scrambled on the wire; CRC over the scrambled bytes
        Bytes frame{0x85, 0x04, static_cast<uint8_t>(0x1A ^ k), static_cast<uint8_t>(0x81 ^ k)};
        port.replies.push_back(withZarnetCrc(frame));
        ASSERT_TRUE(link.transact({0x19, 0x00, 0x00})) << int(key);
        EXPECT_EQ(link.RxBuffer[0], 0x85);
        EXPECT_EQ(link.RxBuffer[1], 0x04);
        EXPECT_EQ(link.RxBuffer[2], 0x1A);
        EXPECT_EQ(link.RxBuffer[3], 0x81);
    }
}

TEST_F(LinkFixture, SendOnlyReturnsAfterWriting) {
    EXPECT_TRUE(link.transact({0x03, 0x00, 0x00}, false));
    EXPECT_EQ(port.writes.size(), 1u);
}

TEST_F(LinkFixture, ClosedPortFailsWithoutWriting) {
    port.close();
    EXPECT_FALSE(link.transact({0x17, 0x00, 0x00}));
    EXPECT_TRUE(port.writes.empty());
}
