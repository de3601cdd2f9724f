// Conversion between the core's CP932 strings and the UTF-16 of the W functions.
#pragma once

#include <string>
#include <string_view>

namespace zv {

inline constexpr unsigned kCodePage932 = 932;

std::wstring ToWide(std::string_view cp932);
std::string FromWide(std::wstring_view wide);

// The system's text for an error code (FormatMessage, system table, default language).
std::string SystemErrorText(unsigned long error);

}  // namespace zv
