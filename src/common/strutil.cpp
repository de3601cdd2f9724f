#include "common/strutil.h"

#include <cstdarg>
#include <cstdio>
#include <limits>
#include <vector>

namespace zv {

std::string StrPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buf(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        out.assign(buf.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return out;
}

std::int32_t ParseLeadingInt32(std::string_view s) {
    std::size_t pos = 0;
    while (pos < s.size() && (s[pos] == ' ' || (s[pos] >= 0x09 && s[pos] <= 0x0D)))
        ++pos;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    const std::int64_t limit =
        negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                 : std::numeric_limits<std::int32_t>::max();
    for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos) {
        value = value * 10 + (s[pos] - '0');
        if (value > limit)
            value = limit;  // saturate, keep consuming digits
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool IsAllDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    if (from.empty())
        return std::string(s);
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

std::string OnOneLine(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
            out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Quoted(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    out.append(s);
    out += '"';
    return out;
}

}  // namespace zv
