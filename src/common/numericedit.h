// The input rule of the numeric edit field CMnEdit: digits anywhere, a minus sign only
// as the first byte.
#pragma once

#include <string_view>

namespace zv {

// True when text obeys the rule (the empty text does).
bool IsNumericEditTextAllowed(std::string_view text);

}  // namespace zv
