// zvtool commands for the recording tests: a user's input played in one go (keys,
// Unicode text, clicks, double clicks, drags, wheel notches), whether the recording hook
// would pass anything on, and where a window's client area lies on the screen.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "zvtool.h"

using namespace zvtool;

namespace {

// A character as an input method or a Unicode keyboard delivers it.
void SendUnit(wchar_t unit) {
    INPUT in[2] = {};
    for (int i = 0; i < 2; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wScan = unit;
        in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof in[0]);
}

void MouseInput(DWORD flags, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof in);
}

// The pointer at (x, y), checked: a move may be applied late.
void MoveTo(int x, int y) {
    for (int i = 0; i < 10; ++i) {
        SetCursorPos(x, y);
        Sleep(30);
        POINT p{};
        GetCursorPos(&p);
        if (p.x == x && p.y == y)
            return;
    }
}

// A press and release at (x, y). Under load the display can still report an earlier
// pointer position after the move; the pointer is put back before each button event.
void Click(int x, int y, DWORD down, DWORD up, DWORD data = 0) {
    MoveTo(x, y);
    Sleep(60);
    MoveTo(x, y);
    MouseInput(down, data);
    Sleep(50);
    MoveTo(x, y);
    MouseInput(up, data);
}

bool Step(const std::wstring& step) {
    const size_t colon = step.find(L':');
    const std::wstring verb = step.substr(0, colon);
    const std::wstring rest = colon == std::wstring::npos ? L"" : step.substr(colon + 1);
    int v[4] = {};
    const int got = swscanf(rest.c_str(), L"%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]);
    const std::vector<int> n(v, v + std::max(got, 0));
    if (verb == L"text") {
        for (wchar_t unit : rest) {
            SendUnit(unit);
            Sleep(40);
        }
    } else if (verb == L"key") {
        const std::vector<WORD> chord = Chord(rest);
        if (chord.empty())
            return false;
        for (WORD vk : chord)
            SendKey(vk, false);
        Sleep(30);
        for (auto it = chord.rbegin(); it != chord.rend(); ++it)
            SendKey(*it, true);
    } else if (verb == L"click" && n.size() >= 2) {
        if (rest.size() > 6 && rest.compare(rest.size() - 6, 6, L",right") == 0)
            Click(n[0], n[1], MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        else
            Click(n[0], n[1], MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    } else if (verb == L"dblclick" && n.size() >= 2) {
        Click(n[0], n[1], MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        Sleep(80);
        Click(n[0], n[1], MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    } else if (verb == L"drag" && n.size() >= 4) {
        MoveTo(n[0], n[1]);
        MouseInput(MOUSEEVENTF_LEFTDOWN);
        Sleep(100);
        for (int i = 1; i <= 8; ++i) {
            MoveTo(n[0] + (n[2] - n[0]) * i / 8, n[1] + (n[3] - n[1]) * i / 8);
            Sleep(20);
        }
        MouseInput(MOUSEEVENTF_LEFTUP);
    } else if (verb == L"wheel" && n.size() >= 3) {
        MoveTo(n[0], n[1]);
        MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(n[2]));
    } else if (verb == L"sleep" && !n.empty()) {
        Sleep(static_cast<DWORD>(n[0]));
    } else {
        return false;
    }
    Sleep(120);
    return true;
}

}  // namespace

ZV_TOOL_COMMAND(
    CmdPlay, L"play",
    "play STEP...: plays a user's input through SendInput, step after step: "
    "text:TEXT (Unicode characters), key:CHORD (ctrl+a, return, pause, processkey: a key "
    "the input method took, convert), click:X,Y[,right], dblclick:X,Y, drag:X1,Y1,X2,Y2, "
    "wheel:X,Y,DELTA, sleep:MS (screen coordinates)") {
    for (const std::wstring& step : args) {
        if (!Step(step)) {
            PrintLine("bad step " + Utf8(step));
            return 2;
        }
    }
    return 0;
}

ZV_TOOL_COMMAND(CmdHookArmed, L"hook-armed",
                "hook-armed DLL: whether the recording hook DLL would pass a message on now "
                "(its shared state read through a copy of it loaded here)") {
    if (args.empty())
        return 2;
    HMODULE module = LoadLibraryW(args[0].c_str());
    if (module == nullptr)
        return 1;
    using IsArmedFn = BOOL (*)();
    const auto isArmed = reinterpret_cast<IsArmedFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "RkRecIsArmed")));
    if (isArmed == nullptr)
        return 1;
    PrintLine(std::string("{\"armed\":") + (isArmed() ? "true" : "false") + "}");
    FreeLibrary(module);
    return 0;
}

ZV_WINDOW_COMMAND(CmdClientOrigin, L"client-origin", 1,
                  "client-origin CAPTION: {x, y} of the top-left corner of a top-level window's "
                  "client area on the screen") {
    POINT p{0, 0};
    ClientToScreen(window, &p);
    PrintLine(PointJson(p));
    return 0;
}

ZV_CONTROL_COMMAND(CmdControlRect, L"control-rect", 2,
                   "control-rect CAPTION ID: the screen rectangle of control ID of a top-level "
                   "window") {
    RECT r{};
    GetWindowRect(control, &r);
    PrintLine(RectObjectJson(r));
    return 0;
}

ZV_CONTROL_COMMAND(
    CmdControlState, L"control-state", 2,
    "control-state CAPTION ID: text and visibility of control ID of a top-level window, "
    "and the window's height") {
    RECT r{};
    GetWindowRect(GetAncestor(control, GA_ROOT), &r);
    PrintLine("{\"text\":" + JsonString(WindowText(control)) +
              ",\"visible\":" + (IsWindowVisible(control) ? "true" : "false") +
              ",\"height\":" + std::to_string(r.bottom - r.top) + "}");
    return 0;
}
