#include <gtest/gtest.h>

#include "common/numberfield.h"
#include "engine/settings_dialog.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

const char* const kPath = "C:\\AppData\\Ostrand\\Zorvane\\Zorvane.ini";

TEST(NumberField, IntegersAsTheDialogsReadThem) {
    using K = NumberKind;
    EXPECT_EQ(ParseFieldNumber("42", K::Signed), 42);
    EXPECT_EQ(ParseFieldNumber(" \t42 ", K::Signed), 42) << "blanks around the number";
    EXPECT_EQ(ParseFieldNumber("+7", K::Signed), 7);
    EXPECT_EQ(ParseFieldNumber("-7", K::Signed), -7);
    EXPECT_EQ(ParseFieldNumber("007", K::Unsigned), 7);
    EXPECT_EQ(ParseFieldNumber("2147483647", K::Signed), 2147483647);
    EXPECT_EQ(ParseFieldNumber("-2147483648", K::Signed), -2147483648LL);
    EXPECT_EQ(ParseFieldNumber("4294967295", K::Unsigned), 4294967295LL);
    for (const char* bad : {"", " ", "-", "+", "abc", "12a", "1 2", "1.5", "0x10", "２",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        EXPECT_EQ(ParseFieldNumber(bad, K::Signed), std::nullopt) << bad;
    }
    for (const char* bad : {"-1", "-0", "4294967296", ""})
        EXPECT_EQ(ParseFieldNumber(bad, K::Unsigned), std::nullopt) << bad;
}

// Each row shows its own setting, from top to bottom.
TEST(SettingsDialog, RowsShowTheirSettings) {
    EngineSettings s;
    s.launchWaitMSec = 1;
    s.pgEndLoopSleepMSec = 2;
    s.focusCheckRetry = 3;
    s.focusCheckMSec = 4;
    s.keyinWaitMSec = 5;
    s.typeWaitMSec = 6;
    s.mouseWClickMSec = 7;
    s.openClipboardRetry = 8;
    s.mouseMoveReal = 5;  // set by hand: any value but 0 checks the box
    const SettingsFields f = SettingsToFields(s);
    EXPECT_EQ(f.rows, (std::array<std::string, 8>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_TRUE(f.mouseMoveReal);
}

// OK reads the rows in its own order and stops at the first bad one: make every field
// bad, then mend them one by one and watch which row is reported next.
TEST(SettingsDialog, OkReportsTheFirstBadRowInItsOrder) {
    SettingsFields f;
    f.rows.fill("x");
    const std::vector<SettingRow> expected{
        SettingRow::PgEndLoopSleep, SettingRow::FocusCheckMSec,    SettingRow::FocusCheckRetry,
        SettingRow::MouseWClick,    SettingRow::KeyinWait,         SettingRow::TypeWait,
        SettingRow::LaunchWait,     SettingRow::OpenClipboardRetry};
    for (SettingRow row : expected) {
        const SettingsFieldsCheck check = CheckSettingsFields(f, 500);
        ASSERT_FALSE(check.settings);
        EXPECT_EQ(check.row, row);
        EXPECT_EQ(check.message, "整数を入力してください。");
        f.rows[static_cast<std::size_t>(row)] = "12";
    }
    const SettingsFieldsCheck check = CheckSettingsFields(f, 500);
    ASSERT_TRUE(check.settings);
    EXPECT_EQ(check.settings->openClipboardRetry, 12);
    EXPECT_EQ(check.settings->mouseMoveReal, 0);
}

TEST(SettingsDialog, RangesAndTheDoubleClickBound) {
    SettingsFields f = SettingsToFields(DefaultEngineSettings());
    auto bad = [&](SettingRow row, const char* text, std::int32_t doubleClick) {
        SettingsFields g = f;
        g.rows[static_cast<std::size_t>(row)] = text;
        const SettingsFieldsCheck check = CheckSettingsFields(g, doubleClick);
        EXPECT_FALSE(check.settings) << text;
        EXPECT_EQ(check.row, row) << text;
        return check.message;
    };
    // A minus sign typed before digits passes the field and is refused by OK.
    EXPECT_EQ(bad(SettingRow::PgEndLoopSleep, "-5", 500),
              "0 から 30000 までの整数を入力してください。");
    EXPECT_EQ(bad(SettingRow::TypeWait, "60001", 500),
              "0 から 60000 までの整数を入力してください。");
    // A value set above its range by hand is shown, and refused until corrected.
    EngineSettings large = DefaultEngineSettings();
    large.focusCheckRetry = 99999;
    EXPECT_EQ(CheckSettingsFields(SettingsToFields(large), 500).message,
              "0 から 100 までの整数を入力してください。");
    // The double-click interval may go up to the system's double-click time of the moment.
    EXPECT_EQ(bad(SettingRow::MouseWClick, "600", 500),
              "0 から 500 までの整数を入力してください。");
    f.rows[static_cast<std::size_t>(SettingRow::MouseWClick)] = "600";
    ASSERT_TRUE(CheckSettingsFields(f, 600).settings);
    EXPECT_EQ(CheckSettingsFields(f, 600).settings->mouseWClickMSec, 600);
}

TEST(SettingsDialog, OkWritesTheNineKeysInOrderAndLeavesTheLaunchersKey) {
    test::MemoryFileSystem fs;
    fs.files[kPath] = "[RkEngineSettings]\r\nFOREGROUNDLOCKTIMEOUT=200000\r\nMouseMoveReal=5\r\n";
    IniProfile profile(fs, kPath);
    SettingsFields f = SettingsToFields(DefaultEngineSettings());
    f.rows[static_cast<std::size_t>(SettingRow::KeyinWait)] = " 250";
    f.mouseMoveReal = true;
    const SettingsFieldsCheck check = CheckSettingsFields(f, 500);
    ASSERT_TRUE(check.settings);
    WriteEngineSettings(profile, *check.settings);
    EXPECT_EQ(fs.files[kPath],
              "[RkEngineSettings]\r\nFOREGROUNDLOCKTIMEOUT=200000\r\nMouseMoveReal=1\r\n"
              "LaunchWaitMSec=3000\r\nKeyinWaitMSec=250\r\nTypeWaitMSec=5000\r\n"
              "MouseWClickMSec=100\r\nFocusCheckRetry=10\r\nFocusCheckMSec=200\r\n"
              "PgEndLoopSleepMSec=1000\r\nOpenClipboardRetry=50\r\n");
    // Restoring the defaults and confirming writes exactly the defaults back.
    WriteEngineSettings(
        profile, *CheckSettingsFields(SettingsToFields(DefaultEngineSettings()), 500).settings);
    EXPECT_EQ(LoadEngineSettings(profile).keyinWaitMSec, 100);
    EXPECT_EQ(LoadEngineSettings(profile).mouseMoveReal, 0);
}

}  // namespace
}  // namespace zv
