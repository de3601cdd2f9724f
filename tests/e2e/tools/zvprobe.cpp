// zvprobe.dll: runs inside a program under test, hooked onto one of its threads by zvtool
// (zvprobe.h). It measures the text of a dialog's controls with the fonts they really
// show (a font belongs to its process: zvtool could not measure it from outside), and it
// sends WM_DPICHANGED to a window as the system does when a window moves to a monitor of
// another scale, which Wine never does. It reads what a user reads where Wine gives no
// other process a way: the items of open menus, and the text an owner-drawn list draws
// (each item drawn into a metafile, whose text records are read back).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "zvprobe.h"

using namespace zvprobe;

namespace {

UINT ProbeMessage() {
    static const UINT message = RegisterWindowMessageW(kProbeMessage);
    return message;
}

UINT DpiOf(HWND w) {
    using Fn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    const UINT dpi = getDpi != nullptr ? getDpi(w) : 0;
    return dpi != 0 ? dpi : 96;
}

int KindOf(HWND w, const wchar_t* cls, DWORD style, bool hasText) {
    if (_wcsicmp(cls, L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
            case SS_LEFTNOWORDWRAP:
            case SS_SIMPLE:
                return hasText ? kStatic : kNoText;
            default:
                return kNoText;  // icons, bitmaps, frames
        }
    }
    if (_wcsicmp(cls, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_OWNERDRAW:
                return kNoText;  // a picture; its text is only its mnemonic
            case BS_GROUPBOX:
                return hasText ? kGroup : kNoText;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return kCheck;
            default:
                return hasText ? kPush : kNoText;
        }
    }
    if (_wcsicmp(cls, L"ListBox") == 0 && (style & LBS_OWNERDRAWFIXED) != 0 &&
        SendMessageW(w, WM_GETFONT, 0, 0) != 0) {
        return kLineList;
    }
    return kNoText;
}

// The text's size as the control lays it out: wrapped in the client width for a label
// that wraps, one line otherwise.
SIZE TextSize(HDC dc, const wchar_t* text, int kind, DWORD style, int width) {
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    const bool wraps = kind == kStatic && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP &&
                       (style & SS_TYPEMASK) != SS_SIMPLE;
    if (wraps)
        format |= DT_WORDBREAK;
    else if (kind != kStatic || (style & SS_TYPEMASK) == SS_SIMPLE)
        format |= DT_SINGLELINE;
    if (kind == kStatic && (style & SS_NOPREFIX))
        format |= DT_NOPREFIX;
    RECT r{0, 0, wraps ? width : 0, 0};
    DrawTextW(dc, text, -1, &r, format);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof bm, &bm) == 0)
        return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

SIZE ImageSize(HWND w, const wchar_t* cls, DWORD style) {
    if (_wcsicmp(cls, TOOLBARCLASSNAMEW) == 0) {
        int cx = 0;
        int cy = 0;
        const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(w, TB_GETIMAGELIST, 0, 0));
        if (images == nullptr || !ImageList_GetIconSize(images, &cx, &cy))
            return {0, 0};
        return {cx, cy};
    }
    if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP)
        return BitmapSize(
            reinterpret_cast<HBITMAP>(SendMessageW(w, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        ICONINFO info{};
        const auto icon = reinterpret_cast<HICON>(SendMessageW(w, STM_GETICON, 0, 0));
        if (icon == nullptr || !GetIconInfo(icon, &info))
            return {0, 0};
        const SIZE size = BitmapSize(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask);
        if (info.hbmColor != nullptr)
            DeleteObject(info.hbmColor);
        if (info.hbmMask != nullptr)
            DeleteObject(info.hbmMask);
        return size;
    }
    if (_wcsicmp(cls, L"Button") == 0 && (style & BS_TYPEMASK) == BS_OWNERDRAW) {
        RECT r{};
        GetClientRect(w, &r);  // the bitmap buttons are as large as their images
        return {r.right, r.bottom};
    }
    return {0, 0};
}

void Measure(HWND window, Block& b) {
    b.windowDpi = DpiOf(window);
    RECT client{};
    GetClientRect(window, &client);
    b.clientSize = {client.right, client.bottom};
    b.count = 0;
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    for (HWND w = GetWindow(window, GW_CHILD); w != nullptr && b.count < kMaxControls;
         w = GetWindow(w, GW_HWNDNEXT)) {
        Control& c = b.controls[b.count++];
        ZeroMemory(&c, sizeof c);
        GetClassNameW(w, c.cls, 32);
        GetWindowTextW(w, c.text, 256);
        c.id = GetDlgCtrlID(w);
        c.style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
        c.visible = IsWindowVisible(w);
        GetWindowRect(w, &c.rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&c.rect), 2);
        RECT cr{};
        GetClientRect(w, &cr);
        c.client = {cr.right, cr.bottom};
        c.kind = KindOf(w, c.cls, c.style, c.text[0] != 0);
        auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
        if (font == nullptr)
            font = dialogFont;
        LOGFONTW lf{};
        if (font != nullptr && GetObjectW(font, sizeof lf, &lf) != 0) {
            c.fontHeight = lf.lfHeight;
            lstrcpynW(c.face, lf.lfFaceName, 32);
        }
        HDC dc = GetDC(w);
        const HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        c.lineHeight = tm.tmHeight;
        if (c.kind != kNoText && c.kind != kLineList)
            c.textSize = TextSize(dc, c.text, c.kind, c.style, c.client.cx);
        if (old != nullptr)
            SelectObject(dc, old);
        ReleaseDC(w, dc);
        if (c.kind == kPush || c.kind == kCheck) {
            SIZE ideal{0, 0};
            if (SendMessageW(w, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)))
                c.idealSize = ideal;
        }
        if (c.kind == kLineList)
            c.itemHeight = static_cast<int>(SendMessageW(w, LB_GETITEMHEIGHT, 0, 0));
        c.imageSize = ImageSize(w, c.cls, c.style);
    }
}

void ChangeDpi(HWND window, Block& b) {
    RECT r = b.rect;
    if (r.right <= r.left) {
        // As the system suggests it: the window's size at the new DPI, in its place.
        GetWindowRect(window, &r);
        const UINT from = DpiOf(window);
        r.right =
            r.left + MulDiv(r.right - r.left, static_cast<int>(b.dpi), static_cast<int>(from));
        r.bottom =
            r.top + MulDiv(r.bottom - r.top, static_cast<int>(b.dpi), static_cast<int>(from));
    }
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(b.dpi, b.dpi), reinterpret_cast<LPARAM>(&r));
}

void MenuItems(Block& b) {
    int place = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(w))
            continue;
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
        const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
        for (int i = 0; i < count && b.count < kMaxControls; ++i) {
            Control& c = b.controls[b.count];
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
            info.dwTypeData = c.text;
            info.cch = 256;
            if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
                continue;
            c.id = static_cast<int>(info.wID);
            c.item = place;
            c.flags = info.fType | info.fState | (info.hSubMenu != nullptr ? MF_POPUP : 0);
            ++b.count;
        }
        ++place;
    }
}

struct Drawn {
    Block* block;
    int item;
    COLORREF colour;
};

int CALLBACK DrawnRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM lp) {
    auto* drawn = reinterpret_cast<Drawn*>(lp);
    if (record->iType == EMR_SETTEXTCOLOR) {
        drawn->colour = reinterpret_cast<const EMRSETTEXTCOLOR*>(record)->crColor;
    } else if (record->iType == EMR_EXTTEXTOUTW && drawn->block->count < kMaxControls) {
        const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                             out->emrtext.offString);
        Control& c = drawn->block->controls[drawn->block->count++];
        lstrcpynW(c.text, chars, static_cast<int>(std::min<DWORD>(out->emrtext.nChars + 1, 256)));
        c.id = drawn->item;
        c.colour = drawn->colour;
    }
    return 1;
}

// Each item of an owner-drawn list drawn whole, as the list would have it drawn, into a
// metafile; the text it drew is read back from the metafile's records in drawing order.
void DrawnText(HWND list, Block& b) {
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && b.count < kMaxControls; ++i) {
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        OffsetRect(&item, -item.left, -item.top);
        HDC screen = GetDC(list);
        HDC meta = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
        ReleaseDC(list, screen);
        if (meta == nullptr)
            return;
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
        dis.itemID = static_cast<UINT>(i);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = list;
        dis.hDC = meta;
        dis.rcItem = item;
        dis.itemData = static_cast<ULONG_PTR>(SendMessageW(list, LB_GETITEMDATA, dis.itemID, 0));
        SendMessageW(GetParent(list), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        HENHMETAFILE drawing = CloseEnhMetaFile(meta);
        Drawn drawn{&b, i, RGB(0, 0, 0)};  // a DC's text starts black
        if (drawing != nullptr) {
            EnumEnhMetaFile(nullptr, drawing, DrawnRecord, &drawn, nullptr);
            DeleteEnhMetaFile(drawing);
        }
    }
}

void Serve(DWORD requester, HWND window) {
    wchar_t name[64];
    wsprintfW(name, L"Local\\ZvProbe.%lu", requester);
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
    if (mapping == nullptr)
        return;
    auto* b = static_cast<Block*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)));
    if (b != nullptr) {
        if (b->target == window) {
            if (b->command == kLayout)
                Measure(window, *b);
            else if (b->command == kDpiChange)
                ChangeDpi(window, *b);
            else if (b->command == kMenuItems)
                MenuItems(*b);
            else if (b->command == kDrawnText)
                DrawnText(window, *b);
            b->done = 1;
        }
        UnmapViewOfFile(b);
    }
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ZvProbeHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (msg->message == ProbeMessage())
            Serve(static_cast<DWORD>(msg->wParam), msg->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
