#include "common/win32/window.h"

#include <commctrl.h>

namespace zv {
namespace {

// The property that links a window to its object.
constexpr wchar_t kObjectProperty[] = L"ZvWindowObject";

// The child a parent's message is about, for the messages that are reflected.
HWND ReflectedChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            return reinterpret_cast<HWND>(lp);
        case WM_NOTIFY:
            return reinterpret_cast<NMHDR*>(lp)->hwndFrom;
        case WM_DRAWITEM:
            return reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
        case WM_MEASUREITEM: {
            // The control may not exist yet while the dialog creates it; its id tells.
            const auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            return mis->CtlType == ODT_MENU ? nullptr : GetDlgItem(parent, static_cast<int>(wp));
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_HSCROLL:
        case WM_VSCROLL:
            return reinterpret_cast<HWND>(lp);
        default:
            return nullptr;
    }
}

}  // namespace

CWnd::~CWnd() {
    if (hwnd_ == nullptr)
        return;
    if (subclassed_) {
        UnsubclassWindow();
        return;
    }
    // Destroyed without its object from now on: the derived part is already gone.
    HWND hwnd = hwnd_;
    Detach();
    DestroyWindow(hwnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd != nullptr ? static_cast<CWnd*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, UINT classStyle, HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    lifetime_.CreationStarts();
    return lifetime_.CreationEnds(CreateWindowExW(exStyle, className, title, style, x, y, width,
                                                  height, parent, menu, instance, this) != nullptr);
}

bool CWnd::SubclassWindow(HWND hwnd, bool reflect) {
    if (hwnd == nullptr || hwnd_ != nullptr)
        return false;
    const UINT_PTR key = reinterpret_cast<UINT_PTR>(this);
    const DWORD_PTR self = reinterpret_cast<DWORD_PTR>(this);
    if (!SetWindowSubclass(hwnd, SubclassProc, key, self))
        return false;
    HWND parent = reflect ? GetParent(hwnd) : nullptr;
    if (parent != nullptr && !SetWindowSubclass(parent, ParentProc, key, self)) {
        RemoveWindowSubclass(hwnd, SubclassProc, key);
        return false;
    }
    hwnd_ = hwnd;
    subclassed_ = true;
    reflectParent_ = parent;
    SetPropW(hwnd, kObjectProperty, this);
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent, bool reflect) {
    return SubclassWindow(GetDlgItem(parent, id), reflect);
}

void CWnd::UnsubclassWindow() {
    if (!subclassed_ || hwnd_ == nullptr)
        return;
    const UINT_PTR key = reinterpret_cast<UINT_PTR>(this);
    RemoveWindowSubclass(hwnd_, SubclassProc, key);
    if (reflectParent_ != nullptr)
        RemoveWindowSubclass(reflectParent_, ParentProc, key);
    Detach();
}

void CWnd::Detach() {
    if (hwnd_ != nullptr && GetPropW(hwnd_, kObjectProperty) == this)
        RemovePropW(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
    subclassed_ = false;
    reflectParent_ = nullptr;
}

LRESULT CWnd::Default(UINT msg, WPARAM wp, LPARAM lp) {
    return subclassed_ ? DefSubclassProc(hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

bool CWnd::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self != nullptr) {
            self->hwnd_ = hwnd;
            SetPropW(hwnd, kObjectProperty, self);
        }
    } else {
        self = FromHandle(hwnd);
    }
    if (self == nullptr || self->hwnd_ != hwnd)
        return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT result = self->WindowProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalMessage();
        if (self->lifetime_.WindowGone())
            delete self;
    }
    return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR data) {
    CWnd* self = reinterpret_cast<CWnd*>(data);
    if (msg == WM_NCDESTROY) {
        const LRESULT result = self->WindowProc(msg, wp, lp);
        self->UnsubclassWindow();
        self->OnFinalMessage();
        return result;
    }
    return self->WindowProc(msg, wp, lp);
}

LRESULT CALLBACK CWnd::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR key,
                                  DWORD_PTR data) {
    CWnd* self = reinterpret_cast<CWnd*>(data);
    if (msg == WM_NCDESTROY) {
        // The parent ends while the control is still routed here: forget the parent.
        RemoveWindowSubclass(hwnd, ParentProc, key);
        if (self->reflectParent_ == hwnd)
            self->reflectParent_ = nullptr;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    if (self->hwnd_ != nullptr && ReflectedChild(hwnd, msg, wp, lp) == self->hwnd_) {
        LRESULT result = 0;
        if (self->OnReflect(msg, wp, lp, result))
            return result;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

HWND FindWindowWithProperty(const wchar_t* name) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetPropW(w, name) != nullptr)
            return w;
    }
    return nullptr;
}

}  // namespace zv
