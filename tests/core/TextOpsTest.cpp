#include <gtest/gtest.h>

#include "common/PercentText.h"
#include "common/TextOps.h"

namespace morvane {
namespace {

TEST(ReadDecimal, ReadsLikeTheCLibrary) {
    const struct {
        const char* text;
        std::int64_t value;
    } cases[] = {
        {"150", 150}, {"  42abc", 42}, {"-200", -200}, {"+7", 7},  {"4.", 4},           {".300", 0},
        {"", 0},      {"abc", 0},      {"\t\n 9", 9},  {"- 5", 0}, {"8100 SCUD", 8100},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadDecimal, KeepsLowBitsOfHugeNumbers) {
    EXPECT_EQ(LowSigned16(ReadDecimal("65535")), -1);
    EXPECT_EQ(LowSigned16(ReadDecimal("70000")), 70000 - 65536);
    EXPECT_EQ(LowUnsigned16(ReadDecimal("65536")), 0);
    // 2^64 + 5 wraps to 5 without undefined behaviour.
    EXPECT_EQ(LowUnsigned16(ReadDecimal("18446744073709551621")), 5);
}

TEST(TextOps, TrimsAllWhiteSpaceKinds) {
    EXPECT_EQ(Trim(" \t\r\n\v\fx y \f\v\n\r\t "), "x y");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
}

TEST(TextOps, CaseFoldingIsAsciiOnly) {
    EXPECT_TRUE(EqualsNoCase("GENERAL", "general"));
    EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));  // Latin-1 letters compare as themselves
    EXPECT_TRUE(StartsWithNoCase("SCUD - SCUD launcher", "scud"));
    EXPECT_LT(CompareNoCase("england", "France"), 0);
    EXPECT_LT(CompareNoCase("Ukraine", "USSR"), 0);
}

// Percentages read as the game reads fixed-point numbers.
TEST(PercentText, ReadsLikeTheGame) {
    const struct {
        const char* text;
        std::int64_t percent;
        bool whole;
    } cases[] = {
        {"20%", 20, true},   {"020%", 20, true},    {".2", 20, true},     {"0.2", 20, true},     {"0.25", 25, true},
        {"1.05", 105, true}, {"1.5", 150, true},    {".165", 17, false},  {".164", 16, false},   {".016", 2, false},
        {"25", 2500, true},  {"50.5%", 5050, true}, {"50 %", 5000, true}, {"abc", 0, true},      {"", 0, true},
        {"150%", 150, true}, {".20", 20, true},     {".200", 20, true},   {"-1", 6553500, true},
    };
    for (const auto& c : cases) {
        const PercentReading reading = ReadPercentText(c.text);
        EXPECT_EQ(reading.percent, c.percent) << c.text;
        EXPECT_EQ(reading.whole, c.whole) << c.text;
    }
}

}  // namespace
}  // namespace morvane
