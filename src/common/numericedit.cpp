#include "numericedit.h"

namespace zv {

bool IsNumericEditTextAllowed(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            continue;
        if (c == '-' && i == 0)
            continue;
        return false;
    }
    return true;
}

}  // namespace zv
