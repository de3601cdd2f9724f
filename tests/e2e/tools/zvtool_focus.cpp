// zvtool commands for the settings dialogs' e2e tests: put the keyboard focus on a
// control of another program's dialog as tabbing there would, and tell which control
// has it.
#include "zvtool.h"

using namespace zvtool;

namespace {

// The control with the keyboard focus in the thread of window, or null.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

}  // namespace

ZV_TOOL_COMMAND(CmdFocusControl, L"focus-control",
                "focus-control CAPTION ID: brings a dialog to the front and moves its focus to "
                "control ID as the dialog manager does (an edit field's text selected)") {
    if (args.size() < 2)
        return 2;
    HWND dialog = WaitTopLevel(args[0], false, 5000, L"#32770");
    if (dialog == nullptr)
        return 1;
    HWND control = GetDlgItem(dialog, _wtoi(args[1].c_str()));
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
