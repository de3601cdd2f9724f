// What all command dialogs of the editor share: the caption mark for a new or changed
// line, the help page and anchors, the numeric fields' range check, and the outcome of
// the OK button that the win32 dialog carries out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/folders.h"
#include "common/numberfield.h"

namespace zv {

enum class EditorDialog { Focus, Keyin, Launch, Mouse, Type, Wait, LineEdit };

inline constexpr std::string_view kEditorHelpPage = kHelpMacroEditor;

// The anchor of a dialog's help section on kEditorHelpPage ("#Focus", ...).
std::string_view HelpAnchor(EditorDialog dialog);

// Appended to the dialog's caption: "(新規)" for an empty entry line, else "(更新)".
std::string_view CaptionSuffix(std::string_view entryLine);

// The parameter text as the dialogs read it: after the first ':', stripped of white
// space; a line without ':' is all parameter text (the engine never sees such a line).
std::string DialogParamText(std::string_view line);

// The line to hand to a common/syntax parser so that it reads DialogParamText(line):
// the line itself, or ":" + line when it has no ':'.
std::string WithParamColon(std::string_view line);

// An inclusive range of a numeric field; its spin control gets the same range.
struct IntRange {
    std::int32_t low;
    std::int32_t high;
};

// kMsgIntegerRange with the bounds: "-3200 から 3200 までの整数を入力してください。".
std::string IntRangeMessage(IntRange range);

// The value of a numeric field's text: optional blanks, an optional sign, one or more
// digits, optional blanks, and a value within range. Anything else (empty, a lone "-",
// digits beyond 32 bits) is refused like a value outside the range, with
// IntRangeMessage.
std::optional<std::int32_t> ReadIntField(std::string_view text, IntRange range);

// The outcome of a dialog's OK button. Field is the dialog's own enumeration of the
// controls that can receive the focus.
template <typename Field>
struct DialogOk {
    enum class Kind {
        Close,    // close with OK; line is the composed line
        Message,  // show message, focus `focus`, stay open
        Confirm,  // ask message with Yes / No: Yes closes with line, No focuses `focus`
    };
    Kind kind = Kind::Close;
    std::string message;
    Field focus{};
    std::string line;

    static DialogOk CloseWith(std::string composed) {
        return DialogOk{Kind::Close, {}, Field{}, std::move(composed)};
    }
    static DialogOk Refuse(std::string text, Field field) {
        return DialogOk{Kind::Message, std::move(text), field, {}};
    }
    static DialogOk Ask(std::string question, Field onNo, std::string composed) {
        return DialogOk{Kind::Confirm, std::move(question), onNo, std::move(composed)};
    }
};

}  // namespace zv
