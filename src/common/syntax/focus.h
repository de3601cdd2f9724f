// FOCUS parameters: a window caption, quoted or not; a trailing "*" asks for a partial
// match.
#pragma once

#include <string>
#include <string_view>

namespace zv {

struct FocusCaption {
    bool ok = false;      // false: empty, or an opening quote without its closing one
    std::string caption;  // quotes removed, as written otherwise ("*" included)
};

FocusCaption ParseFocusCaption(std::string_view line);

// Removes a trailing "*" that is a character of its own (not the trail byte of a
// double-byte character); true when it did, meaning a partial match.
bool CutPartialMark(std::string& caption);

}  // namespace zv
