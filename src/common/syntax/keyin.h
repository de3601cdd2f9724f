// KEYIN parameters: key tokens separated by blanks, optionally followed by ",REP=n".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

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

}  // namespace zv
