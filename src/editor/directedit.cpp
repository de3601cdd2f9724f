#include "editor/directedit.h"

#include "common/cp932.h"
#include "common/macrofile.h"
#include "editor/commandtype.h"

namespace zv {

DirectEditFields OpenDirectEdit(std::string_view line) {
    DirectEditFields fields;
    const int type = CommandTypeOfLine(line);
    if (type == kCmdNone) {
        fields.parameters = std::string(StripWhite(line));
        return fields;
    }
    fields.keyword = std::string(kEditorCommands[static_cast<std::size_t>(type)].keyword);
    fields.parameters = GetParamText(line);
    return fields;
}

std::string ComposeDirectEdit(const DirectEditFields& fields) {
    return fields.keyword + fields.parameters;
}

}  // namespace zv
