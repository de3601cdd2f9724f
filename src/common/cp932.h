// Byte-level helpers for code page 932 (Shift-JIS) text held in std::string.
// All of these step over a double-byte character as one unit, so its trail byte is
// never taken for white space, an ASCII letter or part of a search match.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zv {

// Lead bytes of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
inline bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Single-byte white space: space, TAB, LF, VT, FF, CR. The ideographic space is not.
inline bool IsWhiteByte(unsigned char c) {
    return c == 0x20 || (c >= 0x09 && c <= 0x0D);
}

// Length of the character that starts at pos: 2 for a lead byte with a byte after it,
// otherwise 1 (a lead byte at the very end is a truncated character of one byte).
inline std::size_t CharLength(std::string_view s, std::size_t pos) {
    return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// Removes leading / trailing / both kinds of single-byte white space.
std::string_view TrimLeftWhite(std::string_view s);
std::string_view TrimRightWhite(std::string_view s);
std::string_view StripWhite(std::string_view s);

// Upper-cases the ASCII letters of s; double-byte characters are left as they are.
std::string ToUpperAscii(std::string_view s);

// First occurrence of needle in hay at or after `from` that starts on a character
// boundary of hay; npos when there is none. An empty needle matches at `from`.
std::size_t FindMb(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Last occurrence of the single byte c that is a character of its own (not the trail
// byte of a double-byte character); npos when there is none.
std::size_t FindLastSingleByte(std::string_view s, char c);

// Replaces every single-byte character from by to (trail bytes are left alone, so the
// 0x5C trail byte of a character like 表 is not taken for a backslash).
std::string ReplaceSingleByte(std::string_view s, char from, char to);

// Cuts s to at most max bytes without splitting a double-byte character.
std::string_view TruncateChars(std::string_view s, std::size_t max);

}  // namespace zv
