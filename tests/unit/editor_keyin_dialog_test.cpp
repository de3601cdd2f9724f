#include <gtest/gtest.h>

#include "common/winconst.h"
#include "editor/keyin_dialog.h"

namespace zv {
namespace {

KeyinKeys Keys(std::initializer_list<const char*> keys) {
    KeyinKeys out;
    std::size_t i = 0;
    for (const char* k : keys)
        out[i++] = k;
    return out;
}

TEST(KeyinDialog, AltKeysAndRepeatReadAndWrittenBack) {
    const char* line = "KEYIN:MENU CONTROL S,REP=3";
    KeyinLineParse p = ParseKeyinLine(line);
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.fields.alt);
    EXPECT_EQ(p.fields.keys, Keys({"CONTROL", "S"}));
    EXPECT_EQ(p.fields.repeat, 3);
    EXPECT_EQ(ComposeKeyinLine(p.fields), line);
    EXPECT_EQ(DescribeKeyinLine(line).text, "ALT + CONTROL + S <Repeat=3>");

    // The option in lower case, written back in upper case; blanks before it go.
    p = ParseKeyinLine("KEYIN:control v  ,rep=2");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.fields.keys, Keys({"CONTROL", "v"}));  // one byte keeps its case
    EXPECT_EQ(ComposeKeyinLine(p.fields), "KEYIN:CONTROL v,REP=2");

    // Names are not checked here; the engine does that.
    p = ParseKeyinLine("KEYIN:ctrl");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.fields.keys, Keys({"CTRL"}));
    EXPECT_EQ(DescribeKeyinLine("KEYIN:RETURN,REP=1").text, "RETURN");
}

TEST(KeyinDialog, EightKeysOfFifteenBytes) {
    KeyinLineParse p = ParseKeyinLine("KEYIN:A B C D E F G H I J");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.fields.keys, Keys({"A", "B", "C", "D", "E", "F", "G", "H"}));

    // MENU takes no slot, but is not seen once eight keys are stored.
    p = ParseKeyinLine("KEYIN:MENU 1 2 3 4 5 6 7 8 9");
    EXPECT_TRUE(p.fields.alt);
    EXPECT_EQ(p.fields.keys[7], "8");
    p = ParseKeyinLine("KEYIN:1 2 3 4 5 6 7 8 MENU");
    EXPECT_FALSE(p.fields.alt);

    p = ParseKeyinLine("KEYIN:abcdefghijklmnopq");
    EXPECT_EQ(p.fields.keys[0], "ABCDEFGHIJKLMNO");
    // Eight double-byte characters are 16 bytes: the cut keeps seven whole ones.
    p = ParseKeyinLine("KEYIN:表表表表表表表表 A");
    EXPECT_EQ(p.fields.keys, Keys({"表表表表表表表", "A"}));
    EXPECT_EQ(ComposeKeyinLine({Keys({"表表表表表表表表", "A"}), false, 1}),
              "KEYIN:表表表表表表表 A");
}

TEST(KeyinDialog, UnreadableLinesOpenEmpty) {
    for (const char* line :
         {"KEYIN:RETURN,REP=0", "KEYIN:RETURN,REP=X", "KEYIN:", "KEYIN:,REP=3"}) {
        EXPECT_FALSE(ParseKeyinLine(line).ok) << line;
        const KeyinFields f = OpenKeyinDialog(line);
        EXPECT_EQ(f.keys, KeyinKeys{}) << line;
        EXPECT_FALSE(f.alt);
        EXPECT_EQ(f.repeat, 1);
        EXPECT_FALSE(DescribeKeyinLine(line).valid);
        EXPECT_EQ(DescribeKeyinLine(line).text, line);
    }
    EXPECT_FALSE(ParseKeyinLine("").ok);

    // A lone MENU is a line: Alt alone.
    const KeyinLineParse p = ParseKeyinLine("KEYIN:menu");
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.fields.alt);
    EXPECT_EQ(DescribeKeyinLine("KEYIN:menu,REP=12").text, "ALT <Repeat=12>");
}

TEST(KeyinDialog, OkChecksTheRepeatThenTheKeys) {
    using Ok = DialogOk<KeyinField>;
    Ok ok = ConfirmKeyinDialog({Keys({}), false, "1"});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "キー入力設定がありません。");
    EXPECT_EQ(ok.focus, KeyinField::FirstKey);

    ok = ConfirmKeyinDialog({Keys({}), false, "1000"});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "1 から 999 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, KeyinField::Repeat);
    EXPECT_EQ(ConfirmKeyinDialog({Keys({"A"}), false, "0"}).focus, KeyinField::Repeat);

    ok = ConfirmKeyinDialog({Keys({}), true, "1"});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "KEYIN:MENU");

    // Empty fields between keys leave no gap; the count is written when not 1.
    KeyinKeys gaps;
    gaps[1] = "SHIFT";
    gaps[6] = "TAB";
    ok = ConfirmKeyinDialog({gaps, false, "999"});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "KEYIN:SHIFT TAB,REP=999");
}

TEST(KeyinDialog, ClearLastAndClearAll) {
    KeyinKeys keys = Keys({"A", "B"});
    EXPECT_EQ(ClearLastKeyField(keys), 1u);
    EXPECT_EQ(keys, Keys({"A"}));
    EXPECT_EQ(ClearLastKeyField(keys), 0u);
    EXPECT_EQ(keys, KeyinKeys{});
    EXPECT_EQ(ClearLastKeyField(keys), std::nullopt);

    keys = Keys({"A"});
    keys[7] = "F1";
    EXPECT_EQ(ClearLastKeyField(keys), 7u);
    keys[3] = "X";
    EXPECT_EQ(ClearAllKeyFields(keys), 0u);
    EXPECT_EQ(keys, KeyinKeys{});
}

TEST(KeyField, WhichMessagesTakeAKey) {
    const struct {
        unsigned message;
        std::uint32_t vk;
        KeyFieldAction action;
    } cases[] = {
        {kWmKeyDown, 'A', KeyFieldAction::Take},
        {kWmKeyDown, '7', KeyFieldAction::Take},
        {kWmKeyDown, 0x09, KeyFieldAction::Take},  // TAB is recorded, not a focus move
        {kWmKeyDown, 0x0D, KeyFieldAction::Take},
        {kWmKeyDown, 0x1B, KeyFieldAction::Take},
        {kWmKeyDown, 0x90, KeyFieldAction::Take},  // NUMLOCK
        {kWmKeyDown, 0xBA, KeyFieldAction::Take},  // OEM_1, the colon key
        {kWmKeyDown, 0x10, KeyFieldAction::Take},
        {kWmKeyDown, 0xB3, KeyFieldAction::Swallow},  // a media key has no name
        {kWmKeyDown, 0xBB, KeyFieldAction::Swallow},
        {kWmKeyDown, 0x07, KeyFieldAction::Swallow},
        {kWmKeyDown, 0x141, KeyFieldAction::Swallow},
        {kWmSysKeyDown, 0x73, KeyFieldAction::Take},  // Alt+F4 records F4
        {kWmSysKeyDown, 0x70, KeyFieldAction::Take},
        {kWmSysKeyDown, 0x87, KeyFieldAction::Take},
        {kWmSysKeyDown, 0x6F, KeyFieldAction::PassOn},
        {kWmSysKeyDown, 0x88, KeyFieldAction::PassOn},
        {kWmSysKeyDown, 'F', KeyFieldAction::PassOn},  // mnemonics still work
        {0x0200, 'A', KeyFieldAction::PassOn},
        {0x010A, 'A', KeyFieldAction::PassOn},
        {0x004C, 'A', KeyFieldAction::PassOn},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyFieldActionFor(c.message, c.vk), c.action) << c.message << " " << c.vk;
    for (unsigned m : {0x101u, 0x102u, 0x103u, 0x105u, 0x106u, 0x107u, 0x108u, 0x109u, 0x4Du})
        EXPECT_EQ(KeyFieldActionFor(m, 'A'), KeyFieldAction::Swallow) << m;
}

TEST(KeyField, TextOfATakenCode) {
    const std::tuple<std::uint32_t, const char*, int> cases[] = {
        {'A', "A", 'A'},
        {'0', "0", '0'},
        {0x15, "KANA", 0x15},
        {0x19, "HANJA", 0x19},
        {0x61, "NUMPAD1", 0x61},
        {0xBA, "OEM_1", 0xBA},
        {0xFE, "OEM_CLEAR", 0xFE},
        {0x10, "SHIFT", 0x10},
        {0xB3, "", 0},
        {0x00, "", 0},
        {0x100 + 'A', "", 0},
    };
    for (const auto& [vk, text, code] : cases) {
        const KeyFieldContent c = KeyFieldShows(vk);
        EXPECT_EQ(c.text, text) << vk;
        EXPECT_EQ(c.code, code) << vk;
    }
}

}  // namespace
}  // namespace zv
