// The settings dialogs under Wine, built from the programs' own resources: the engine's
// dialog with its up-down ranges, numeric rows and single-dialog mark; the launcher's
// key-capture field and property dialog. What OK does is checked in the e2e tier.
// Then the dialogs on a monitor of another scale, as Windows tells them with
// WM_DPICHANGED (Wine never moves a window between monitors, so the test sends it): the
// controls and the window move to the new layout, the fonts and icons are made for the
// new DPI, the bitmap button takes the images of the new scale; and back. Also the image
// sets and icon sizes the programs carry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/folders.h"
#include "common/profile.h"
#include "common/win32/dpi.h"
#include "common/win32/text.h"
#include "common/win32/window.h"
#include "engine/settings.h"
#include "engine/settings_dialog.h"
#include "engine/startup.h"
#include "engine/win32/setting_dialog.h"
#include "launcher/win32/keyinctrl.h"
#include "launcher/win32/settingsdlgs.h"
#include "unit/fake_filesystem.h"
#include "win32_helpers.h"

namespace zv {
namespace {

using test::LoadedProgram;
using test::PumpMessages;
using test::Selection;
using test::TextOf;

// The configuration file: the real profile over a file held in memory, so that keys are
// matched and numbers read as the programs' own profile does.
struct MemoryProfileFile {
    test::MemoryFileSystem fs;
};
class MemoryProfile : private MemoryProfileFile, public IniProfile {
public:
    MemoryProfile() : IniProfile(fs, "C:\\Zorvane.ini") {}
    // The file's text; empty while nothing was written.
    std::string Text() const {
        auto it = fs.files.find(Path());
        return it == fs.files.end() ? std::string() : it->second;
    }
};

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
    MemoryProfile profile;
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
    EXPECT_EQ(press(WM_KEYDOWN, VK_SHIFT), L"F12") << "Shift alone is no key";
    EXPECT_EQ(press(WM_KEYDOWN, VK_NUMPAD0), L"NUMPAD0");
    EXPECT_EQ(press(WM_SYSKEYDOWN, VK_F10), L"F10") << "F10 comes as a system key";
    EXPECT_EQ(press(WM_SYSKEYDOWN, VK_F9, 1 << 29), L"F10") << "with Alt it is a mnemonic";
    // The character a letter's key-down already queued is not typed.
    PostMessageW(edit, WM_CHAR, L'q', 0);
    EXPECT_EQ(press(WM_KEYDOWN, 'Q'), L"Q");
    EXPECT_EQ(field.Key(), 'Q');
    EXPECT_EQ(Selection(edit), std::make_pair(0ul, 1ul)) << "the name is selected";

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
    MemoryProfile profile;
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

// ---- another scale ----

struct ControlState {
    HWND hwnd;
    RECT rect;  // in the dialog's client coordinates
    LONG fontHeight;
    std::wstring face;
};

// Where a control stands in its dialog's client area.
RECT PlacedIn(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<ControlState> Controls(HWND dialog) {
    std::vector<ControlState> out;
    for (HWND w = GetWindow(dialog, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        ControlState c{w, PlacedIn(dialog, w), 0, {}};
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        c.fontHeight = lf.lfHeight;
        c.face = lf.lfFaceName;
        out.push_back(c);
    }
    return out;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bm{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

int BigIconWidth(HWND w) {
    return IconWidth(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0)));
}

// The line height of a font of face at lfHeight, measured here.
int LineHeight(const std::wstring& face, LONG height) {
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                             0, 0, face.c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return tm.tmHeight;
}

RECT WindowRectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// got against want's sides, across and down times, to a pixel.
void ExpectScaled(const RECT& got, const RECT& want, double across, double down) {
    EXPECT_NEAR(got.left, want.left * across, 1);
    EXPECT_NEAR(got.right, want.right * across, 1);
    EXPECT_NEAR(got.top, want.top * down, 1);
    EXPECT_NEAR(got.bottom, want.bottom * down, 1);
}

void SendDpiChanged(HWND w, UINT dpi, RECT suggested) {
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class DpiChange : public ProgramDialogs {
protected:
    void SetUp() override {
        ProgramDialogs::SetUp();
        if (DpiOfWindow(GetDesktopWindow()) != 96)
            GTEST_SKIP() << "the win32 tier runs at 96 DPI";
    }
};

TEST_F(DpiChange, EngineSettingsDialogTakesTheNewLayoutFontsAndIconAndComesBack) {
    const LoadedProgram engine(L"RkEngine.exe");
    ASSERT_NE(engine.Get(), nullptr) << "RkEngine.exe beside the tests";
    MemoryProfile profile;
    CSettingDlg dialog(DefaultEngineSettings(), profile, engine.Get());
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND d = dialog.GetSafeHwnd();
    const RECT start = WindowRectOf(d);
    const std::vector<ControlState> before = Controls(d);
    ASSERT_GT(before.size(), 30u);
    const LONG font96 = before[0].fontHeight;
    EXPECT_EQ(font96, -12) << "9 points at 96 DPI";
    EXPECT_EQ(BigIconWidth(d), 32);

    // To a 150 % monitor: the rectangle Windows suggests, the window's size times 1.5.
    const int w = start.right - start.left;
    const int h = start.bottom - start.top;
    SendDpiChanged(d, 144, {100, 80, 100 + w * 3 / 2, 80 + h * 3 / 2});
    const RECT moved = WindowRectOf(d);
    EXPECT_EQ(moved.left, 100);
    EXPECT_EQ(moved.top, 80);
    EXPECT_GE(moved.bottom - moved.top, h * 3 / 2) << "at least as suggested";
    EXPECT_EQ(moved.right - moved.left, w * 3 / 2);
    RECT client{};
    GetClientRect(d, &client);
    // Across as the DPI; down as the font's lines where they grew more than the DPI.
    const double down = std::max(1.5, static_cast<double>(LineHeight(before[0].face, -18)) /
                                          LineHeight(before[0].face, font96));
    const std::vector<ControlState> after = Controls(d);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const RECT& b = after[i].rect;
        SCOPED_TRACE(i);
        ExpectScaled(b, before[i].rect, 1.5, down);
        EXPECT_LE(b.right, client.right) << "inside the dialog";
        EXPECT_LE(b.bottom, client.bottom) << "inside the dialog";
        if (before[i].fontHeight == font96) {  // not the up-down controls, which have none
            EXPECT_EQ(after[i].fontHeight, -18) << "9 points at 144 DPI";
            EXPECT_EQ(after[i].face, before[i].face);
        }
    }
    EXPECT_EQ(BigIconWidth(d), 48) << "the icon of the new scale";

    // Back to 100 %: where it was, as it was.
    SendDpiChanged(d, 96, start);
    const RECT back = WindowRectOf(d);
    EXPECT_EQ(back.left, start.left);
    EXPECT_EQ(back.top, start.top);
    EXPECT_EQ(back.right - back.left, w);
    EXPECT_EQ(back.bottom - back.top, h);
    const std::vector<ControlState> again = Controls(d);
    for (std::size_t i = 0; i < again.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectScaled(again[i].rect, before[i].rect, 1, 1);
        EXPECT_EQ(again[i].fontHeight, before[i].fontHeight);
    }
    EXPECT_EQ(BigIconWidth(d), 32);
}

TEST_F(DpiChange, FolderButtonTakesTheImagesOfTheNewScaleAroundItsCentre) {
    const LoadedProgram launcher(L"Zorvane.exe");
    ASSERT_NE(launcher.Get(), nullptr) << "Zorvane.exe beside the tests";
    LauncherSettings settings;
    settings.macroTopPath = "C:\\RK_MACRO";
    MemoryProfile profile;
    CPropertyDlg dialog(launcher.Get(), settings, profile);
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND d = dialog.GetSafeHwnd();
    auto placed = [&] { return PlacedIn(d, dialog.Item(1010)); };
    const RECT at96 = placed();
    EXPECT_EQ(at96.right - at96.left, 20);
    EXPECT_EQ(at96.bottom - at96.top, 18);
    const RECT start = WindowRectOf(d);
    for (const auto& [dpi, width, height] :
         {std::tuple{192u, 40, 36}, std::tuple{144u, 30, 27}, std::tuple{96u, 20, 18}}) {
        SCOPED_TRACE(dpi);
        SendDpiChanged(d, dpi, start);
        const RECT r = placed();
        EXPECT_EQ(r.right - r.left, width) << "the bitmap of the scale, whole";
        EXPECT_EQ(r.bottom - r.top, height);
        // Beside the path field, as at 96 DPI: its centre level with the field's.
        const RECT field = PlacedIn(d, dialog.Item(1009));
        EXPECT_NEAR((r.top + r.bottom) / 2, (field.top + field.bottom) / 2, 2);
        EXPECT_GT(r.left, field.right);
    }
    // After the round trip it stands where it stood.
    const RECT back = placed();
    EXPECT_NEAR(back.left, at96.left, 2);
    EXPECT_NEAR(back.top, at96.top, 2);
}

// The icon directory of a program's icon: the sizes it carries.
std::vector<int> IconSizes(HMODULE module, UINT id) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
    struct GroupHeader {
        WORD reserved, type, count;
    };
#pragma pack(pop)
    std::vector<int> sizes;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // group icon
    if (found == nullptr)
        return sizes;
    const auto* header = static_cast<const GroupHeader*>(LockResource(LoadResource(module, found)));
    const auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);
    for (WORD i = 0; i < header->count; ++i)
        sizes.push_back(entries[i].width == 0 ? 256 : entries[i].width);
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

TEST(DpiImages, IconsCarryTheSizesOfEveryScaleAndBitmapsComeInThreeSets) {
    const std::vector<int> wanted{16, 20, 24, 32, 40, 48, 64};
    for (const wchar_t* name : {L"RkEngine.exe", L"Zorvane.exe"})
        EXPECT_EQ(IconSizes(LoadedProgram(name).Get(), 128), wanted) << name;
    const LoadedProgram program(L"RkEditor.exe");
    HMODULE editor = program.Get();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(IconSizes(editor, 128), wanted);
    // The small and big icon at each scale: exactly the size, not a stretched one.
    for (const auto& [dpi, small, big] : {std::tuple{96u, 16, 32}, std::tuple{120u, 20, 40},
                                          std::tuple{144u, 24, 48}, std::tuple{192u, 32, 64}}) {
        EXPECT_EQ(IconWidth(LoadIconForDpi(editor, 128, true, dpi).Get()), small) << dpi;
        EXPECT_EQ(IconWidth(LoadIconForDpi(editor, 128, false, dpi).Get()), big) << dpi;
    }
    // The tool bar's ten images, the command icons and the tracker in their sets.
    const struct {
        UINT id;
        UINT dpi;
        LONG cx, cy;
    } sets[] = {{140, 96, 160, 15},  {140, 144, 240, 23}, {140, 192, 320, 30},
                {141, 144, 288, 48}, {141, 192, 384, 64}, {142, 144, 48, 48},
                {147, 192, 64, 64},  {143, 144, 30, 27},  {146, 192, 40, 36}};
    for (const auto& s : sets) {
        UniqueBitmap b(LoadBitmapForDpi(editor, s.id, s.dpi));
        const SIZE size = BitmapSize(b.Get());
        EXPECT_EQ(size.cx, s.cx) << s.id << " at " << s.dpi;
        EXPECT_EQ(size.cy, s.cy) << s.id << " at " << s.dpi;
    }
}

}  // namespace
}  // namespace zv
