#include "common/cp932.h"

namespace zv {

std::string_view TrimLeftWhite(std::string_view s) {
    std::size_t pos = 0;
    while (pos < s.size() && IsWhiteByte(static_cast<unsigned char>(s[pos]))) {
        ++pos;  // white space is always a single-byte character
    }
    return s.substr(pos);
}

std::string_view TrimRightWhite(std::string_view s) {
    std::size_t runStart = std::string_view::npos;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t len = CharLength(s, pos);
        if (len == 1 && IsWhiteByte(static_cast<unsigned char>(s[pos]))) {
            if (runStart == std::string_view::npos)
                runStart = pos;
        } else {
            runStart = std::string_view::npos;
        }
        pos += len;
    }
    return runStart == std::string_view::npos ? s : s.substr(0, runStart);
}

std::string_view StripWhite(std::string_view s) {
    return TrimRightWhite(TrimLeftWhite(s));
}

std::string ToUpperAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t len = CharLength(out, pos);
        if (len == 1 && out[pos] >= 'a' && out[pos] <= 'z')
            out[pos] = static_cast<char>(out[pos] - 'a' + 'A');
        pos += len;
    }
    return out;
}

std::size_t FindMb(std::string_view hay, std::string_view needle, std::size_t from) {
    if (from > hay.size())
        return std::string_view::npos;
    // Advance to the first character boundary at or after `from`.
    std::size_t pos = 0;
    while (pos < from)
        pos += CharLength(hay, pos);
    for (; pos + needle.size() <= hay.size(); pos += CharLength(hay, pos)) {
        if (hay.compare(pos, needle.size(), needle) == 0)
            return pos;
        if (pos == hay.size())
            break;  // empty needle past the last match position
    }
    return std::string_view::npos;
}

std::size_t FindLastSingleByte(std::string_view s, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t len = CharLength(s, pos);
        if (len == 1 && s[pos] == c)
            found = pos;
        pos += len;
    }
    return found;
}

std::string ReplaceSingleByte(std::string_view s, char from, char to) {
    std::string out(s);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t len = CharLength(out, pos);
        if (len == 1 && out[pos] == from)
            out[pos] = to;
        pos += len;
    }
    return out;
}

std::string_view TruncateChars(std::string_view s, std::size_t max) {
    if (s.size() <= max)
        return s;
    std::size_t pos = 0;
    while (pos < max) {
        const std::size_t len = CharLength(s, pos);
        if (pos + len > max)
            break;
        pos += len;
    }
    return s.substr(0, pos);
}

}  // namespace zv
