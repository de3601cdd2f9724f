// The direct line edit dialog's model: any line as its keyword and raw parameter text.
#pragma once

#include <string>
#include <string_view>

namespace zv {

struct LineEditFields {
    std::string keyword;  // the command type's keyword; empty for a line of no type
    std::string params;   // the parameter text as the dialogs read it
};

LineEditFields OpenLineEditDialog(std::string_view entryLine);

// OK: keyword + parameter text, nothing between them and no check.
std::string ComposeEditedLine(const LineEditFields& fields);

}  // namespace zv
