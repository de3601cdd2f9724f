#include "common/syntax/params.h"

#include "common/cp932.h"

namespace zv {

std::vector<std::string_view> SplitCommaPieces(std::string_view text) {
    // The appended comma closes the last piece. Skipping a comma run stops short of that
    // closing comma, so a run at the end still yields one empty piece.
    const std::size_t end = text.size();  // index of the appended comma
    std::vector<std::string_view> pieces;
    std::size_t pos = 0;
    while (pos <= end) {
        std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos)
            comma = end;
        pieces.push_back(text.substr(pos, comma - pos));
        pos = comma + 1;
        while (pos < end && text[pos] == ',')
            ++pos;
    }
    return pieces;
}

void TrimTrailingSeparators(std::string& text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == ','))
        text.pop_back();
}

bool EndsWithWord(std::string_view text, std::string_view word) {
    if (text.size() <= word.size() || !text.ends_with(word))
        return false;
    const std::size_t start = text.size() - word.size();
    std::size_t pos = 0;
    while (pos < start)
        pos += CharLength(text, pos);
    return pos == start;
}

}  // namespace zv
