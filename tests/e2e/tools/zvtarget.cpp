// zvtarget.exe RECORD [CAPTION [PASTE_DELAY_MS]]: the program that macros drive in the e2e
// tests. A window (caption CAPTION, default "ZvTarget") with an edit field at the top, a
// password field below it and a click area below them; what they receive goes to RECORD as
// UTF-8 lines, flushed at once:
//   keydown VK / keyup VK / syskeydown VK / syskeyup VK   (VK: two hex digits)
//   char XXXX                                             (UTF-16 code unit, hex)
//   text T                                                (the field's text after a change)
//   password T                                            (the password field's text)
//   final T                                               (the field's text at the end)
//   down B X Y / up B X Y / dblclk B X Y                  (B: L R M X1 X2; client coords)
//   drag B X0 Y0 X1 Y1                                    (button up away from its down)
//   wheel DELTA X Y
//   activated                                             (the window came to the front)
// A posted WM_APP + 1 makes the input method of the edit field finish a conversion of
// "漢字変換" there, as a user's input method would.
//
// zvtarget.exe RECORD CAPTION PASTE_DELAY_MS: the program is busy for that long when Ctrl+V
// goes down in the edit field, before it pastes (a program slower than the paste keys), and
// records "paste late MS" first.
// zvtarget.exe RECORD CAPTION --hang: the window is shown and painted, then the program
// stops pumping its messages for good, as a hung program does (it stays on screen).
// zvtarget.exe --record-command-line OUT ...: writes its whole command line to OUT as
// UTF-8 and ends (a stand-in for a browser registered for web addresses).
// zvtarget.exe RECORD CAPTION MODE runs one of the windows of zvtarget_recording.cpp.
#include <windows.h>
#include <windowsx.h>
#include <imm.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "zvtarget.h"

using namespace zvtarget;

namespace {

constexpr int kEditId = 100;
constexpr int kPasswordId = 101;
HWND g_edit = nullptr;
HWND g_password = nullptr;
WNDPROC g_editProc = nullptr;
POINT g_downAt{};
const char* g_downButton = nullptr;
DWORD g_pasteDelayMs = 0;

void RecordButton(const char* what, const char* button, long x, long y) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%s %s %ld %ld", what, button, x, y);
    Record(buf);
}

// Key messages of the field (where the focus is) and of the main window alike.
void RecordKey(UINT m, WPARAM wp) {
    const char* word = m == WM_KEYDOWN      ? "keydown"
                       : m == WM_KEYUP      ? "keyup"
                       : m == WM_SYSKEYDOWN ? "syskeydown"
                       : m == WM_SYSKEYUP   ? "syskeyup"
                       : m == WM_CHAR       ? "char"
                                            : nullptr;
    if (word != nullptr)
        RecordCode(word, wp, m == WM_CHAR ? 4 : 2);
}

LRESULT CALLBACK EditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    RecordKey(m, wp);
    if (m == WM_KEYDOWN && wp == 'V' && g_pasteDelayMs > 0 && GetKeyState(VK_CONTROL) < 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "paste late %lu",
                      static_cast<unsigned long>(g_pasteDelayMs));
        Record(buf);
        Sleep(g_pasteDelayMs);  // the Ctrl+V character waits in the queue meanwhile
    }
    if (m == WM_MOUSEWHEEL)
        return SendMessageW(GetParent(w), m, wp, lp);  // the click area's
    return CallWindowProcW(g_editProc, w, m, wp, lp);
}

const char* ButtonOf(UINT m, WPARAM wp) {
    switch (m) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            return "L";
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return "R";
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return "M";
        default:
            return GET_XBUTTON_WPARAM(wp) == XBUTTON2 ? "X2" : "X1";
    }
}

void FinishConversion(HWND edit, const wchar_t* text) {
    HIMC context = ImmGetContext(edit);
    if (context == nullptr) {
        Record("ime none");
        return;
    }
    ImmSetOpenStatus(context, TRUE);
    const DWORD bytes = static_cast<DWORD>(wcslen(text) * sizeof(wchar_t));
    const BOOL set = ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text),
                                              bytes, nullptr, 0);
    const BOOL done = ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(edit, context);
    Record(std::string("ime ") + (set ? "set " : "unset ") + (done ? "done" : "undone"));
}

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    const long x = GET_X_LPARAM(lp);
    const long y = GET_Y_LPARAM(lp);
    switch (m) {
        case WM_CREATE:
            g_edit = Edit(w, kEditId, 10);
            g_editProc = SubclassWindow(g_edit, EditProc);
            g_password = Edit(w, kPasswordId, 44, ES_PASSWORD);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) {
                SetFocus(g_edit);
                Record("activated");
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kEditId && HIWORD(wp) == EN_CHANGE)
                Record("text " + Utf8(TextOf(g_edit)));
            if (LOWORD(wp) == kPasswordId && HIWORD(wp) == EN_CHANGE)
                Record("password " + Utf8(TextOf(g_password)));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            g_downButton = ButtonOf(m, wp);
            g_downAt = {x, y};
            SetCapture(w);
            RecordButton("down", g_downButton, x, y);
            return m == WM_XBUTTONDOWN ? TRUE : 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP: {
            const char* b = ButtonOf(m, wp);
            RecordButton("up", b, x, y);
            if (g_downButton != nullptr && (g_downAt.x != x || g_downAt.y != y)) {
                char buf[128];
                std::snprintf(buf, sizeof buf, "drag %s %ld %ld %ld %ld", b, g_downAt.x, g_downAt.y,
                              x, y);
                Record(buf);
            }
            g_downButton = nullptr;
            ReleaseCapture();
            return m == WM_XBUTTONUP ? TRUE : 0;
        }
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDBLCLK:
            RecordButton("dblclk", ButtonOf(m, wp), x, y);
            return m == WM_XBUTTONDBLCLK ? TRUE : 0;
        case WM_MOUSEWHEEL: {
            POINT p{x, y};  // screen coordinates for the wheel
            ScreenToClient(w, &p);
            char buf[128];
            std::snprintf(buf, sizeof buf, "wheel %d %ld %ld", GET_WHEEL_DELTA_WPARAM(wp), p.x,
                          p.y);
            Record(buf);
            return 0;
        }
        case WM_APP + 1:
            SetFocus(g_edit);
            FinishConversion(g_edit, L"漢字変換");
            return 0;
        case WM_DESTROY:
            Record("final " + Utf8(TextOf(g_edit)));
            PostQuitMessage(0);
            return 0;
        default:
            RecordKey(m, wp);
            return DefWindowProcW(w, m, wp, lp);
    }
}

}  // namespace

int RunRecordingMode(HINSTANCE instance, const wchar_t* record, const wchar_t* caption,
                     const std::wstring& mode, int show);

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const int argc = __argc;
    wchar_t** argv = __wargv;
    if (argc < 2) {
        MessageBoxW(nullptr, L"zvtarget.exe RECORD [CAPTION [--hang | PASTE_DELAY_MS | MODE]]",
                    L"ZvTarget", MB_OK);
        return 2;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"--record-command-line") {
        FILE* out = _wfopen(argv[2], L"wb");
        if (out == nullptr)
            return 1;
        std::fputs(Utf8(GetCommandLineW()).c_str(), out);
        std::fclose(out);
        return 0;
    }
    if (argc > 3) {
        const int mode = RunRecordingMode(instance, argv[1], argv[2], argv[3], show);
        if (mode >= 0)
            return mode;
    }
    const bool hang = argc > 3 && std::wstring(argv[3]) == L"--hang";
    g_out = _wfopen(argv[1], L"wb");
    const std::wstring caption = argc > 2 ? argv[2] : L"ZvTarget";
    if (argc > 3 && !hang)
        g_pasteDelayMs = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));

    ShowMain(instance, L"ZvTarget", MainProc, caption.c_str(), show);
    if (hang) {
        // Everything that showing the window brought is handled; then no message is read.
        const ULONGLONG settled = GetTickCount64() + 500;
        MSG msg;
        while (GetTickCount64() < settled) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(10);
        }
        Record("hung");
        Sleep(INFINITE);
    }
    return RunMessages();
}
