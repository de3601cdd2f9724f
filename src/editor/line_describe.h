// What the line list draws for one line: its command type (the icon), the label and the
// description of its parameters.
#pragma once

#include <string_view>

#include "editor/commandtype.h"

namespace zv {

struct LineView {
    int type = kCmdNone;  // kCmdNone: only the separator, the number and the selection
    std::string_view label;
    LineDescription description;
};

// The type by the keyword at byte 0 (case-sensitive), then that command's describe.
LineView DescribeLine(std::string_view line);

}  // namespace zv
