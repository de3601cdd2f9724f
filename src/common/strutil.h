// printf-style formatting into std::string (CP932 bytes pass through %s unchanged).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

#if defined(__GNUC__)
#define ZV_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define ZV_PRINTF(fmt, args)
#endif

std::string StrPrintf(const char* format, ...) ZV_PRINTF(1, 2);

// Decimal conversion as the C library's atol on a 32-bit long: optional white space,
// optional sign, leading digits; no digits give 0; values beyond the range saturate.
std::int32_t ParseLeadingInt32(std::string_view s);

// True when s is one or more decimal digits only.
bool IsAllDigits(std::string_view s);

// s between double quotes, as a command-line argument or program path.
std::string Quoted(std::string_view s);

// Replaces every occurrence of from by to.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// s on one line: every line break (CR LF, a lone CR, a lone LF) becomes one space (CR
// and LF are never part of a CP932 character). A value that must stay on one line of a
// macro file goes through this where it enters.
std::string OnOneLine(std::string_view s);

}  // namespace zv
