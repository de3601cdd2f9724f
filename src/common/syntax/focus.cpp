#include "common/syntax/focus.h"

#include "common/cp932.h"
#include "common/macrofile.h"

namespace zv {

FocusCaption ParseFocusCaption(std::string_view line) {
    FocusCaption f;
    f.caption = GetParamText(line);
    f.ok = StripQuotes(f.caption);
    if (!f.ok)
        f.caption.clear();
    return f;
}

bool CutPartialMark(std::string& caption) {
    const std::size_t star = FindLastSingleByte(caption, '*');
    if (star == std::string::npos || star + 1 != caption.size())
        return false;
    caption.pop_back();
    return true;
}

}  // namespace zv
