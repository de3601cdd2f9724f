// The KEYIN dialog's key field inside a real dialog: keys reach it through the dialog
// manager as they do when a user presses them, so Tab, Enter and Escape are recorded
// instead of moving the focus or closing the dialog, while Alt with a letter still
// reaches the dialog's mnemonics.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/win32/dialog.h"
#include "common/win32/text.h"
#include "editor/win32/keyinctrl.h"
#include "win32_helpers.h"

namespace zv {
namespace {

constexpr UINT kTestDialog = 900;  // tests/win32/win32_tests.rc
constexpr int kTestEdit = 100;
constexpr int kMnemonicButton = 300;

class KeyFieldDialog : public CDialog {
public:
    KeyFieldDialog() : CDialog(kTestDialog) {}
    int oks = 0;
    int cancels = 0;
    int mnemonicClicks = 0;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id == kMnemonicButton && code == BN_CLICKED) {
            ++mnemonicClicks;
            return true;
        }
        return CDialog::OnCommand(id, code, control);
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
};

class EditorKeyField : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        dlg = dialog.GetSafeHwnd();
        edit = GetDlgItem(dlg, kTestEdit);
        // A button with a mnemonic, and the field read-only as the KEYIN dialog has it.
        CreateWindowExW(0, L"BUTTON", L"(&Q)", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 120, 36, 40, 14,
                        dlg, reinterpret_cast<HMENU>(kMnemonicButton), nullptr, nullptr);
        SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
        ASSERT_TRUE(field.Attach(edit));
        ShowWindow(dlg, SW_SHOW);
        SetForegroundWindow(dlg);
        SetFocus(edit);
    }
    void TearDown() override { field.UnsubclassWindow(); }

    // One message as the message loop hands it to a modeless dialog, then what it posted
    // (the characters TranslateMessage makes).
    void Deliver(UINT msg, WPARAM wp) {
        MSG m{edit, msg, wp, 1, GetTickCount(), {}};
        if (!IsDialogMessageW(dlg, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        MSG posted;
        while (PeekMessageW(&posted, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dlg, &posted)) {
                TranslateMessage(&posted);
                DispatchMessageW(&posted);
            }
        }
    }
    void Press(WPARAM vk, bool system = false) {
        Deliver(system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk);
        Deliver(system ? WM_SYSKEYUP : WM_KEYUP, vk);
    }
    std::string Text() const { return GetWindowTextMb(edit); }

    KeyFieldDialog dialog;
    HWND dlg = nullptr;
    HWND edit = nullptr;
    CKeyInCtrl field;
};

TEST_F(EditorKeyField, DialogKeysAreRecordedNotActedOn) {
    Press(VK_TAB);
    EXPECT_EQ(Text(), "TAB");
    EXPECT_EQ(field.Code(), VK_TAB);
    EXPECT_EQ(GetFocus(), edit) << "Tab does not move the focus";

    Press(VK_RETURN);
    EXPECT_EQ(Text(), "RETURN");
    Press(VK_ESCAPE);
    EXPECT_EQ(Text(), "ESCAPE");
    EXPECT_EQ(dialog.oks, 0) << "Enter does not press OK";
    EXPECT_EQ(dialog.cancels, 0) << "Escape does not cancel";

    Press(VK_LEFT);
    EXPECT_EQ(Text(), "LEFT");
    EXPECT_EQ(GetFocus(), edit) << "an arrow does not move to the next control";

    // Alt+F4 records F4; the dialog stays.
    Deliver(WM_SYSKEYDOWN, VK_MENU);
    Press(VK_F4, true);
    Deliver(WM_SYSKEYUP, VK_MENU);
    EXPECT_EQ(Text(), "F4");
    EXPECT_TRUE(IsWindow(dlg));
    EXPECT_EQ(dialog.cancels, 0);
}

TEST_F(EditorKeyField, LettersShowAsTypedNamesForTheRest) {
    Deliver(WM_KEYDOWN, 'S');
    EXPECT_EQ(Text(), "S");
    Deliver(WM_CHAR, 's');
    EXPECT_EQ(Text(), "S") << "the character after the key changes nothing";
    Deliver(WM_KEYUP, 'S');

    Press(VK_NUMLOCK);
    EXPECT_EQ(Text(), "NUMLOCK");
    Press(VK_OEM_1);  // the colon key of a Japanese keyboard
    EXPECT_EQ(Text(), "OEM_1");
    EXPECT_EQ(field.Code(), VK_OEM_1);

    // The whole name is selected, so the next key replaces it visibly.
    EXPECT_EQ(test::Selection(edit), std::make_pair(0ul, 5ul));

    field.SetKeyText("HOME");
    EXPECT_EQ(Text(), "HOME");
    EXPECT_EQ(field.Code(), 0) << "a name set from a line has no code";
    field.Clear();
    EXPECT_EQ(Text(), "");
}

TEST_F(EditorKeyField, AltWithALetterReachesTheMnemonics) {
    Press(VK_F2);
    ASSERT_EQ(Text(), "F2");
    Deliver(WM_SYSKEYDOWN, VK_MENU);
    Deliver(WM_SYSKEYDOWN, 'Q');
    Deliver(WM_SYSKEYUP, 'Q');
    Deliver(WM_SYSKEYUP, VK_MENU);
    EXPECT_EQ(dialog.mnemonicClicks, 1);
    EXPECT_EQ(Text(), "F2") << "Alt+Q is not recorded";
}

}  // namespace
}  // namespace zv
