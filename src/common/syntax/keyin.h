// KEYIN parameters: key tokens separated by blanks, optionally followed by ",REP=n".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

namespace zv {

// The most key tokens the engine presses on one line; the rest of the line is ignored.
inline constexpr std::size_t kMaxKeyinKeys = 256;

struct KeyinText {
    bool ok = false;
    std::string error;                // the failure message when not ok
    std::vector<std::string> tokens;  // the key tokens as written, in order
    std::int32_t repeat = 1;
};

// Splits a KEYIN line into its key tokens (at most maxTokens) and the repeat count.
// "REP=" counts only with something before it and something after it; a count below 1
// fails, as does an empty parameter text. What each token names is the caller's.
KeyinText SplitKeyin(std::string_view line, std::size_t maxTokens);

// The key code a token presses: a single byte is its own code, a longer token a key name
// in any letter case. Nothing for an unknown name.
std::optional<std::uint8_t> KeyinTokenCode(std::string_view token);

}  // namespace zv
