#include "common/numericedit.h"

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

std::optional<std::uint32_t> ImeConversionForMode(int mode, std::uint32_t conversion) {
    conversion |= kImeCmodeNative;
    if (mode == kImeHiragana)
        return (conversion & ~kImeCmodeKatakana) | kImeCmodeFullShape;
    if (mode == kImeKatakanaHalf)
        return (conversion & ~kImeCmodeFullShape) | kImeCmodeKatakana | kImeCmodeHanjaConvert;
    return std::nullopt;
}

}  // namespace zv
