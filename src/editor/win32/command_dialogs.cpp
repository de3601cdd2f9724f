#include "editor/win32/command_dialogs.h"

#include "editor/commandtype.h"

namespace zv {

std::optional<std::string> RunCommandDialog(int commandType, const std::string& line, HWND parent) {
    switch (commandType) {
        case kCmdLaunch:
            return RunLaunchDialog(line, parent);
        case kCmdFocus:
            return RunFocusDialog(line, parent);
        case kCmdWait:
            return RunWaitDialog(line, parent);
        case kCmdKeyin:
            return RunKeyinDialog(line, parent);
        case kCmdType:
            return RunTypeDialog(line, parent);
        case kCmdMouse:
            return RunMouseDialog(line, parent);
        default:
            return std::nullopt;
    }
}

}  // namespace zv
