// TYPE parameters: the text to type, quoted or not, or one of the run-time tokens
// ("%CLIP", "%PARAM1", "%PARAM2") alone. Commas are part of the text.
#pragma once

#include <string>
#include <string_view>

namespace zv {

struct TypeText {
    bool ok = false;   // false: empty, or an opening quote without its closing one
    std::string text;  // quotes removed; tokens not yet replaced
};

TypeText ParseTypeText(std::string_view line);

}  // namespace zv
