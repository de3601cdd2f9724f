#include "editor/lineedit_dialog.h"

#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

LineEditFields OpenLineEditDialog(std::string_view entryLine) {
    LineEditFields f;
    const int type = CommandTypeOfLine(entryLine);
    if (type != kCmdNone)
        f.keyword = kEditorCommands[static_cast<std::size_t>(type)].keyword;
    // A line of no type without a colon keeps all its text here, so OK does not empty it.
    f.params = DialogParamText(entryLine);
    return f;
}

std::string ComposeEditedLine(const LineEditFields& fields) {
    return fields.keyword + fields.params;
}

}  // namespace zv
