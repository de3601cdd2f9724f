#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "launcher/launcher_dialogs.h"

namespace zv {
namespace {

const char* const kPath = "C:\\AppData\\Ostrand\\Zorvane\\Zorvane.ini";

TEST(LauncherDialogs, ModifierBoxesAndBits) {
    for (unsigned bits = 0; bits < 16; ++bits) {
        const HotkeyModifierChecks c = ModifierChecksFromBits(static_cast<std::uint8_t>(bits));
        EXPECT_EQ(c.alt, (bits & 1) != 0);
        EXPECT_EQ(c.ctrl, (bits & 2) != 0);
        EXPECT_EQ(c.shift, (bits & 4) != 0);
        EXPECT_EQ(c.win, (bits & 8) != 0);
        EXPECT_EQ(ModifierBits(c), bits);
    }
    EXPECT_EQ(ModifierBits(ModifierChecksFromBits(0xF5)), 0x05) << "other bits have no box";
}

TEST(LauncherDialogs, KeyFieldTakesDigitsLettersFunctionAndPadKeys) {
    int taken = 0;
    for (std::uint32_t vk = 0; vk < 256; ++vk)
        taken += IsCapturedKey(vk) ? 1 : 0;
    EXPECT_EQ(taken, 10 + 26 + 24 + 10);
    for (std::uint32_t vk : {0x30u, 0x39u, 0x41u, 0x5Au, 0x60u, 0x69u, 0x70u, 0x7Bu, 0x87u})
        EXPECT_TRUE(IsCapturedKey(vk)) << vk;
    // Shift alone, Space, the arrows, Tab, Enter and Esc keep their meaning.
    for (std::uint32_t vk : {0x10u, 0x20u, 0x25u, 0x28u, 0x09u, 0x0Du, 0x1Bu, 0x2Fu, 0x3Au, 0x40u,
                             0x5Bu, 0x6Au, 0x6Fu, 0x88u})
        EXPECT_FALSE(IsCapturedKey(vk)) << vk;
}

TEST(LauncherDialogs, KeyFieldTextCarriesTheKeyOnlyWithAName) {
    // The names themselves are the key-name table's (keynames_test).
    auto shown = [](std::uint32_t code) {
        const KeyFieldText t = KeyFieldDisplay(code);
        return std::to_string(t.key) + ":" + t.text;
    };
    EXPECT_EQ(shown('A'), "65:A");
    EXPECT_EQ(shown(0x20), "32:SPACE") << "a Space typed into the file by hand";
    EXPECT_EQ(shown(0x07), "0:") << "not in the key-name table: no key";
    EXPECT_EQ(shown(0x141), "0:") << "beyond a byte";
}

TEST(LauncherDialogs, HotkeyKeysAreWrittenOnlyWhenTheyDiffer) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, kPath);
    fs.files[kPath] = "[ZorvaneSettings]\r\nHotkey=090\r\nHotkeyMod=01\r\n";
    EXPECT_EQ(WriteHotkeyIfChanged(profile, 1, 0x5A), 0);
    EXPECT_EQ(fs.files[kPath], "[ZorvaneSettings]\r\nHotkey=090\r\nHotkeyMod=01\r\n")
        << "the same values in another spelling stay as written";

    EXPECT_EQ(WriteHotkeyIfChanged(profile, 1, 0x7B), 1);
    EXPECT_EQ(fs.files[kPath], "[ZorvaneSettings]\r\nHotkey=123\r\nHotkeyMod=01\r\n");
    EXPECT_EQ(WriteHotkeyIfChanged(profile, 6, 0x7B), 1);
    EXPECT_EQ(fs.files[kPath], "[ZorvaneSettings]\r\nHotkey=123\r\nHotkeyMod=6\r\n");

    // 346 is used as 0x5A, but the file does not hold 90: confirming writes 90.
    fs.files[kPath] = "[ZorvaneSettings]\r\nHotkey=346\r\nHotkeyMod=x\r\n";
    EXPECT_EQ(WriteHotkeyIfChanged(profile, 0, 0x5A), 2);
    EXPECT_EQ(fs.files[kPath], "[ZorvaneSettings]\r\nHotkey=90\r\nHotkeyMod=0\r\n");
    fs.files.erase(kPath);
    EXPECT_EQ(WriteHotkeyIfChanged(profile, 1, 0), 2) << "missing keys are written";
    EXPECT_EQ(fs.files[kPath], "[ZorvaneSettings]\r\nHotkey=0\r\nHotkeyMod=1\r\n");
}

TEST(LauncherDialogs, PropertyFieldsAreCheckedMaximumFirst) {
    const PropertyFieldsCheck ok = CheckPropertyFields("2000", "0");
    ASSERT_TRUE(ok.ok);
    EXPECT_EQ(ok.macroFileMax, 2000);
    EXPECT_EQ(ok.macroDirDepth, 0);
    struct Bad {
        const char* max;
        const char* depth;
        PropertyField field;
        const char* message;
    };
    for (const Bad& b :
         {Bad{"0", "2", PropertyField::MacroFileMax, "1 から 2000 までの整数を入力してください。"},
          {"2001", "x", PropertyField::MacroFileMax, "1 から 2000 までの整数を入力してください。"},
          {"abc", "2", PropertyField::MacroFileMax, "正の整数を入力してください。"},
          {"-1", "2", PropertyField::MacroFileMax, "正の整数を入力してください。"},
          {"100", "11", PropertyField::MacroDirDepth, "0 から 10 までの整数を入力してください。"},
          {"100", "", PropertyField::MacroDirDepth, "正の整数を入力してください。"}}) {
        const PropertyFieldsCheck c = CheckPropertyFields(b.max, b.depth);
        EXPECT_FALSE(c.ok) << b.max << " " << b.depth;
        EXPECT_EQ(c.field, b.field) << b.max << " " << b.depth;
        EXPECT_EQ(c.message, b.message) << b.max << " " << b.depth;
    }
}

// Confirming the property dialog without changes: the three catalogue keys are written
// again, the hotkey keys stay as the file holds them.
TEST(LauncherDialogs, PropertyOkRewritesTheCatalogueKeysButNotTheHotkey) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, kPath);
    fs.files[kPath] =
        "[ZorvaneSettings]\r\nSplashShowSec=5\r\nHotkey=090\r\nHotkeyMod=01\r\n"
        "RkMacroTopPath=C:\\マクロ 表\r\nRkMacroFileMax=0100\r\nRkMacroDirDepht=02\r\n";
    const PropertyFieldsCheck c = CheckPropertyFields("100", "2");
    ASSERT_TRUE(c.ok);
    WritePropertySettings(profile, "C:\\マクロ 表", c.macroFileMax, c.macroDirDepth);
    WriteHotkeyIfChanged(profile, 1, 0x5A);
    EXPECT_EQ(fs.files[kPath],
              "[ZorvaneSettings]\r\nSplashShowSec=5\r\nHotkey=090\r\nHotkeyMod=01\r\n"
              "RkMacroTopPath=C:\\マクロ 表\r\nRkMacroFileMax=100\r\nRkMacroDirDepht=2\r\n");
}

}  // namespace
}  // namespace zv
