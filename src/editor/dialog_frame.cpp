#include "editor/dialog_frame.h"

#include "common/cp932.h"
#include "common/macrofile.h"
#include "common/numberfield.h"
#include "common/strutil.h"

namespace zv {

std::string_view HelpAnchor(EditorDialog dialog) {
    switch (dialog) {
        case EditorDialog::Focus:
            return "#Focus";
        case EditorDialog::Keyin:
            return "#Keyin";
        case EditorDialog::Launch:
            return "#Launch";
        case EditorDialog::Mouse:
            return "#Mouse";
        case EditorDialog::Type:
            return "#Type";
        case EditorDialog::Wait:
            return "#Wait";
        case EditorDialog::LineEdit:
            return "#LineEdit";
    }
    return {};
}

std::string_view CaptionSuffix(std::string_view entryLine) {
    return entryLine.empty() ? "(新規)" : "(更新)";
}

std::string DialogParamText(std::string_view line) {
    if (line.find(':') == std::string_view::npos)
        return std::string(StripWhite(line));
    return GetParamText(line);
}

std::string WithParamColon(std::string_view line) {
    if (line.find(':') != std::string_view::npos)
        return std::string(line);
    std::string out = ":";
    out += line;
    return out;
}

std::string IntRangeMessage(IntRange range) {
    return IntegerRangeMessage(range.low, range.high);
}

std::optional<std::int32_t> ReadIntField(std::string_view text, IntRange range) {
    const std::optional<std::int64_t> value = ParseFieldNumber(text, NumberKind::Signed);
    if (!value || *value < range.low || *value > range.high)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

}  // namespace zv
