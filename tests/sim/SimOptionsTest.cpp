#include "sim/SimOptions.h"

#include <gtest/gtest.h>

namespace vextor::sim {
namespace {

TEST(SimOptions, Versions) {
    const struct {
        const char* text;
        std::optional<uint16_t> value;
    } cases[] = {
        {"2.01", 201},          {"2,01", 201},        {"201", 201},           {"1.5", 150},
        {"0x00C9", 201},        {"655.35", 65535},    {"none", std::nullopt}, {"2.001", std::nullopt},
        {"2.", std::nullopt},   {".5", std::nullopt}, {"-1", std::nullopt},   {"655.36", std::nullopt},
        {"2.0a", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseVersion(c.text), c.value) << c.text;
    EXPECT_EQ(parseVersionOrNone("none"), 0xFFFF);
    EXPECT_EQ(parseVersionOrNone("1,05"), 105);
}

TEST(SimOptions, IntegersRatesAndRanges) {
    EXPECT_EQ(parseInteger("127", 1, 127), 127);
    EXPECT_EQ(parseInteger("0x7F", 1, 127), 127);
    EXPECT_FALSE(parseInteger("128", 1, 127));
    EXPECT_FALSE(parseInteger("12abc", 0, 1000));
    EXPECT_FALSE(parseInteger("0x", 0, 1000));
    EXPECT_EQ(parseRate("0.25"), 0.25);
    EXPECT_EQ(parseRate("1"), 1.0);
    EXPECT_FALSE(parseRate("1.5"));
    EXPECT_FALSE(parseRate("nan"));
    EXPECT_FALSE(parseRate("0.5x"));
    const auto r = parseRange("0x800:9");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->first, 2048u);
    EXPECT_EQ(r->count, 9u);
    EXPECT_FALSE(parseRange("2048"));
    EXPECT_FALSE(parseRange("2048:0"));
    EXPECT_FALSE(parseRange(":9"));
}

} // namespace
} // namespace vextor::sim
