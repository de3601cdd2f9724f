// The launcher's Win32 layer under Wine: menus from the catalogue model, RunProgram, the
// watch over started engines and the modifier keys it lets go, the foreground lock
// against the real registry and system parameters, the tray window's click timing, the
// shared edit controls and the program's own resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/win32/bitmdraw.h"
#include "common/win32/dpi.h"
#include "launcher/catalogue.h"
#include "launcher/win32/fglock_win32.h"
#include "common/filesystem.h"
#include "common/win32/imectrl.h"
#include "launcher/win32/launcher_app.h"
#include "launcher/launcher_shell.h"
#include "launcher/win32/menubuild.h"
#include "common/win32/mnedit.h"
#include "common/runprogram.h"
#include "common/win32/runprogram_win32.h"
#include "common/winconst.h"
#include "engine/win32/desktop_win32.h"
#include "launcher/win32/enginewatch.h"
#include "launcher/win32/splashwnd.h"
#include "common/win32/text.h"
#include "launcher/win32/traywnd.h"
#include "launcher/win32/versioninfo.h"
#include "win32_helpers.h"

namespace zv {
namespace {

using test::PumpFor;
using test::Selection;
using test::TempTree;
using test::TextOf;

std::wstring MenuText(HMENU menu, UINT pos) {
    wchar_t buf[256] = {};
    GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
    return buf;
}

// A menu's items as lines: "id text", "text >" for a submenu, "-" for a separator.
std::vector<std::wstring> MenuLines(HMENU menu) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetSubMenu(menu, i) != nullptr)
            lines.push_back(MenuText(menu, i) + L" >");
        else if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)
            lines.push_back(L"-");
        else
            lines.push_back(std::to_wstring(GetMenuItemID(menu, i)) + L" " + MenuText(menu, i));
    }
    return lines;
}
using Lines = std::vector<std::wstring>;

HBITMAP CheckBitmapOf(HMENU menu, UINT pos) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    GetMenuItemInfoW(menu, pos, TRUE, &info);
    EXPECT_EQ(info.hbmpChecked, info.hbmpUnchecked);
    return info.hbmpUnchecked;
}

MacroMenuNode MacroNode(int id, const std::string& label,
                        MacroBitmap bitmap = MacroBitmap::Ordinary) {
    MacroMenuNode n;
    n.id = id;
    n.label = label;
    n.path = "C:\\m\\" + label;
    n.bitmap = bitmap;
    return n;
}

TEST(LauncherMenu, ModelBecomesItemsAboveTheCommandMenu) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 32771, L"ホットキーの設定(&H)");
    HBITMAP ordinary = CreateBitmap(13, 13, 1, 32, nullptr);
    HBITMAP targeted = CreateBitmap(13, 13, 1, 32, nullptr);

    MacroMenuNode folder;
    folder.isFolder = true;
    folder.label = "予定表 フォルダ";
    folder.children = {MacroNode(10002, "中の一つ")};
    const std::vector<MacroMenuNode> items{MacroNode(10000, "日報を書く"),
                                           MacroNode(10001, "メモ帳用", MacroBitmap::Targeted),
                                           folder};
    InsertMacroMenuItems(menu, items, ordinary, targeted);

    EXPECT_EQ(MenuLines(menu), (Lines{L"10000 日報を書く", L"10001 メモ帳用", L"予定表 フォルダ >",
                                      L"-", L"32771 ホットキーの設定(&H)"}));
    HMENU sub = GetSubMenu(menu, 2);
    EXPECT_EQ(MenuLines(sub), Lines{L"10002 中の一つ"});
    EXPECT_EQ(CheckBitmapOf(menu, 0), ordinary);
    EXPECT_EQ(CheckBitmapOf(menu, 1), targeted);
    EXPECT_EQ(CheckBitmapOf(sub, 0), ordinary);

    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(sub)) << "submenus go with the menu";
    DeleteObject(ordinary);
    DeleteObject(targeted);
}

TEST(LauncherMenu, CatalogueOnRealFilesWithJapaneseNames) {
    IFileSystem& fs = PlatformFileSystem();
    const TempTree tree("zv catalogue 表");
    const std::string& top = tree.path;
    fs.MakeDirectory(top + "\\サブ");
    ASSERT_TRUE(fs.ReplaceContent(top + "\\日報.rkm", "; <RKMACRO>日報を書く\r\n\r\nWAIT:1\r\n"));
    ASSERT_TRUE(
        fs.ReplaceContent(top + "\\サブ\\表示.rkm", "; <RKMACRO>\r\n; <TARGET>無題 - メモ帳\r\n"));
    ASSERT_TRUE(fs.ReplaceContent(top + "\\readme.txt", "no macro"));
    const MacroMenuModel m = CMacroCatalogue(fs, "無題 - メモ帳", 2, 100).Build(top);
    ASSERT_EQ(m.items.size(), 2u);
    EXPECT_EQ(m.items[0].label, "日報を書く");
    EXPECT_EQ(m.items[0].path, top + "\\日報.rkm");
    ASSERT_TRUE(m.items[1].isFolder);
    ASSERT_EQ(m.items[1].children.size(), 1u);
    EXPECT_EQ(m.items[1].children[0].label, "表示.rkm");
    EXPECT_EQ(m.items[1].children[0].bitmap, MacroBitmap::Targeted);

    // A file that cannot be opened (held without sharing) is skipped.
    const HANDLE held = CreateFileW(ToWide(top + "\\日報.rkm").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CMacroCatalogue(fs, "other", 2, 100).Build(top).itemCount, 0);
    CloseHandle(held);
}

TEST(LauncherMenu, EntriesBeyondThePathBufferAreSkipped) {
    // Created through the long-path prefix; the catalogue itself never builds such paths.
    const TempTree tree("zv long");
    const std::string& top = tree.path;
    const std::wstring wideTop = tree.Long();
    const std::string longName = std::string(250, 'L') + ".rkm";
    const std::string longDir = std::string(200, 'D');
    const std::string macro = "; <RKMACRO>x\r\n";
    ASSERT_TRUE(test::WriteBytes(wideTop + L"\\" + ToWide(longName), macro));
    ASSERT_TRUE(test::WriteBytes(wideTop + L"\\short.rkm", macro));
    CreateDirectoryW((wideTop + L"\\" + ToWide(longDir)).c_str(), nullptr);
    ASSERT_TRUE(test::WriteBytes(
        wideTop + L"\\" + ToWide(longDir) + L"\\" + ToWide(std::string(60, 'n')) + L".rkm", macro));

    const MacroMenuModel m = CMacroCatalogue(PlatformFileSystem(), "", 2, 100).Build(top);
    ASSERT_EQ(m.items.size(), 1u)
        << "the long file and the folder whose macro lies too deep are left out";
    EXPECT_EQ(m.items[0].path, top + "\\short.rkm");
}

TEST(LauncherRunProgram, StartsAQuotedProgramAndReportsFailures) {
    const TempTree tree("zv run 表 dir");
    const std::string& dir = tree.path;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::string exe = dir + "\\my cmd.exe";
    ASSERT_TRUE(
        CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), ToWide(exe).c_str(), FALSE));
    const std::string out = dir + "\\out.txt";

    EXPECT_TRUE(RunProgram("\"" + exe + "\" /c echo started> \"" + out + "\"", SW_HIDE));
    std::string content;
    // The shell creates the file before it writes the line: wait for the line.
    EXPECT_TRUE(test::WaitFor(
        [&] {
            return PlatformFileSystem().ReadAll(out, content) && content.starts_with("started");
        },
        10000))
        << content;

    EXPECT_FALSE(RunProgram("\"" + dir + "\\none.exe\" /M:\"x\"", SW_MINIMIZE));
    EXPECT_FALSE(RunProgram("", SW_SHOWDEFAULT));
    Sleep(200);
}

TEST(LauncherEngineWatch, ReportsTheEndAndTheExitCodeWithoutWaiting) {
    constexpr UINT kEnded = WM_APP + 50;
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // The first parameters of the engine-ended messages that arrive within ms.
    const auto collect = [&](DWORD ms) {
        std::vector<WPARAM> numbers;
        const ULONGLONG end = GetTickCount64() + ms;
        while (GetTickCount64() < end && numbers.empty()) {
            MSG msg;
            while (PeekMessageW(&msg, window, kEnded, kEnded, PM_REMOVE))
                numbers.push_back(msg.wParam);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
        }
        return numbers;
    };
    CEngineWatch watch(kEnded);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);

    // Runs until it is ended from outside, as Task Manager does.
    UniqueHandle slow = StartProgram(
        "\"" + FromWide(system) + "\\cmd.exe\" /c ping -n 60 127.0.0.1 > nul", SW_HIDE);
    ASSERT_TRUE(slow);
    const DWORD pid = GetProcessId(slow.Get());
    ASSERT_TRUE(watch.Watch(window, std::move(slow), "C:\\m\\表 a.rkm"));
    EXPECT_TRUE(collect(500).empty()) << "nothing while it runs";
    EXPECT_FALSE(watch.TakeEnded(1)) << "a running engine is not taken";
    UniqueHandle killer(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    ASSERT_TRUE(killer);
    ASSERT_TRUE(TerminateProcess(killer.Get(), 1));
    const std::vector<WPARAM> ended = collect(15000);
    ASSERT_EQ(ended.size(), 1u);
    const std::optional<CEngineWatch::Ended> killed = watch.TakeEnded(ended[0]);
    ASSERT_TRUE(killed);
    EXPECT_EQ(killed->exitCode, 1u);
    EXPECT_EQ(killed->macroPath, "C:\\m\\表 a.rkm");
    EXPECT_FALSE(watch.TakeEnded(ended[0])) << "taken once";
    EXPECT_EQ(watch.Watched(), 0u);
    DestroyWindow(window);
}

TEST(LauncherEngineWatch, ModifiersAnEngineHeldAreLetGoOnTheRealKeyboard) {
    const std::uint32_t modifiers[] = {VK_SHIFT,  VK_CONTROL,  VK_MENU,     VK_LSHIFT,
                                       VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU,
                                       VK_RMENU,  VK_LWIN,     VK_RWIN};
    auto anyDown = [&] {
        std::string down;
        for (std::uint32_t vk : modifiers) {
            if (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000)
                down += std::to_string(vk) + " ";
        }
        return down;
    };
    Win32ModifierKeyboard keyboard;
    ASSERT_EQ(anyDown(), "");
    // As a KEYIN of the engine presses them.
    Win32EngineDesktop engine(10, true);
    for (std::uint32_t vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        engine.SendKeyEvent(vk, kKeyDown);
    Sleep(100);
    EXPECT_NE(anyDown(), "");
    EXPECT_EQ(ReleaseHeldModifiers(keyboard).size(), 3u);
    Sleep(100);
    EXPECT_EQ(anyDown(), "") << "after the engine's keys";
    // Each side on its own: the key-up reaches the side that is down.
    for (std::uint32_t vk :
         {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN}) {
        keyboard.SendKey(vk, false);
        Sleep(50);
        EXPECT_TRUE(keyboard.IsDown(vk)) << vk;
        EXPECT_EQ(ReleaseHeldModifiers(keyboard), std::vector<std::uint32_t>{vk});
        Sleep(50);
        EXPECT_EQ(anyDown(), "") << "after " << vk;
    }
    EXPECT_TRUE(ReleaseHeldModifiers(keyboard).empty()) << "nothing is sent for keys that are up";
}

TEST(ForegroundLock, RegistryAndSystemParameterAgreeForLauncherAndEngine) {
    Win32ForegroundLock lock;
    const std::optional<std::uint32_t> original = lock.ReadSystemValue();
    ASSERT_TRUE(original.has_value());
    ASSERT_TRUE(lock.SetSystemValue(123456));
    EXPECT_EQ(lock.ReadSystemValue(), std::optional<std::uint32_t>(123456));
    EXPECT_EQ(lock.ReadRegistryValue(), std::optional<std::uint32_t>(123456))
        << "stored in the user profile";

    // The engine reads both as the launcher does; a value that is no 4-byte number, or
    // none, is no value.
    Win32EngineDesktop engine(10, true);
    EXPECT_EQ(engine.ReadForegroundLockTimeoutRegistry(), std::optional<std::uint32_t>(123456));
    EXPECT_EQ(engine.ReadForegroundLockTimeoutSystem(), std::optional<std::uint32_t>(123456));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const wchar_t text[] = L"200000";
    RegSetValueExW(key, L"ForegroundLockTimeout", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   sizeof text);
    EXPECT_EQ(engine.ReadForegroundLockTimeoutRegistry(), std::nullopt);
    RegDeleteValueW(key, L"ForegroundLockTimeout");
    EXPECT_EQ(engine.ReadForegroundLockTimeoutRegistry(), std::nullopt);
    RegCloseKey(key);
    lock.SetSystemValue(*original);  // writes the registry value again
    EXPECT_EQ(lock.ReadRegistryValue(), original);
}

// Counts the tray window's three events.
class CountingTray : public CTrayWnd {
public:
    int clicks = 0, doubles = 0, menus = 0;
    void OnTrayClick() override { ++clicks; }
    void OnTrayDoubleClick() override { ++doubles; }
    void OnTrayMenu() override { ++menus; }
};

TEST(LauncherTrayWindow, ClicksArriveAfterTheDoubleClickTimeAndDoubleClicksAlone) {
    auto* tray = new CountingTray;  // deletes itself with its window
    ASSERT_TRUE(tray->CreateTrayWindow(GetModuleHandleW(nullptr)));
    HWND w = tray->GetSafeHwnd();
    EXPECT_EQ(TextOf(w), L"TrayIconHandler");
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    const DWORD dbl = GetDoubleClickTime();
    PostMessageW(w, UM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDOWN);
    PostMessageW(w, UM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONUP);
    PumpFor(dbl / 2);
    EXPECT_EQ(tray->clicks, 0) << "not before the double-click time";
    PumpFor(dbl + 300);
    EXPECT_EQ(tray->clicks, 1);

    for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONUP})
        PostMessageW(w, UM_TRAY_NOTIFY, kTrayIconId, m);
    PostMessageW(w, UM_TRAY_NOTIFY, kTrayIconId + 1, WM_RBUTTONUP);  // another icon
    PumpFor(dbl + 300);
    EXPECT_EQ(tray->clicks, 1);
    EXPECT_EQ(tray->doubles, 1);
    EXPECT_EQ(tray->menus, 1);
    DestroyWindow(w);
}

TEST(LauncherInstance, FindsTheWindowMarkedAsRunningLauncher) {
    EXPECT_FALSE(ActivateRunningInstance());
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"marked", 0, 0, 0, 0, 0, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    SetPropW(w, kInstanceMarker, reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(ActivateRunningInstance());
    RemovePropW(w, kInstanceMarker);
    DestroyWindow(w);
}

TEST(LauncherMnEdit, TypedLettersAndLateMinusAreUndone) {
    test::ChangeCountingParent p;
    ASSERT_TRUE(p.Create());
    HWND parent = p.GetSafeHwnd();
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent,
                                reinterpret_cast<HMENU>(1019), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    {
        CMnEdit field;
        ASSERT_TRUE(field.SubclassDlgItem(1019, parent));
        EXPECT_EQ(field.imeMode, 9);
        for (wchar_t c : std::wstring(L"-12a"))
            SendMessageW(edit, WM_CHAR, c, 0);
        EXPECT_EQ(TextOf(edit), L"-12") << "only the letter is taken back";
        SendMessageW(edit, WM_CHAR, L'-', 0);
        EXPECT_EQ(TextOf(edit), L"-12") << "a minus after the first character is taken back";
        SendMessageW(edit, WM_CHAR, L'3', 0);
        EXPECT_EQ(TextOf(edit), L"-123") << "typing goes on at the caret";
        EXPECT_EQ(p.changes, 0) << "the field keeps its change notifications";

        // A paste of digits followed by a letter goes as a whole.
        SendMessageW(edit, EM_SETSEL, 1, 1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"45x"));
        EXPECT_EQ(TextOf(edit), L"-123");
        SendMessageW(edit, EM_SETSEL, 1, 1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"45"));
        EXPECT_EQ(TextOf(edit), L"-45123");
        SetWindowTextW(edit, L"-123");

        // Focus selects everything; losing it leaves no selection.
        ShowWindow(parent, SW_SHOW);
        SetFocus(edit);
        EXPECT_EQ(Selection(edit), std::make_pair(0ul, 4ul));
        SetFocus(parent);
        EXPECT_EQ(Selection(edit).first, Selection(edit).second);
    }
    // Detached: the parent sees the notifications again and any text stays.
    SendMessageW(edit, WM_CHAR, L'x', 0);
    EXPECT_EQ(TextOf(edit), L"-123x");
    EXPECT_GT(p.changes, 0);
}

TEST(LauncherImeCtrl, WindowWithoutInputContextDoesNothing) {
    CImeCtrl none(nullptr);
    EXPECT_FALSE(none.HasContext());
    EXPECT_FALSE(none.IsOpen());
    for (int mode : {0, 1, 2, 9, 5})
        none.SetMode(mode);  // no crash, nothing to change
    EXPECT_FALSE(none.IsOpen());
}

TEST(LauncherBitMDraw, MaskedDrawing) {
    HDC screen = GetDC(nullptr);
    // A 4x2 bitmap whose columns have the colours given.
    auto make = [&](std::initializer_list<COLORREF> columns) {
        HBITMAP b = CreateCompatibleBitmap(screen, 4, 2);
        HDC m = CreateCompatibleDC(screen);
        HGDIOBJ o = SelectObject(m, b);
        for (int y = 0; y < 2; ++y) {
            int x = 0;
            for (COLORREF c : columns)
                SetPixel(m, x++, y, c);
        }
        SelectObject(m, o);
        DeleteDC(m);
        return b;
    };
    const COLORREF was = RGB(0xF0, 0x80, 0x0F), white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    HBITMAP target = make({was, was, was, was});
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, target);
    HBITMAP image = make({RGB(0, 0, 0xFF), white, RGB(0, 0xFF, 0), RGB(0x33, 0xFF, 0xFF)});
    HBITMAP mask = make({white, black, white, black});
    CBitMDraw(0, 0, 4, 2, dc, image, mask);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 0xFF)) << "white mask: the image";
    EXPECT_EQ(GetPixel(dc, 1, 1), was) << "black mask, white image: the background";
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0xFF, 0));
    EXPECT_EQ(GetPixel(dc, 3, 0), RGB(0xF0 & 0x33, 0x80, 0x0F))
        << "black mask: image ANDed onto the background";
    SelectObject(dc, old);
    DeleteObject(image);
    DeleteObject(mask);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// Zorvane.exe of the same build, loaded for its resources.
class ZorvaneResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module_, nullptr) << "Zorvane.exe beside the tests"; }
    test::LoadedProgram program_{L"Zorvane.exe"};
    HMODULE module_ = program_.Get();
    const std::wstring exe_ = test::ProgramPath(L"Zorvane.exe");
};

TEST_F(ZorvaneResources, MenusStringsBitmapsAndVersion) {
    // The first popup of a menu resource: its title and its items.
    auto popup = [&](UINT menuId) {
        const UniqueMenu bar(LoadMenuW(module_, MAKEINTRESOURCEW(menuId)));
        Lines lines = MenuLines(GetSubMenu(bar.Get(), 0));
        lines.insert(lines.begin(), MenuText(bar.Get(), 0));
        return lines;
    };
    EXPECT_EQ(
        popup(131),
        (Lines{L"トレイメニュー", L"32776 処理ログを見る(&L)", L"32775 RKマクロエディタ起動(&M)",
               L"-", L"32777 プロパティ(&P)", L"32778 RKマクロエンジンプロパティ(&E)", L"-",
               L"32772 使い方の説明(&H)", L"32781 Zorvane について(&A)", L"-", L"32782 終了(&X)"}));
    EXPECT_EQ(popup(132), (Lines{L"コマンドメニュー", L"-", L"32771 ホットキーの設定(&H)",
                                 L"32773 RKマクロパス選択(&P)", L"32775 RKマクロ作成(&M)"}));

    wchar_t text[128] = {};
    LoadStringW(module_, 1002, text, 128);
    EXPECT_STREQ(text, L"Zorvane v2.0.2");
    LoadStringW(module_, 1009, text, 128);
    EXPECT_STREQ(text, L"RKマクロファイルが存在する先頭のパスを選択");

    for (int id : {130, 278, 148, 156, 171, 284, 285, 286}) {
        HBITMAP b = LoadBitmapW(module_, MAKEINTRESOURCEW(id));
        ASSERT_NE(b, nullptr) << id;
        BITMAP info{};
        GetObjectW(b, sizeof info, &info);
        if (id == 148 || id == 156) {
            EXPECT_EQ(info.bmWidth, 16);
            EXPECT_EQ(info.bmHeight, 79);
        }
        DeleteObject(b);
    }
    for (int id : {128, 129})
        EXPECT_NE(LoadIconW(module_, MAKEINTRESOURCEW(id)), nullptr) << id;
    EXPECT_EQ(ReadProductVersion(FromWide(exe_)), std::optional<std::string>("2.0.2.0"));
    EXPECT_EQ(ReadProductVersion(FromWide(exe_) + ".none"), std::nullopt);
}

TEST_F(ZorvaneResources, SplashIsCentredThenRaisedAndTranslucent) {
    HWND splash = CSplashWnd::Create(module_, 10);
    ASSERT_NE(splash, nullptr);
    RECT r;
    GetWindowRect(splash, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const ScreenPoint p = SplashPosition(GetSystemMetrics(SM_CXSCREEN),
                                         GetSystemMetrics(SM_CYSCREEN), w, h, DpiOfWindow(splash));
    EXPECT_EQ(r.left, p.x);
    EXPECT_EQ(r.top, p.y);
    EXPECT_LT(r.top + h / 2, GetSystemMetrics(SM_CYSCREEN) / 2) << "above the centre";
    const LONG_PTR ex = GetWindowLongPtrW(splash, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(splash, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 180);
    EXPECT_TRUE(flags & LWA_ALPHA);
    EXPECT_NE(GetWindowLongPtrW(splash, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "no title bar";
    DestroyWindow(splash);

    // Before version 5 the splash stays an ordinary opaque pop-up.
    splash = CSplashWnd::Create(module_, 4);
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(splash, GWL_EXSTYLE) & WS_EX_LAYERED);
    DestroyWindow(splash);
}

}  // namespace
}  // namespace zv
