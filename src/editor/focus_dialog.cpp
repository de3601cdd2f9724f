#include "editor/focus_dialog.h"

#include "common/strutil.h"
#include "common/syntax/focus.h"

namespace zv {

FocusLineParse ParseFocusLine(std::string_view line) {
    const FocusCaption f = ParseFocusCaption(WithParamColon(line));
    return {f.ok, f.caption};
}

std::string ComposeFocusLine(std::string_view caption) {
    std::string line = "FOCUS:\"";
    line += caption;
    line += '"';
    return line;
}

LineDescription DescribeFocusLine(std::string_view line) {
    const FocusLineParse p = ParseFocusLine(line);
    if (!p.ok)
        return {std::string(line), false};
    return {">" + p.caption + "<", true};
}

DialogOk<FocusField> ConfirmFocusDialog(std::string_view caption) {
    using Ok = DialogOk<FocusField>;
    if (caption.empty())
        return Ok::Refuse("フォーカスウィンドウが設定されていません。", FocusField::Caption);
    return Ok::CloseWith(ComposeFocusLine(caption));
}

std::optional<std::string> WindowListEntry(std::string_view caption) {
    if (caption.empty())
        return std::nullopt;
    return OnOneLine(caption);
}

WindowListChoice ChooseFromWindowList(int selection) {
    if (selection < 0)
        return {false, "選択されていません。"};
    return {true, {}};
}

}  // namespace zv
