#include <gtest/gtest.h>

#include "common/winconst.h"
#include "editor/keyin_dialog.h"

namespace zv {
namespace {

TEST(KeyinDialog, ParseDescribeAndWriteBack) {
    const char* line = "KEYIN:MENU CONTROL S,REP=3";
    const KeyinFields f = OpenKeyinDialog(line);
    EXPECT_EQ(f, (KeyinFields{{"CONTROL", "S"}, true, 3}));
    EXPECT_EQ(ComposeKeyinLine(f), line);
    EXPECT_EQ(DescribeKeyinLine("KEYIN:menu").text, "ALT");

    // One byte keeps its case, longer names are upper-cased but not checked.
    EXPECT_EQ(ComposeKeyinLine(OpenKeyinDialog("KEYIN:ctrl v  ,rep=2")), "KEYIN:CTRL v,REP=2");
    // Eight keys; MENU takes no slot but is not seen after the eighth.
    EXPECT_EQ(OpenKeyinDialog("KEYIN:A B C D E F G H I J").keys[7], "H");
    EXPECT_TRUE(OpenKeyinDialog("KEYIN:MENU 1 2 3 4 5 6 7 8 9").alt);
    EXPECT_FALSE(OpenKeyinDialog("KEYIN:1 2 3 4 5 6 7 8 MENU").alt);
    // 15 bytes, cut between characters.
    EXPECT_EQ(OpenKeyinDialog("KEYIN:abcdefghijklmnopq").keys[0], "ABCDEFGHIJKLMNO");
    EXPECT_EQ(OpenKeyinDialog("KEYIN:表表表表表表表表").keys[0], "表表表表表表表");
}

TEST(KeyinDialog, OkChecksTheRepeatThenTheKeys) {
    using Ok = DialogOk<KeyinField>;
    Ok ok = ConfirmKeyinDialog({{}, false, "1000"});
    EXPECT_EQ(ok.message, "1 から 999 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, KeyinField::Repeat);

    ok = ConfirmKeyinDialog({{}, false, "1"});
    EXPECT_EQ(ok.message, "キー入力設定がありません。");
    EXPECT_EQ(ok.focus, KeyinField::FirstKey);

    EXPECT_EQ(ConfirmKeyinDialog({{}, true, "1"}).line, "KEYIN:MENU");
    // Empty fields between keys leave no gap.
    EXPECT_EQ(ConfirmKeyinDialog({{"", "SHIFT", "", "TAB"}, false, "999"}).line,
              "KEYIN:SHIFT TAB,REP=999");
}

TEST(KeyinDialog, ClearLastAndClearAll) {
    KeyinKeys keys{"A", "B"};
    EXPECT_EQ(ClearLastKeyField(keys), 1u);
    EXPECT_EQ(ClearLastKeyField(keys), 0u);
    EXPECT_EQ(ClearLastKeyField(keys), std::nullopt);
    keys = {"A", "", "", "", "", "", "", "F1"};
    EXPECT_EQ(ClearAllKeyFields(keys), 0u);
    EXPECT_EQ(keys, KeyinKeys{});
}

TEST(KeyField, MessagesAndTheTextOfATakenKey) {
    using A = KeyFieldAction;
    const std::tuple<unsigned, std::uint32_t, A> cases[] = {
        {kWmKeyDown, 'A', A::Take},       {kWmKeyDown, 0x09, A::Take},      // TAB is a key here
        {kWmKeyDown, 0x90, A::Take},      {kWmKeyDown, 0xBA, A::Take},      // NUMLOCK, OEM_1
        {kWmKeyDown, 0xB3, A::Swallow},                                     // media key: no name
        {kWmSysKeyDown, 0x73, A::Take},                                     // Alt+F4 records F4
        {kWmSysKeyDown, 0x88, A::PassOn}, {kWmSysKeyDown, 'F', A::PassOn},  // mnemonics
        {0x010A, 'A', A::PassOn},
    };
    for (const auto& [message, vk, action] : cases)
        EXPECT_EQ(KeyFieldActionFor(message, vk), action) << message << " " << vk;
    for (unsigned m : {0x101u, 0x102u, 0x103u, 0x105u, 0x106u, 0x107u, 0x108u, 0x109u, 0x4Du})
        EXPECT_EQ(KeyFieldActionFor(m, 'A'), A::Swallow) << m;

    // The names are the key-name table's (keynames_test); a key without one has no code.
    EXPECT_EQ(KeyFieldShows(0x61).text, "NUMPAD1");
    EXPECT_EQ(KeyFieldShows(0x61).code, 0x61);
    EXPECT_EQ(KeyFieldShows(0xB3).code, 0);
}

}  // namespace
}  // namespace zv
