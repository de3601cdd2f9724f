// zvtool.exe: the e2e tests' hands inside Wine. Each command is a small function
// registered by name; files named zvtool_*.cpp add their own commands with
// ZV_TOOL_COMMAND. Output is UTF-8 on standard output; the exit code tells success (0).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "utf8.h"

namespace zvtool {

using Args = std::vector<std::wstring>;  // the command's own arguments
using CommandFn = int (*)(const Args&);

struct Registrar {
    Registrar(const wchar_t* name, CommandFn fn, const char* usage);
};

#define ZV_TOOL_COMMAND(id, name, usage)                            \
    static int id(const zvtool::Args& args);                        \
    static const zvtool::Registrar id##_registrar(name, id, usage); \
    static int id([[maybe_unused]] const zvtool::Args& args)

// A command on the top-level window whose caption is args[0] (window), or on the control
// with the ID args[1] in it (control; in the form a window shows as its client, if it has
// one): exit code 2 with fewer than minArgs arguments, 1 when there is no such window or
// control.
using WindowFn = int (*)(HWND, const Args&);
int OnWindow(const Args& args, size_t minArgs, bool control, WindowFn fn);

#define ZV_WINDOW_COMMAND_(id, name, minArgs, control, param, usage)       \
    static int id(HWND param, const zvtool::Args& args);                   \
    static int id##_main(const zvtool::Args& args) {                       \
        return zvtool::OnWindow(args, minArgs, control, id);               \
    }                                                                      \
    static const zvtool::Registrar id##_registrar(name, id##_main, usage); \
    static int id(HWND param, [[maybe_unused]] const zvtool::Args& args)
#define ZV_WINDOW_COMMAND(id, name, minArgs, usage) \
    ZV_WINDOW_COMMAND_(id, name, minArgs, false, window, usage)
#define ZV_CONTROL_COMMAND(id, name, minArgs, usage) \
    ZV_WINDOW_COMMAND_(id, name, minArgs, true, control, usage)

// Output helpers.
void Print(const std::string& utf8);
void PrintLine(const std::string& utf8);
std::string JsonString(const std::wstring& w);

std::string RectJson(const RECT& r);        // [left,top,right,bottom]
std::string RectObjectJson(const RECT& r);  // {"left":..,"top":..,"right":..,"bottom":..}
std::string PointJson(POINT p);             // {"x":..,"y":..}
double NowMs();                             // a monotonic clock, in milliseconds
// Polls done() every stepMs until it holds (true) or timeoutMs have passed (false).
template <typename Done>
bool WaitUntil(int timeoutMs, DWORD stepMs, Done done) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(stepMs);
    }
    return true;
}
// Prints the milliseconds from start (NowMs) until done() holds, polled every 5 ms; false
// after timeoutMs.
template <typename Done>
bool PrintTimeUntil(double start, double timeoutMs, Done done);

// Argument helpers.
int ArgInt(const Args& args, size_t index, int def);
std::string HexToBytes(const std::wstring& hex);  // "0a0b" -> "\x0a\x0b"
// A key by name (down, return, esc, tab, space, ctrl, alt, shift, f1..f24, a letter or a
// digit...), 0 when unknown; the keys of a chord such as "ctrl+s", empty when one is.
WORD KeyCode(std::wstring name);
std::vector<WORD> Chord(const std::wstring& chord);

// The running processes (only those whose program file is name, any case, when it is given):
// process id and program file.
std::vector<std::pair<DWORD, std::wstring>> Processes(const std::wstring& name = L"");

// Window helpers.
std::wstring WindowText(HWND w);  // WM_GETTEXT, works across processes
std::wstring ClassNameOf(HWND w);
// First top-level window (Z order) whose caption equals (or, partial, contains) caption
// and, when cls is not empty, whose class is cls.
HWND FindTopLevel(const std::wstring& caption, bool partial, const std::wstring& cls = L"");
// Brings w to the front, attached to the input of the window in front for the call;
// true when w is in front afterwards.
bool Activate(HWND w);
// Polls FindTopLevel every 50 ms up to timeoutMs.
HWND WaitTopLevel(const std::wstring& caption, bool partial, int timeoutMs,
                  const std::wstring& cls = L"");
// Control id of the dialog captioned caption, waited for up to timeoutMs; *dialog is the
// dialog. Null when either is missing.
HWND DialogItem(const std::wstring& caption, int id, int timeoutMs, HWND* dialog);
// Control id of top, or of the form (a dialog) top shows as its client when it has one;
// null when top is.
HWND ControlOf(HWND top, int id);

// ---- input that a command waits on before it ends ----
// Input sent with SendInput goes to one thread's queue (keys to the thread of the window
// in front, buttons to the thread of the window under the pointer or holding the mouse
// capture), and that thread takes it in order. The key state that thread sees (shared
// with this one through AttachThreadInput, which clears it) shows a key or button down
// once it has taken the press, and up again once it has taken the release: so a press is
// sent and waited for, then the release. A message sent to the receiver's window then
// returns once the receiver has handled them and is back in its message loop.
constexpr int kInputTimeoutMs = 30000;

class Receiver {
public:
    explicit Receiver(HWND window);  // none: waits for nothing
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    HWND Window() const { return window_; }
    bool SameThread(HWND other) const;
    // Waits until the receiver has taken the press (down) or the release of vk; false,
    // said on standard output, when it did not within timeoutMs. For a key of the
    // keyboard (keyboard), a press also counts as taken once the receiver is no longer in
    // front or the system saw the key go up.
    bool WaitKey(int vk, bool down, int timeoutMs = kInputTimeoutMs, bool keyboard = false) const;

private:
    HWND window_;
    bool attached_ = false;
};

// The window that keys sent now go to, and the one that a button at p goes to.
HWND KeyboardReceiver();
HWND MouseReceiver(POINT p);
// Waits until the thread of w has handled what it was sent and is back in its message loop
// (true at once when w is gone); false, said on standard output, after timeoutMs.
bool WaitIdle(HWND w, int timeoutMs = kInputTimeoutMs);

// One key event through SendInput (arrow and editing keys as extended keys).
void SendKey(WORD vk, bool up);
// Presses a chord (the keys down in order, up in reverse) and waits until the window in
// front has taken and handled it. A first key that a hook took before any window (the
// system never saw it down) is not waited for.
bool PressChord(const std::vector<WORD>& keys);
// Puts the pointer at (x, y) and waits until it stays there: the window under it has
// handled what was pending (a late pointer event of the display could move it back) and
// the system reports it at (x, y).
bool PointerTo(int x, int y);
// A mouse event (button, wheel) that carries its place: the system puts the pointer there
// as it takes the event, so no other pointer event can come between. The place maps back
// exactly (the system takes x = dx * width / 65536, rounded down).
void SendMouseAt(POINT at, DWORD flags, DWORD data = 0);
// A mouse button (its down and up flags and virtual key) pressed at one point and released
// at another, each event taken by the window it went to before the next. Each event
// carries its point: a late pointer event of the display (of an earlier move, handled by
// another program) could have moved the pointer away from where it was put.
class ButtonHold {
public:
    ButtonHold(POINT at, DWORD down, DWORD up, int vk);
    bool Press();
    // Also waits until the windows that took the events have handled them.
    bool Release(POINT at);

private:
    DWORD down_, up_;
    int vk_;
    POINT at_;
    Receiver receiver_;
    bool seen_ = false;
};
// Clicks a mouse button at a point (count times, gapMs apart: a double click is two
// clicks 80 ms apart) and waits until the window there has handled the clicks.
bool ClickButton(POINT at, DWORD down, DWORD up, int vk, int count = 1, DWORD gapMs = 0);

template <typename Done>
bool PrintTimeUntil(double start, double timeoutMs, Done done) {
    for (;;) {
        const double ms = NowMs() - start;
        if (done()) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.1f", ms);
            PrintLine(buf);
            return true;
        }
        if (ms > timeoutMs)
            return false;
        Sleep(5);
    }
}

}  // namespace zvtool
