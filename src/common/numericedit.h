// Rules of the shared edit controls: what the numeric field CMnEdit accepts and how
// CImeCtrl sets the input method's conversion mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/winconst.h"

namespace zv {

// True when text obeys the rule (the empty text does).
bool IsNumericEditTextAllowed(std::string_view text);

// Input-method modes of the shared edit controls.
inline constexpr int kImeLeave = 0;
inline constexpr int kImeHiragana = 1;      // full-width hiragana
inline constexpr int kImeKatakanaHalf = 2;  // half-width katakana
inline constexpr int kImeOff = 9;

// The conversion mode to write back for mode 1 or 2 (native input added); nothing for
// the other modes, which only open the input method.
std::optional<std::uint32_t> ImeConversionForMode(int mode, std::uint32_t conversion);

}  // namespace zv
