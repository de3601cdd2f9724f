// The programs' dialogs on a monitor of another scale, as Windows tells them with
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

#include "common/win32/dpi.h"
#include "engine/settings.h"
#include "engine/win32/setting_dialog.h"
#include "fake_profile.h"
#include "launcher/win32/settingsdlgs.h"
#include "win32_helpers.h"

namespace zv {
namespace {

using test::LoadedProgram;

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

void SendDpiChanged(HWND w, UINT dpi, RECT suggested) {
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

class DpiChange : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        if (DpiOfWindow(GetDesktopWindow()) != 96)
            GTEST_SKIP() << "the win32 tier runs at 96 DPI";
    }
};

TEST_F(DpiChange, EngineSettingsDialogTakesTheNewLayoutFontsAndIconAndComesBack) {
    const LoadedProgram engine(L"RkEngine.exe");
    ASSERT_NE(engine.Get(), nullptr) << "RkEngine.exe beside the tests";
    test::MemoryProfile profile;
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
        const RECT& a = before[i].rect;
        const RECT& b = after[i].rect;
        SCOPED_TRACE(i);
        EXPECT_NEAR(b.left, a.left * 1.5, 1);
        EXPECT_NEAR(b.right, a.right * 1.5, 1);
        EXPECT_NEAR(b.top, a.top * down, 1);
        EXPECT_NEAR(b.bottom, a.bottom * down, 1);
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
        EXPECT_NEAR(again[i].rect.left, before[i].rect.left, 1);
        EXPECT_NEAR(again[i].rect.top, before[i].rect.top, 1);
        EXPECT_NEAR(again[i].rect.right, before[i].rect.right, 1);
        EXPECT_NEAR(again[i].rect.bottom, before[i].rect.bottom, 1);
        EXPECT_EQ(again[i].fontHeight, before[i].fontHeight);
    }
    EXPECT_EQ(BigIconWidth(d), 32);
}

TEST_F(DpiChange, FolderButtonTakesTheImagesOfTheNewScaleAroundItsCentre) {
    const LoadedProgram launcher(L"Zorvane.exe");
    ASSERT_NE(launcher.Get(), nullptr) << "Zorvane.exe beside the tests";
    LauncherSettings settings;
    settings.macroTopPath = "C:\\RK_MACRO";
    test::MemoryProfile profile;
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
    // The tool bar's ten images, the command icons and the tracker in their sets; a DPI
    // between two sets takes the nearer, a tie the smaller.
    const struct {
        UINT id;
        UINT dpi;
        LONG cx, cy;
    } sets[] = {{140, 96, 160, 15},  {140, 144, 240, 23}, {140, 192, 320, 30}, {140, 120, 160, 15},
                {140, 168, 240, 23}, {140, 240, 320, 30}, {141, 144, 288, 48}, {141, 192, 384, 64},
                {142, 144, 48, 48},  {147, 192, 64, 64},  {143, 144, 30, 27},  {146, 192, 40, 36}};
    for (const auto& s : sets) {
        UniqueBitmap b(LoadBitmapForDpi(editor, s.id, s.dpi));
        const SIZE size = BitmapSize(b.Get());
        EXPECT_EQ(size.cx, s.cx) << s.id << " at " << s.dpi;
        EXPECT_EQ(size.cy, s.cy) << s.id << " at " << s.dpi;
    }
}

}  // namespace
}  // namespace zv
