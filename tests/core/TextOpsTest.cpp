#include <gtest/gtest.h>

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

}  // namespace
}  // namespace morvane
