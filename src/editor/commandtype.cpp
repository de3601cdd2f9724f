#include "editor/commandtype.h"

namespace zv {

int CommandTypeOfLine(std::string_view line) {
    for (int i = 0; i < kEditorCommandCount; ++i) {
        if (line.starts_with(kEditorCommands[static_cast<std::size_t>(i)].keyword))
            return i;
    }
    return kCmdNone;
}

}  // namespace zv
