#include "editor/lineedit_dialog.h"

#include "common/cp932.h"
#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

LineEditFields OpenLineEditDialog(std::string_view entryLine) {
    LineEditFields f;
    const int type = CommandTypeOfLine(entryLine);
    if (type != kCmdNone)
        f.keyword = kEditorCommands[static_cast<std::size_t>(type)].keyword;
    // A line of no known type (a keyword in lower case, no keyword at all) keeps all its
    // text as parameters: confirming the dialog unchanged gives the line back instead of
    // dropping its keyword, which would lose the line at the next reading.
    f.params = type != kCmdNone ? DialogParamText(entryLine) : std::string(StripWhite(entryLine));
    return f;
}

std::string ComposeEditedLine(const LineEditFields& fields) {
    return fields.keyword + fields.params;
}

}  // namespace zv
