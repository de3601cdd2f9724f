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
    for (int i = 0; i < 100; ++i) {
        if (FocusOf(dialog) == control && GetForegroundWindow() == dialog)
            return 0;
        Sleep(20);
    }
    return 1;
}

ZV_TOOL_COMMAND(CmdFocused, L"focused",
                "focused CAPTION: the id of the control with the keyboard focus in a top-level "
                "window's thread (0 when none)") {
    if (args.empty())
        return 2;
    HWND w = FindTopLevel(args[0], false);
    if (w == nullptr)
        return 1;
    HWND focus = FocusOf(w);
    PrintLine(std::to_string(focus != nullptr ? GetDlgCtrlID(focus) : 0));
    return 0;
}
