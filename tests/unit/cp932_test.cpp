#include <gtest/gtest.h>

#include "common/cp932.h"

namespace zv {
namespace {

// 表 is 0x95 0x5C in CP932: its trail byte is the backslash.
const std::string kHyo = "\x95\x5C";
// ソ is 0x83 0x5C, and 0x81 0x40 is the ideographic space.
const std::string kIdeoSpace = "\x81\x40";

TEST(Cp932, LeadBytes) {
    // The edges of the two lead-byte ranges 81-9F and E0-FC.
    for (int in : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(IsLeadByte(static_cast<unsigned char>(in))) << in;
    for (int out : {0x80, 0xA0, 0xDF, 0xFD})
        EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(out))) << out;
    EXPECT_EQ(std::string("表"), kHyo) << "sources must be compiled to CP932";
}

TEST(Cp932, StripWhiteKeepsIdeographicSpaceAndTrailBytes) {
    EXPECT_EQ(StripWhite(" \t\r\n\v\fabc \t\r\n"), "abc");
    EXPECT_EQ(StripWhite(kIdeoSpace + "a" + kIdeoSpace), kIdeoSpace + "a" + kIdeoSpace);
    EXPECT_EQ(StripWhite(""), "");
    EXPECT_EQ(StripWhite("   "), "");
    // A double-byte character whose trail byte is 0x20 or 0x09 is not white space.
    const std::string trail20 = "a\x81\x20";
    EXPECT_EQ(TrimRightWhite(trail20), trail20);
    EXPECT_EQ(TrimRightWhite("a\x81\x09 "), "a\x81\x09");
    // A truncated lead byte at the end stays, and white space before it too.
    EXPECT_EQ(TrimRightWhite("a \x81"), "a \x81");
    EXPECT_EQ(TrimRightWhite("a\x81 "), "a\x81 ") << "lead byte swallows the following space";
}

TEST(Cp932, UpperCasesOnlySingleByteLetters) {
    EXPECT_EQ(ToUpperAscii("launch:Abc"), "LAUNCH:ABC");
    // 0x82 0x61 is a double-byte character whose trail byte is 'a'.
    EXPECT_EQ(ToUpperAscii("\x82\x61z"), "\x82\x61Z");
    EXPECT_EQ(ToUpperAscii("\x82"), "\x82");
}

TEST(Cp932, SearchMatchesOnCharacterBoundariesOnly) {
    // "\x83\x5C" contains byte 0x5C; searching for a backslash must not find it.
    EXPECT_EQ(FindMb("\x83\x5C\\", "\\"), 2u);
    EXPECT_EQ(FindMb("\x83\x5C", "\\"), std::string::npos);
    EXPECT_EQ(FindMb("abc", ""), 0u);
    EXPECT_EQ(FindMb("abc", "c"), 2u);
    EXPECT_EQ(FindMb("abc", "abcd"), std::string::npos);
    EXPECT_EQ(FindMb("abab", "ab", 1), 2u);
    EXPECT_EQ(FindMb("ab", "x", 5), std::string::npos);
    EXPECT_EQ(FindLastSingleByte("a\"" + kHyo + "\"b", '"'), 4u);
    EXPECT_EQ(FindLastSingleByte(kHyo, '\\'), std::string::npos);
    EXPECT_EQ(ReplaceSingleByte("C:\\" + kHyo + "\\x", '\\', '/'), "C:/" + kHyo + "/x");
}

TEST(Cp932, TruncateNeverSplitsACharacter) {
    EXPECT_EQ(TruncateChars("ab" + kHyo, 3), "ab");
    EXPECT_EQ(TruncateChars("ab" + kHyo, 4), "ab" + kHyo);
    EXPECT_EQ(TruncateChars("abc", 10), "abc");
}

}  // namespace
}  // namespace zv
