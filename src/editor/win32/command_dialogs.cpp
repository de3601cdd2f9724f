#include "editor/win32/command_dialogs.h"

#include "editor/linelist.h"
#include "editor/win32/editor_dialogs.h"

namespace zv {

std::optional<std::string> RunCommandDialog(int, const std::string& line, HWND parent) {
    // Until each command has its own dialog, a line is edited as text.
    DialogRequest request;
    request.kind = DialogRequest::Kind::DirectEditDialog;
    request.line = line;
    return RunLineDialog(request, parent);
}

}  // namespace zv
