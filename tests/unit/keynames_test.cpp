#include <gtest/gtest.h>

#include <set>

#include "common/keynames.h"
#include "common/mouseactions.h"

namespace zv {
namespace {

TEST(KeyNameTable, RowsOrderAndCodes) {
    ASSERT_EQ(KeyNameTable.size(), 109u);
    std::set<std::string_view> names;
    for (const KeyName& row : KeyNameTable) {
        EXPECT_FALSE(row.name.empty());
        EXPECT_GE(row.code, 1);
        EXPECT_LE(row.code, 254);
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
    }
    EXPECT_EQ(KeyNameTable.front().name, "LBUTTON");
    EXPECT_EQ(KeyNameTable[13].name, "KANA");
    EXPECT_EQ(KeyNameTable[25].name, "SPACE");
    EXPECT_EQ(KeyNameTable.back().name, "OEM_CLEAR");
    EXPECT_EQ(KeyNameTable.back().code, 0xFE);
    // SPACE to HELP are 0x20 to 0x2F in order, F1 to F24 are 0x70 to 0x87.
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(KeyNameTable[25 + i].code, 0x20 + i) << KeyNameTable[25 + i].name;
    // Codes outside those runs, where a slip in the table sends another key.
    const std::pair<const char*, int> spotChecks[] = {
        {"RETURN", 0x0D}, {"MENU", 0x12},       {"KANJI", 0x19}, {"ESCAPE", 0x1B},
        {"LWIN", 0x5B},   {"NUMPAD9", 0x69},    {"RMENU", 0xA5}, {"OEM_3", 0xC0},
        {"OEM_7", 0xDE},  {"PROCESSKEY", 0xE5}, {"HELP", 0x2F},
    };
    for (const auto& [name, code] : spotChecks)
        EXPECT_EQ(KeyCodeFromName(name), code) << name;
    for (int f = 1; f <= 24; ++f) {
        std::string name = "F";
        name += std::to_string(f);
        EXPECT_EQ(*KeyCodeFromName(name), 0x6F + f);
    }
}

TEST(KeyNameTable, LookupsBothWays) {
    EXPECT_EQ(*KeyCodeFromName("control"), 0x11);
    EXPECT_EQ(*KeyCodeFromName("Control"), 0x11);
    EXPECT_FALSE(KeyCodeFromName("CTRL"));
    EXPECT_FALSE(KeyCodeFromName("ALT"));
    EXPECT_FALSE(KeyCodeFromName("CONTROL "));
    EXPECT_FALSE(KeyCodeFromName("A")) << "letters have no rows";
    EXPECT_FALSE(KeyCodeFromName(""));
    EXPECT_EQ(KeyNameFromCode(0x15), "KANA");
    EXPECT_EQ(KeyNameFromCode(0x19), "HANJA");
    EXPECT_EQ(KeyNameFromCode(0x0D), "RETURN");
    EXPECT_EQ(KeyNameFromCode(0x41), "");
    EXPECT_EQ(KeyNameFromCode(0xBB), "") << "OEM_PLUS is not listed";
    EXPECT_EQ(KeyNameFromCode(0x1FE), "") << "codes are not truncated to a byte";
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
