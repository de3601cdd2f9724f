#include "engine/commands.h"
#include "common/strutil.h"

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

std::string HandleHex(WindowHandle handle) {
    return StrPrintf("%8.8X", static_cast<unsigned>(handle & 0xFFFFFFFFu));
}

}  // namespace zv
