// The FOCUS dialog's model: the caption of the window to bring to the front, and the
// rules of the window list it can be picked from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

inline constexpr int kFocusCaptionMaxChars = 260;  // the caption edit's limit

struct FocusLineParse {
    bool ok = false;
    std::string caption;  // quotes removed; empty when parse failed
};

// Reads a FOCUS line: the parameter text without its enclosing quotes.
FocusLineParse ParseFocusLine(std::string_view line);

// "FOCUS:" + the caption in double quotes, as entered (inner quotes are not escaped).
std::string ComposeFocusLine(std::string_view caption);

// ">%s<" with the caption, or the whole line marked invalid.
LineDescription DescribeFocusLine(std::string_view line);

enum class FocusField { Caption };

// OK with the caption field's text.
DialogOk<FocusField> ConfirmFocusDialog(std::string_view caption);

// The entry of a visible top-level window in the window list: its caption on one line
// (a line break in a caption would become a line of the macro file once picked);
// nothing for a window without a caption. Invisible windows are never listed: their
// captions are not even read.
std::optional<std::string> WindowListEntry(std::string_view caption);

// "選択" or a double-click in the window list: close with the selected entry, or say
// "選択されていません。" when nothing is selected (selection -1).
struct WindowListChoice {
    bool close = false;
    std::string message;  // when not closing
};
WindowListChoice ChooseFromWindowList(int selection);

}  // namespace zv
