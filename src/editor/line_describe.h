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
    bool refused = false;  // the engine would stop the run on this line (drawn in red)
};

// The type by the keyword at byte 0 (case-sensitive), then that command's describe; and
// for every line, the engine's own judgement of it.
LineView DescribeLine(std::string_view line);

}  // namespace zv
