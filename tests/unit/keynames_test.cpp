#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/keynames.h"
#include "common/mouseactions.h"

namespace zv {
namespace {

// Known pairs catch a wrong row, the round trips a broken lookup anywhere in the table.
TEST(KeyNameTable, KnownPairsAndRoundTripsOverEveryRow) {
    ASSERT_EQ(KeyNameTable.size(), 109u);
    const std::pair<const char*, int> known[] = {
        {"LBUTTON", 0x01},   {"RETURN", 0x0D}, {"MENU", 0x12},  {"KANA", 0x15},
        {"KANJI", 0x19},     {"ESCAPE", 0x1B}, {"LWIN", 0x5B},  {"NUMPAD9", 0x69},
        {"RMENU", 0xA5},     {"OEM_3", 0xC0},  {"OEM_7", 0xDE}, {"PROCESSKEY", 0xE5},
        {"OEM_CLEAR", 0xFE},
    };
    for (const auto& [name, code] : known)
        EXPECT_EQ(KeyCodeFromName(name), code) << name;
    // SPACE to HELP are 0x20 to 0x2F in order, F1 to F24 are 0x70 to 0x87.
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(KeyNameTable[25 + i].code, 0x20 + i) << KeyNameTable[25 + i].name;
    EXPECT_EQ(KeyNameTable[25].name, "SPACE");
    EXPECT_EQ(KeyNameTable[40].name, "HELP");
    for (int f = 1; f <= 24; ++f)
        EXPECT_EQ(KeyCodeFromName("F" + std::to_string(f)), 0x6F + f) << f;

    std::set<std::string_view> names;
    for (const KeyName& row : KeyNameTable) {
        EXPECT_GE(row.code, 1);
        EXPECT_LE(row.code, 254);
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
        EXPECT_EQ(KeyCodeFromName(row.name), row.code) << row.name;
        const auto first = std::find_if(KeyNameTable.begin(), KeyNameTable.end(),
                                        [&](const KeyName& r) { return r.code == row.code; });
        EXPECT_EQ(KeyNameFromCode(row.code), first->name) << row.name;
    }
}

TEST(KeyNameTable, CaseRefusalsAndWhatAKeyFieldShows) {
    EXPECT_EQ(KeyCodeFromName("control"), 0x11);
    EXPECT_EQ(KeyCodeFromName("Control"), 0x11);
    // Other spellings, trailing blanks and letters (they have no rows) are refused.
    for (const char* refused : {"CTRL", "ALT", "CONTROL ", "A", ""})
        EXPECT_FALSE(KeyCodeFromName(refused)) << refused;
    EXPECT_EQ(KeyNameFromCode(0x15), "KANA") << "the first of three names";
    EXPECT_EQ(KeyNameFromCode(0x41), "");
    EXPECT_EQ(KeyNameFromCode(0xBB), "") << "OEM_PLUS is not listed";
    EXPECT_EQ(KeyNameFromCode(0x1FE), "") << "codes are not truncated to a byte";

    // The launcher's and the editor's key fields: letters and digits as themselves.
    const std::pair<std::uint32_t, const char*> shown[] = {
        {'A', "A"}, {'7', "7"}, {0x87, "F24"}, {0x09, "TAB"}, {0x19, "HANJA"},
        {0x07, ""}, {0xB3, ""}, {0xFF, ""},    {0, ""},       {0x141, ""},
    };
    for (const auto& [code, text] : shown)
        EXPECT_EQ(KeyFieldName(code), text) << code;
}

TEST(MouseActionTable, WordsAndIndexes) {
    const char* words[] = {"L", "R", "M", "LW", "RW", "MW", "X", "W-", "W+", "DD"};
    ASSERT_EQ(MouseActionTable.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(MouseActionTable[i].word, words[i]);
        EXPECT_EQ(MouseActionTable[i].index, i);
        EXPECT_EQ(FindMouseAction(words[i]), i);
        EXPECT_EQ(MouseActionWordOf(i), words[i]);
    }
    EXPECT_EQ(FindMouseAction("lw"), kMouseActionLeftDouble);
    EXPECT_EQ(FindMouseAction("w-"), kMouseActionWheelDown);
    EXPECT_EQ(FindMouseAction("LOCAL"), -1);
    EXPECT_EQ(FindMouseAction(""), -1);
    EXPECT_EQ(MouseActionWordOf(10), "");
    EXPECT_EQ(MouseActionWordOf(-1), "");
}

}  // namespace
}  // namespace zv
