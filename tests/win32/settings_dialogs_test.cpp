// The settings dialogs under Wine, built from the programs' own resources: the engine's
// dialog with its up-down ranges, numeric rows and single-dialog mark; the launcher's
// key-capture field and property dialog. What OK does is checked in the e2e tier.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/folders.h"
#include "common/win32/text.h"
#include "common/win32/window.h"
#include "engine/settings_dialog.h"
#include "engine/startup.h"
#include "engine/win32/setting_dialog.h"
#include "fake_profile.h"
#include "win32_helpers.h"
#include "launcher/win32/keyinctrl.h"
#include "launcher/win32/settingsdlgs.h"

namespace zv {
namespace {

using test::LoadedProgram;
using test::PumpMessages;
using test::Selection;
using test::TextOf;

std::pair<int, int> SpinRange(HWND dialog, int id) {
    int low = -1, high = -1;
    SendDlgItemMessageW(dialog, id, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                        reinterpret_cast<LPARAM>(&high));
    return {low, high};
}

class ProgramDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
    }
};

TEST_F(ProgramDialogs, EngineSettingsDialogRangesRowsAndMark) {
    const LoadedProgram engine(L"RkEngine.exe");
    ASSERT_NE(engine.Get(), nullptr) << "RkEngine.exe beside the tests";
    test::MemoryProfile profile;
    EngineSettings settings = DefaultEngineSettings();
    settings.focusCheckRetry = 99999;  // above its range, set by hand
    const std::wstring mark = ToWide(kSettingsDialogProperty);
    CSettingDlg dialog(settings, profile, engine.Get());
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND d = dialog.GetSafeHwnd();
    EXPECT_EQ(TextOf(d), L"RkEngine [RKマクロエンジンのプロパティ]");
    EXPECT_EQ(FindWindowWithProperty(mark.c_str()), d) << "marked as the open dialog";
    EXPECT_EQ(TextOf(dialog.Item(CSettingDlg::FieldId(SettingRow::FocusCheckRetry))), L"99999");

    const int doubleClick = static_cast<int>(GetDoubleClickTime());
    for (std::size_t i = 0; i < kSettingRowCount; ++i) {
        const SettingRow row = static_cast<SettingRow>(i);
        const SettingRange r = SettingRowRange(row, doubleClick);
        EXPECT_EQ(SpinRange(d, CSettingDlg::SpinId(row)), std::make_pair(r.min, r.max)) << i;
        // Digits-only rows take back a letter; the two plain rows keep it until OK.
        HWND field = dialog.Item(CSettingDlg::FieldId(row));
        const std::wstring before = TextOf(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        SendMessageW(field, WM_CHAR, L'x', 0);
        EXPECT_EQ(TextOf(field), kSettingRows[i].digitsOnly ? before : L"x") << i;
    }
    // The up-down steps its row within the range and writes plain digits.
    HWND launch = dialog.Item(CSettingDlg::FieldId(SettingRow::LaunchWait));
    SetWindowTextW(launch, L"29999");
    HWND spin = dialog.Item(CSettingDlg::SpinId(SettingRow::LaunchWait));
    for (int step = 0; step < 3; ++step) {
        SendMessageW(spin, UDM_SETPOS32, 0,
                     SendMessageW(spin, UDM_GETPOS32, 0, 0) + 1);  // as the arrow does
    }
    EXPECT_EQ(TextOf(launch), L"30000");

    SendMessageW(d, WM_COMMAND, MAKEWPARAM(1031, BN_CLICKED), 0);  // 規定値に戻す
    for (std::size_t i = 0; i < kSettingRowCount; ++i) {
        EXPECT_EQ(FromWide(TextOf(dialog.Item(CSettingDlg::FieldId(static_cast<SettingRow>(i))))),
                  SettingsToFields(DefaultEngineSettings()).rows[i]);
    }
    EXPECT_EQ(profile.Text(), "") << "restoring writes nothing";
    SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PumpMessages();
    const std::string written = profile.Text();
    EXPECT_EQ(std::count(written.begin(), written.end(), '='), 9) << "OK writes the nine keys";
    EXPECT_EQ(profile.GetString("RkEngineSettings", "FocusCheckRetry", ""), "10");
    EXPECT_EQ(FindWindowWithProperty(mark.c_str()), nullptr) << "the mark goes with the window";
}

TEST(LauncherKeyInCtrl, TakesItsKeysAndShowsTheirNames) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"p", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr,
                                  nullptr, nullptr);
    // Not read-only here, so that a character that got through would show.
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_UPPERCASE, 0, 0, 100, 20, parent,
                                reinterpret_cast<HMENU>(1005), nullptr, nullptr);
    launcher::CKeyInCtrl field;
    field.SetKey(0x41);
    EXPECT_EQ(field.Key(), 0) << "no window: nothing stored";
    ASSERT_TRUE(field.SubclassDlgItem(1005, parent));

    auto press = [&](UINT msg, WPARAM vk, LPARAM lp = 0) {
        SendMessageW(edit, msg, vk, lp);
        PumpMessages();
        return TextOf(edit);
    };
    EXPECT_EQ(press(WM_KEYDOWN, VK_F12), L"F12");
    EXPECT_EQ(field.Key(), VK_F12);
    for (WPARAM other : {VK_SHIFT, VK_SPACE, VK_LEFT, VK_TAB, VK_MULTIPLY})
        EXPECT_EQ(press(WM_KEYDOWN, other), L"F12") << other;
    EXPECT_EQ(press(WM_KEYDOWN, VK_NUMPAD0), L"NUMPAD0");
    EXPECT_EQ(press(WM_SYSKEYDOWN, VK_F10), L"F10") << "F10 comes as a system key";
    EXPECT_EQ(press(WM_SYSKEYDOWN, VK_F9, 1 << 29), L"F10") << "with Alt it is a mnemonic";
    // The character a letter's key-down already queued is not typed.
    PostMessageW(edit, WM_CHAR, L'q', 0);
    EXPECT_EQ(press(WM_KEYDOWN, 'Q'), L"Q");
    EXPECT_EQ(field.Key(), 'Q');
    EXPECT_EQ(Selection(edit), std::make_pair(0ul, 1ul)) << "the name is selected";

    field.SetKey(0x20);
    EXPECT_EQ(TextOf(edit), L"SPACE");
    field.SetKey(0x07);
    EXPECT_EQ(TextOf(edit), L"");
    EXPECT_EQ(field.Key(), 0) << "a code without a name is no key";
    field.UnsubclassWindow();
    DestroyWindow(parent);
}

TEST_F(ProgramDialogs, LauncherPropertyDialogShowsTheSettings) {
    const LoadedProgram launcher(L"Zorvane.exe");
    ASSERT_NE(launcher.Get(), nullptr) << "Zorvane.exe beside the tests";
    LauncherSettings settings;
    settings.hotkey = 0x7B;
    settings.hotkeyMod = 6;
    settings.macroTopPath = "C:\\マクロ\\とても長い名前のフォルダ\\さらに下のフォルダ";
    settings.macroFileMax = 5000;  // above the range, as a hand-edited file may hold
    settings.macroDirDepth = 3;
    test::MemoryProfile profile;
    CPropertyDlg dialog(launcher.Get(), settings, profile);
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND d = dialog.GetSafeHwnd();
    EXPECT_EQ(TextOf(d), L"Zorvane プロパティ");
    EXPECT_EQ(FromWide(TextOf(dialog.Item(1009))), settings.macroTopPath);
    const DWORD length = static_cast<DWORD>(GetWindowTextLengthW(dialog.Item(1009)));
    EXPECT_EQ(Selection(dialog.Item(1009)), std::make_pair(length, length))
        << "the caret at the end of the path";
    EXPECT_EQ(TextOf(dialog.Item(1019)), L"5000");
    EXPECT_EQ(TextOf(dialog.Item(1021)), L"3");
    EXPECT_EQ(SpinRange(d, 1020), std::make_pair(1, 2000));
    EXPECT_EQ(SpinRange(d, 1022), std::make_pair(0, 10));
    EXPECT_EQ(TextOf(dialog.Item(1005)), L"F12");
    EXPECT_EQ((std::vector<UINT>{IsDlgButtonChecked(d, 1000), IsDlgButtonChecked(d, 1001),
                                 IsDlgButtonChecked(d, 1002), IsDlgButtonChecked(d, 1003)}),
              (std::vector<UINT>{BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED}));
    // The browse button is drawn with its bitmaps (their size: the DPI tests).
    EXPECT_EQ(GetWindowLongPtrW(dialog.Item(1010), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

}  // namespace
}  // namespace zv
