#include "common/numberfield.h"

#include <limits>

#include "common/strutil.h"

namespace zv {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<std::int64_t> ParseFieldNumber(std::string_view text, NumberKind kind) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        if (negative && kind == NumberKind::Unsigned)
            return std::nullopt;
        text.remove_prefix(1);
    }
    if (!IsAllDigits(text))
        return std::nullopt;
    const std::int64_t limit =
        kind == NumberKind::Unsigned
            ? std::int64_t{std::numeric_limits<std::uint32_t>::max()}
            : (negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                        : std::int64_t{std::numeric_limits<std::int32_t>::max()});
    std::int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return negative ? -value : value;
}

std::string IntegerRangeMessage(std::int64_t min, std::int64_t max) {
    std::string text = ReplaceAll(kMsgIntegerRange, "%1", std::to_string(min));
    return ReplaceAll(text, "%2", std::to_string(max));
}

NumberFieldCheck CheckNumberField(std::string_view text, const NumberFieldRule& rule) {
    NumberFieldCheck check;
    const std::optional<std::int64_t> number = ParseFieldNumber(text, rule.kind);
    if (!number) {
        check.message =
            rule.kind == NumberKind::Unsigned ? kMsgEnterPositiveInteger : kMsgEnterInteger;
        return check;
    }
    if (*number < rule.min || *number > rule.max) {
        check.message = IntegerRangeMessage(rule.min, rule.max);
        return check;
    }
    check.value = static_cast<std::int32_t>(*number);
    return check;
}

}  // namespace zv
