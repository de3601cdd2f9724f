// Pieces of a command's parameter text that several commands share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zv {

// The parameter text cut at commas: a comma is appended, a run of commas between two
// values counts as one separator, and a comma run at the very end leaves one empty piece.
std::vector<std::string_view> SplitCommaPieces(std::string_view text);

// Removes trailing blanks and commas.
void TrimTrailingSeparators(std::string& text);

// True when text ends with word, the word starts on a character boundary and at least
// one character stands before it.
bool EndsWithWord(std::string_view text, std::string_view word);

}  // namespace zv
