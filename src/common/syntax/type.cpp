#include "common/syntax/type.h"

#include "common/macrofile.h"

namespace zv {

TypeText ParseTypeText(std::string_view line) {
    TypeText t;
    t.text = GetParamText(line);
    t.ok = StripQuotes(t.text);
    if (!t.ok)
        t.text.clear();
    return t;
}

}  // namespace zv
