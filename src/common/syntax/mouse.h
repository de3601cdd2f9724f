// MOUSE parameters: "x,y[,action][,LOCAL]"; the action word and LOCAL in either order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

struct MouseParse {
    bool ok = false;
    std::string error;  // the last failure message
    std::int32_t x = 0;
    std::int32_t y = 0;
    int action = -1;  // index into MouseActionTable, -1 for none
    bool local = false;
    int piecesRead = 0;  // pieces accepted before the first failure (all when ok)
};

// Parses a MOUSE line. Values read before a failure stay in the result; an unknown
// action word fails the line but the remaining fields are still read (LOCAL among them).
MouseParse ParseMouse(std::string_view line);

}  // namespace zv
