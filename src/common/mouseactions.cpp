#include "common/mouseactions.h"

#include "common/cp932.h"

namespace zv {

int FindMouseAction(std::string_view word) {
    const std::string upper = ToUpperAscii(word);
    for (const MouseActionWord& row : MouseActionTable) {
        if (row.word == upper)
            return row.index;
    }
    return -1;
}

std::string_view MouseActionWordOf(int index) {
    for (const MouseActionWord& row : MouseActionTable) {
        if (row.index == index)
            return row.word;
    }
    return {};
}

}  // namespace zv
