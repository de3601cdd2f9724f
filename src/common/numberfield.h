// Number fields of the suite's dialogs: how OK reads a field's text as an integer and
// checks it against its range, and the standard messages shown when it cannot. The
// engine's settings dialog, the launcher's property dialog and the editor's command
// dialogs all report a bad number with these texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

inline constexpr const char* kMsgEnterInteger = "整数を入力してください。";
inline constexpr const char* kMsgEnterPositiveInteger = "正の整数を入力してください。";
inline constexpr const char* kMsgIntegerRange = "%1 から %2 までの整数を入力してください。";

// Signed fields take an optional sign; unsigned ones take no minus sign.
enum class NumberKind { Signed, Unsigned };

// The number a field holds: blanks around it, an optional sign, one or more decimal
// digits. Nothing when the text is anything else or the value does not fit in 32 bits
// (signed or unsigned as asked).
std::optional<std::int64_t> ParseFieldNumber(std::string_view text, NumberKind kind);

// kMsgIntegerRange with the two bounds in decimal.
std::string IntegerRangeMessage(std::int64_t min, std::int64_t max);

struct NumberFieldRule {
    NumberKind kind = NumberKind::Signed;
    std::int64_t min = 0;
    std::int64_t max = 0;
};

// The value of a field, or the message that OK shows for it: "整数を入力してください。"
// (signed) or "正の整数を入力してください。" (unsigned) for text that is no number, the
// range message for a number outside [min, max].
struct NumberFieldCheck {
    std::optional<std::int32_t> value;
    std::string message;  // empty when value is set
};
NumberFieldCheck CheckNumberField(std::string_view text, const NumberFieldRule& rule);

}  // namespace zv
