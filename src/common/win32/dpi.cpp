#include "common/win32/dpi.h"

#include "common/win32/imagesets.h"

namespace zv {
namespace {

// Calls of newer systems, looked up once at run time; null where the system lacks them.
struct DpiCalls {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

    GetDpiForWindowFn getDpiForWindow = nullptr;
    GetDpiForMonitorFn getDpiForMonitor = nullptr;
    GetSystemMetricsForDpiFn getSystemMetricsForDpi = nullptr;
    SystemParametersInfoForDpiFn systemParametersInfoForDpi = nullptr;
    SetDialogDpiChangeBehaviorFn setDialogDpiChangeBehavior = nullptr;

    DpiCalls() {
        if (HMODULE user32 = GetModuleHandleW(L"user32"); user32 != nullptr) {
            getDpiForWindow = Find<GetDpiForWindowFn>(user32, "GetDpiForWindow");
            getSystemMetricsForDpi =
                Find<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
            systemParametersInfoForDpi =
                Find<SystemParametersInfoForDpiFn>(user32, "SystemParametersInfoForDpi");
            setDialogDpiChangeBehavior =
                Find<SetDialogDpiChangeBehaviorFn>(user32, "SetDialogDpiChangeBehavior");
        }
        // Kept loaded for the life of the process.
        if (HMODULE shcore = LoadLibraryW(L"shcore.dll"); shcore != nullptr)
            getDpiForMonitor = Find<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    }

    template <typename Fn>
    static Fn Find(HMODULE module, const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

const DpiCalls& Calls() {
    static const DpiCalls calls;
    return calls;
}

constexpr int kMonitorDpiEffective = 0;  // MDT_EFFECTIVE_DPI
// SetDialogDpiChangeBehavior: no resizing, no relayout, no font change by the system.
constexpr int kDialogDpiChangeDisableAll = 1;  // DDC_DISABLE_ALL

UINT MonitorDpi(HMONITOR monitor) {
    UINT x = 0;
    UINT y = 0;
    if (monitor != nullptr && Calls().getDpiForMonitor != nullptr &&
        SUCCEEDED(Calls().getDpiForMonitor(monitor, kMonitorDpiEffective, &x, &y)) && y > 0) {
        return y;
    }
    return SystemDpi();
}

Rect ChildRect(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    // A combo box's window is as high as its list when dropped; the closed box is shorter.
    RECT dropped{};
    if (lstrcmpiW(cls, L"ComboBox") == 0 &&
        SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) &&
        dropped.bottom > r.bottom) {
        r.bottom = dropped.bottom;
    }
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

UINT SystemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT DpiOfWindow(HWND window) {
    if (window != nullptr && Calls().getDpiForWindow != nullptr) {
        if (const UINT dpi = Calls().getDpiForWindow(window); dpi > 0)
            return dpi;
    }
    return DpiOfMonitor(window);
}

UINT DpiOfMonitor(HWND window) {
    return window != nullptr ? MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))
                             : SystemDpi();
}

UINT DpiAtPoint(POINT screen) {
    return MonitorDpi(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST));
}

int MetricForDpi(int index, UINT dpi) {
    if (Calls().getSystemMetricsForDpi != nullptr)
        return Calls().getSystemMetricsForDpi(index, dpi);
    return RescaleForDpi(GetSystemMetrics(index), static_cast<int>(SystemDpi()),
                         static_cast<int>(dpi));
}

UniqueFont CreatePointFont(const wchar_t* face, int points, int weight, BYTE charset,
                           BYTE pitchAndFamily, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = FontHeightForDpi(points, static_cast<int>(dpi));
    lf.lfWeight = weight;
    lf.lfCharSet = charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitchAndFamily;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

UniqueFont RescaledFont(HFONT font, UINT fromDpi, UINT toDpi) {
    LOGFONTW lf{};
    if (font == nullptr || GetObjectW(font, sizeof lf, &lf) == 0)
        return UniqueFont();
    lf.lfHeight = RescaleForDpi(lf.lfHeight, static_cast<int>(fromDpi), static_cast<int>(toDpi));
    lf.lfWidth = RescaleForDpi(lf.lfWidth, static_cast<int>(fromDpi), static_cast<int>(toDpi));
    return UniqueFont(CreateFontIndirectW(&lf));
}

UniqueFont StatusFontForDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (Calls().systemParametersInfoForDpi != nullptr &&
        Calls().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                           dpi)) {
        return UniqueFont(CreateFontIndirectW(&metrics.lfStatusFont));
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return UniqueFont();
    metrics.lfStatusFont.lfHeight = RescaleForDpi(
        metrics.lfStatusFont.lfHeight, static_cast<int>(SystemDpi()), static_cast<int>(dpi));
    return UniqueFont(CreateFontIndirectW(&metrics.lfStatusFont));
}

int CharacterHeight(HFONT font) {
    WindowDc screen(nullptr);
    if (screen.Get() == nullptr || font == nullptr)
        return 0;
    SelectScope select(screen.Get(), font);
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(screen.Get(), &tm))
        return 0;
    return tm.tmHeight - tm.tmInternalLeading;
}

HBITMAP LoadBitmapForDpi(HINSTANCE instance, UINT id, UINT dpi) {
    const int percent = ImageScalePercent(static_cast<int>(dpi));
    // The set of the DPI, else the next smaller one a module has.
    if (percent >= 200) {
        if (HBITMAP b = LoadBitmapW(instance, MAKEINTRESOURCEW(ZV_IMAGE_200(id))))
            return b;
    }
    if (percent >= 150) {
        if (HBITMAP b = LoadBitmapW(instance, MAKEINTRESOURCEW(ZV_IMAGE_150(id))))
            return b;
    }
    return LoadBitmapW(instance, MAKEINTRESOURCEW(id));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof bm, &bm) == 0)
        return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

UniqueIcon LoadIconForDpi(HINSTANCE instance, UINT id, bool small, UINT dpi) {
    const int size = MetricForDpi(small ? SM_CXSMICON : SM_CXICON, dpi);
    return UniqueIcon(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

UniqueCursor LoadCursorForDpi(HINSTANCE instance, UINT id, UINT dpi) {
    const int size = MetricForDpi(SM_CXCURSOR, dpi);
    return UniqueCursor(static_cast<HCURSOR>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_CURSOR, size, size, 0)));
}

void RelayoutChildren(HWND parent, const std::function<Rect(const Rect&)>& place, HFONT oldFont,
                      HFONT newFont) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // The font first: a combo box sets its own height from it.
        if (newFont != nullptr &&
            reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == oldFont) {
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
        }
        const Rect r = place(ChildRect(parent, child));
        SetWindowPos(child, nullptr, r.left, r.top, Width(r), Height(r),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

SIZE TextMeasureOf(HFONT font) {
    WindowDc screen(nullptr);
    if (screen.Get() == nullptr || font == nullptr)
        return {0, 0};
    SelectScope select(screen.Get(), font);
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    TEXTMETRICW tm{};
    if (!GetTextExtentPoint32W(screen.Get(), kLetters, 52, &extent) ||
        !GetTextMetricsW(screen.Get(), &tm)) {
        return {0, 0};
    }
    return {extent.cx, tm.tmHeight};
}

SIZE DialogBaseUnitsOf(HFONT font) {
    const SIZE text = TextMeasureOf(font);
    return {(text.cx / 26 + 1) / 2, text.cy};
}

void TakeOverDialogScaling(HWND dialog) {
    if (Calls().setDialogDpiChangeBehavior != nullptr) {
        Calls().setDialogDpiChangeBehavior(dialog, kDialogDpiChangeDisableAll,
                                           kDialogDpiChangeDisableAll);
    }
}

}  // namespace zv
