// zvtarget.exe RECORD CAPTION MODE: the windows the recording tests meet, beside the
// default one (zvtarget.cpp). What they receive goes to RECORD as UTF-8 lines, flushed at
// once, as there.
//   form    two fields one above the other. A posted WM_APP + 2 makes the input method
//           compose "今日" in the focus field (the reading the user typed); a click into
//           the other field commits it, as input methods do when the focus moves on.
//           Lines: composing, text1 T / text2 T (a field's text after a change),
//           final1 T / final2 T.
//   ask     a posted WM_APP + 3 asks two questions: "ZvTarget 質問" (はい / いいえ /
//           キャンセル), then "ZvTarget 確認" (はい / いいえ).
//           Lines: answer1 yes|no|cancel, answer2 yes|no.
//   silent  a field whose input method works without a message a hook reads, as in
//           programs of the newer text framework: a posted WM_APP + 4 puts "日本語" into
//           it directly. Lines: text T, final T.
//   secret  a field of its own (click it to type there) that reports itself protected
//           through accessibility and shows dots, and an edit field below it.
//           Lines: secret T, text T, final T.
//   hang    an edit field; a posted WM_APP + 5 stops taking messages for wParam ms.
//           Lines: hung MS, awake, keydown VK, char XXXX, text T, final T.
#include <windows.h>
#include <imm.h>
#include <oleacc.h>

#include <windowsx.h>

#include <cstdio>
#include <string>

#include "zvtarget.h"

using namespace zvtarget;

namespace {

constexpr UINT kCompose = WM_APP + 2;
constexpr UINT kAsk = WM_APP + 3;
constexpr UINT kSilentText = WM_APP + 4;
constexpr UINT kHang = WM_APP + 5;
constexpr int kFirstId = 100;
constexpr int kSecondId = 101;
// IID_IAccessible (the import library's symbol is an import, not the value).
constexpr IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

enum class Mode { Form, Ask, Silent, Secret, Hang };

Mode g_mode = Mode::Form;
HWND g_first = nullptr;   // the upper field (secret: the protected one)
HWND g_second = nullptr;  // the lower field
HWND g_lastFocus = nullptr;
WNDPROC g_editProc = nullptr;
bool g_composing = false;
std::wstring g_secret;

// ---- the protected field's accessible object ----

class SecretAccessible : public IAccessible {
    static HRESULT NoText(BSTR* s) {
        *s = nullptr;
        return S_FALSE;
    }

public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidAccessible) {
            *out = static_cast<IAccessible*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the program
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
        *p = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** p) override {
        *p = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR* s) override { return NoText(s); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* s) override {
        *s = nullptr;  // a password's value is not given
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* s) override { return NoText(s); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT* r) override {
        r->vt = VT_I4;
        r->lVal = ROLE_SYSTEM_TEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* r) override {
        r->vt = VT_I4;
        r->lVal = STATE_SYSTEM_PROTECTED | STATE_SYSTEM_FOCUSABLE |
                  (GetFocus() == g_first ? STATE_SYSTEM_FOCUSED : 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* s) override { return NoText(s); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, long*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* s) override {
        return NoText(s);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* v) override {
        v->vt = VT_I4;
        v->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* v) override {
        v->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* s) override { return NoText(s); }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accLocation(long*, long*, long*, long*, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
};
SecretAccessible g_accessible;

LRESULT CALLBACK SecretProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_GETOBJECT:
            if (static_cast<LONG>(lp) == OBJID_CLIENT)
                return LresultFromObject(kIidAccessible, wp, &g_accessible);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(w);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(w, nullptr, TRUE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS;
        case WM_CHAR:
            if (wp == VK_BACK && !g_secret.empty())
                g_secret.pop_back();
            else if (wp >= 0x20)
                g_secret += static_cast<wchar_t>(wp);
            Record("secret " + Utf8(g_secret));
            InvalidateRect(w, nullptr, TRUE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, &ps);
            RECT r;
            GetClientRect(w, &r);
            FillRect(dc, &r, GetSysColorBrush(GetFocus() == w ? COLOR_INFOBK : COLOR_WINDOW));
            const std::wstring dots(g_secret.size(), L'●');
            TextOutW(dc, 4, 4, dots.c_str(), static_cast<int>(dots.size()));
            EndPaint(w, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(w, m, wp, lp);
    }
}

// ---- the fields ----

// The input method's messages for window that are on their way, taken now.
void TakeInputMethodMessages(HWND window) {
    const ULONGLONG end = GetTickCount64() + 100;
    MSG msg;
    while (GetTickCount64() < end) {
        while (PeekMessageW(&msg, window, WM_IME_STARTCOMPOSITION, WM_IME_KEYLAST, PM_REMOVE) ||
               PeekMessageW(&msg, window, WM_IME_SETCONTEXT, WM_IME_KEYUP, PM_REMOVE) ||
               PeekMessageW(&msg, window, WM_CHAR, WM_CHAR, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

// The input method of the form commits what it composes in the other field when a
// click goes to this one, before the field takes the focus.
LRESULT CALLBACK EditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (g_mode == Mode::Form && m == WM_LBUTTONDOWN && g_composing && GetFocus() != w) {
        HWND composing = GetFocus();
        HIMC context = ImmGetContext(composing);
        if (context != nullptr) {
            ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
            ImmReleaseContext(composing, context);
        }
        TakeInputMethodMessages(composing);
        g_composing = false;
    }
    if (g_mode == Mode::Hang) {
        if (m == WM_KEYDOWN) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "keydown %02X", static_cast<unsigned>(wp));
            Record(buf);
        } else if (m == WM_CHAR) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "char %04X", static_cast<unsigned>(wp));
            Record(buf);
        }
    }
    return CallWindowProcW(g_editProc, w, m, wp, lp);
}

HWND Field(HWND parent, int id, int y) {
    HWND edit = Edit(parent, id, y);
    g_editProc = SubclassWindow(edit, EditProc);
    return edit;
}

void Compose(const wchar_t* text) {
    HWND field = GetFocus();
    HIMC context = ImmGetContext(field);
    if (context == nullptr) {
        Record("ime none");
        return;
    }
    ImmSetOpenStatus(context, TRUE);
    const BOOL set =
        ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text),
                                 static_cast<DWORD>(wcslen(text) * sizeof(wchar_t)), nullptr, 0);
    ImmReleaseContext(field, context);
    g_composing = set != FALSE;
    Record(set ? "composing" : "ime unset");
}

void Ask(HWND owner) {
    const int first = MessageBoxW(owner, L"変更を保存しますか?", L"ZvTarget 質問",
                                  MB_YESNOCANCEL | MB_ICONQUESTION);
    Record(std::string("answer1 ") + (first == IDYES ? "yes" : first == IDNO ? "no" : "cancel"));
    const int second = MessageBoxW(owner, L"本当に閉じますか?", L"ZvTarget 確認", MB_YESNO);
    Record(std::string("answer2 ") + (second == IDYES ? "yes" : "no"));
}

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_CREATE:
            if (g_mode == Mode::Secret) {
                g_first = CreateWindowExW(WS_EX_CLIENTEDGE, L"ZvSecretField", L"",
                                          WS_CHILD | WS_VISIBLE, 10, 10, 460, 26, w,
                                          reinterpret_cast<HMENU>(kFirstId), nullptr, nullptr);
                g_second = Field(w, kSecondId, 50);
            } else {
                g_first = Field(w, kFirstId, 10);
                if (g_mode == Mode::Form)
                    g_second = Field(w, kSecondId, 50);
            }
            g_lastFocus = g_mode == Mode::Secret ? g_second : g_first;
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus == g_first || (focus != nullptr && focus == g_second))
                    g_lastFocus = focus;
            } else {
                SetFocus(g_lastFocus);
            }
            return 0;
        case WM_COMMAND:
            if (HIWORD(wp) == EN_CHANGE) {
                const bool first = LOWORD(wp) == kFirstId;
                const char* word = g_mode == Mode::Form ? (first ? "text1 " : "text2 ") : "text ";
                Record(word + Utf8(TextOf(reinterpret_cast<HWND>(lp))));
            }
            return 0;
        case kCompose:
            Compose(L"今日");
            return 0;
        case kAsk:
            Ask(w);
            return 0;
        case kSilentText:
            SendMessageW(g_first, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"日本語"));
            return 0;
        case kHang:
            Record("hung " + std::to_string(wp));
            Sleep(static_cast<DWORD>(wp));
            Record("awake");
            return 0;
        case WM_DESTROY:
            if (g_mode == Mode::Form) {
                Record("final1 " + Utf8(TextOf(g_first)));
                Record("final2 " + Utf8(TextOf(g_second)));
            } else {
                Record("final " + Utf8(TextOf(g_mode == Mode::Secret ? g_second : g_first)));
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(w, m, wp, lp);
    }
}

}  // namespace

// Runs the window of a mode; -1 for a name that is none.
int RunRecordingMode(HINSTANCE instance, const wchar_t* record, const wchar_t* caption,
                     const std::wstring& mode, int show) {
    if (mode == L"form")
        g_mode = Mode::Form;
    else if (mode == L"ask")
        g_mode = Mode::Ask;
    else if (mode == L"silent")
        g_mode = Mode::Silent;
    else if (mode == L"secret")
        g_mode = Mode::Secret;
    else if (mode == L"hang")
        g_mode = Mode::Hang;
    else
        return -1;
    // Accessible objects are served through COM on the window's thread.
    const bool com = g_mode == Mode::Secret && SUCCEEDED(CoInitialize(nullptr));
    g_out = _wfopen(record, L"wb");

    WNDCLASSW secret{};
    secret.lpfnWndProc = SecretProc;
    secret.hInstance = instance;
    secret.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    secret.lpszClassName = L"ZvSecretField";
    RegisterClassW(&secret);
    ShowMain(instance, L"ZvTargetMode", MainProc, caption, show);
    RunMessages();
    if (com)
        CoUninitialize();
    return 0;
}
