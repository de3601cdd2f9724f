// zvtool commands for the dialog tests: a dialog's controls with their state and screen
// rectangles, the keyboard focus put on a control as tabbing there would and read back,
// typing any text, left-button drags through chosen points, and a window's client area on
// the screen.
#include "zvtool.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace zvtool;

namespace {

// The strings of a list box or a combo box's list.
std::string ItemsJson(HWND w, bool combo) {
    const UINT countMsg = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT lenMsg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMsg = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::string out = "[";
    const LRESULT n = SendMessageW(w, countMsg, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT len = SendMessageW(w, lenMsg, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        SendMessageW(w, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(len > 0 ? len : 0));
        if (i > 0)
            out += ",";
        out += JsonString(text);
    }
    return out + "]";
}

// The control with the keyboard focus in the thread of window, or null.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

struct Collect {
    HWND focus;
    std::string json;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM lp) {
    auto* c = reinterpret_cast<Collect*>(lp);
    const std::wstring cls = ClassNameOf(child);
    RECT r{};
    GetWindowRect(child, &r);
    std::string state;
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        state = ",\"checked\":" + std::to_string(SendMessageW(child, BM_GETCHECK, 0, 0));
    } else if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
        state = ",\"sel\":" + std::to_string(SendMessageW(child, CB_GETCURSEL, 0, 0)) +
                ",\"items\":" + ItemsJson(child, true);
    } else if (_wcsicmp(cls.c_str(), L"ListBox") == 0) {
        state = ",\"sel\":" + std::to_string(SendMessageW(child, LB_GETCURSEL, 0, 0)) +
                ",\"items\":" + ItemsJson(child, false);
    }
    if (c->json.size() > 1)
        c->json += ",";
    c->json += "{\"id\":" + std::to_string(GetDlgCtrlID(child)) + ",\"class\":" + JsonString(cls) +
               ",\"text\":" + JsonString(WindowText(child)) + ",\"rect\":" + RectJson(r) +
               ",\"enabled\":" + (IsWindowEnabled(child) ? "true" : "false") +
               ",\"visible\":" + (IsWindowVisible(child) ? "true" : "false") +
               ",\"focus\":" + (child == c->focus ? "true" : "false") + state + "}";
    return TRUE;
}

// Moves the pointer with SendInput, as a user's mouse does, and waits until it stays
// there: a button pressed at once could otherwise still be delivered at the old position.
bool MovePointer(int x, int y) {
    SendMouseAt(POINT{x, y}, 0);
    return PointerTo(x, y);
}

}  // namespace

ZV_TOOL_COMMAND(CmdDialog, L"dialog",
                "dialog CAPTION [TIMEOUT_MS]: waits for a dialog to be shown and enabled, prints "
                "it as JSON: its rectangle, caption and controls (text, screen rectangle, focus, "
                "check state, list entries and selection)") {
    if (args.empty())
        return 2;
    // A dialog is found as soon as it exists; wait until it is shown and takes input.
    HWND w = nullptr;
    if (!WaitUntil(ArgInt(args, 1, 10000), 50, [&] {
            w = FindTopLevel(args[0], false, L"#32770");
            return w != nullptr && IsWindowVisible(w) && IsWindowEnabled(w);
        }))
        return 1;
    Collect c{FocusOf(w), "["};
    EnumChildWindows(w, CollectControl, reinterpret_cast<LPARAM>(&c));
    RECT r{};
    GetWindowRect(w, &r);
    PrintLine("{\"caption\":" + JsonString(WindowText(w)) + ",\"rect\":" + RectJson(r) +
              ",\"visible\":" + (IsWindowVisible(w) ? "true" : "false") +
              ",\"controls\":" + c.json + "]}");
    return 0;
}

ZV_TOOL_COMMAND(CmdTypeText, L"type-text",
                "type-text TEXT: types TEXT character by character as Unicode key input, each "
                "taken by the window in front before the next") {
    if (args.empty())
        return 2;
    // Each character is taken by the window in front before the next is sent.
    const Receiver receiver(KeyboardReceiver());
    for (wchar_t ch : args[0]) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = ch;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        SendInput(1, &in, sizeof in);
        if (!receiver.WaitKey(VK_PACKET, true, kInputTimeoutMs, true))
            return 3;
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(1, &in, sizeof in);
        if (!receiver.WaitKey(VK_PACKET, false))
            return 3;
    }
    return WaitIdle(receiver.Window()) ? 0 : 3;
}

namespace {

// A drag with the left button through points (see drag-path).
int DragThrough(const std::vector<POINT>& points, DWORD hold, bool esc) {
    if (points.size() < 2)
        return 2;
    if (!MovePointer(points[0].x, points[0].y))
        return 3;
    ButtonHold drag(points[0], MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, VK_LBUTTON);
    const HWND pressed = MouseReceiver(points[0]);
    if (!drag.Press() || !WaitIdle(pressed))
        return 3;
    // The pointer then moves as a user's hand does: a moment still after the press (the
    // dialog starts following after a short hold), then 20-pixel steps 30 ms apart.
    Sleep(400);
    for (size_t i = 1; i < points.size(); ++i) {
        const POINT a = points[i - 1], b = points[i];
        const int steps = std::max(1L, std::max(std::labs(b.x - a.x), std::labs(b.y - a.y)) / 20);
        for (int s = 1; s <= steps; ++s) {
            SendMouseAt(POINT{a.x + (b.x - a.x) * s / steps, a.y + (b.y - a.y) * s / steps}, 0);
            Sleep(30);
        }
    }
    // A last small move and back: the point is taken once the dialog is out of the way.
    const POINT end = points.back();
    SendMouseAt(POINT{end.x + 1, end.y}, 0);
    if (!WaitIdle(pressed) || !MovePointer(end.x, end.y))
        return 3;
    Sleep(hold);  // the button kept down at the last point, as asked
    if (esc) {
        if (!PressChord({VK_ESCAPE}))
            return 3;
    }
    // The release goes to the window holding the capture, or under the pointer when the
    // capture was taken away (a target in another process takes the drop through the
    // drag's source).
    return drag.Release(end) ? 0 : 3;
}

}  // namespace

ZV_TOOL_COMMAND(
    CmdDragPath, L"drag-path",
    "drag-path X0,Y0 X1,Y1 ... [--hold=MS] [--esc]: presses the left button at the first "
    "point, moves through the others in 20-pixel steps 30 ms apart, rests at the last "
    "one (MS more with --hold), then releases it (with --esc presses Escape first); ends "
    "once the windows that took the press and the release have handled them") {
    std::vector<POINT> points;
    bool esc = false;
    DWORD hold = 0;
    for (const auto& a : args) {
        POINT p{};
        if (a == L"--esc")
            esc = true;
        else if (a.rfind(L"--hold=", 0) == 0)
            hold = static_cast<DWORD>(_wtoi(a.c_str() + 7));
        else if (swscanf(a.c_str(), L"%ld,%ld", &p.x, &p.y) == 2)
            points.push_back(p);
        else
            return 2;
    }
    return DragThrough(points, hold, esc);
}

ZV_TOOL_COMMAND(CmdDrag, L"drag", "drag X1 Y1 X2 Y2: drag-path X1,Y1 X2,Y2") {
    if (args.size() < 4)
        return 2;
    return DragThrough({POINT{ArgInt(args, 0, 0), ArgInt(args, 1, 0)},
                        POINT{ArgInt(args, 2, 0), ArgInt(args, 3, 0)}},
                       0, false);
}

ZV_WINDOW_COMMAND(CmdClientRect, L"client-rect", 1,
                  "client-rect CAPTION: {window, client} rectangles of a top-level window on the "
                  "screen") {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    PrintLine("{\"window\":" + RectJson(outer) + ",\"client\":" + RectJson(client) + "}");
    return 0;
}

ZV_TOOL_COMMAND(CmdClickAt, L"click-at",
                "click-at X Y [--double]: a left click (or a double-click) at (X, Y): the pointer "
                "is moved there and seen there before the button goes down, so the click cannot "
                "land where it was before; the window there has taken and handled the click when "
                "it ends") {
    if (args.size() < 2)
        return 2;
    const int x = ArgInt(args, 0, 0), y = ArgInt(args, 1, 0);
    const int clicks = args.size() > 2 && args[2] == L"--double" ? 2 : 1;
    return MovePointer(x, y) && ClickButton(POINT{x, y}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                            VK_LBUTTON, clicks, 50)
               ? 0
               : 3;
}

ZV_TOOL_COMMAND(CmdFocusControl, L"focus-control",
                "focus-control CAPTION ID: brings a dialog to the front and moves its focus to "
                "control ID as the dialog manager does (an edit field's text selected)") {
    if (args.size() < 2)
        return 2;
    HWND dialog = nullptr;
    HWND control = DialogItem(args[0], _wtoi(args[1].c_str()), 5000, &dialog);
    if (control == nullptr)
        return 1;
    Activate(dialog);
    PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    const bool focused = WaitUntil(
        2000, 20, [&] { return FocusOf(dialog) == control && GetForegroundWindow() == dialog; });
    return focused ? 0 : 1;
}

ZV_WINDOW_COMMAND(CmdFocused, L"focused", 1,
                  "focused CAPTION: the id of the control with the keyboard focus in a top-level "
                  "window's thread (0 when none)") {
    HWND focus = FocusOf(window);
    PrintLine(std::to_string(focus != nullptr ? GetDlgCtrlID(focus) : 0));
    return 0;
}
