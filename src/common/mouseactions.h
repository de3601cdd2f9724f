// The action words of a MOUSE line, in their fixed order. The engine performs them; the
// editor's MOUSE dialog writes them.
#pragma once

#include <array>
#include <string_view>

namespace zv {

struct MouseActionWord {
    std::string_view word;  // upper case
    int index;
};

// Indexes of the table's rows.
enum MouseActionIndex : int {
    kMouseActionLeft = 0,
    kMouseActionRight = 1,
    kMouseActionMiddle = 2,
    kMouseActionLeftDouble = 3,
    kMouseActionRightDouble = 4,
    kMouseActionMiddleDouble = 5,
    kMouseActionXButton = 6,
    kMouseActionWheelDown = 7,  // "W-": one notch toward the user
    kMouseActionWheelUp = 8,    // "W+": one notch away from the user
    kMouseActionDrag = 9,
};

inline constexpr std::array<MouseActionWord, 10> MouseActionTable{{
    {"L", kMouseActionLeft},
    {"R", kMouseActionRight},
    {"M", kMouseActionMiddle},
    {"LW", kMouseActionLeftDouble},
    {"RW", kMouseActionRightDouble},
    {"MW", kMouseActionMiddleDouble},
    {"X", kMouseActionXButton},
    {"W-", kMouseActionWheelDown},
    {"W+", kMouseActionWheelUp},
    {"DD", kMouseActionDrag},
}};

// The index of an action word (compared after upper-casing), -1 when it is none.
int FindMouseAction(std::string_view word);

// The word of an index, empty for an index outside the table.
std::string_view MouseActionWordOf(int index);

}  // namespace zv
