// The direct line edit dialog ("マクロ直接編集"): any line edited as its keyword and raw
// parameter text, without the command's dialog and without any check.
#pragma once

#include <string>
#include <string_view>

namespace zv {

inline constexpr std::string_view kDirectEditCaption = "マクロ直接編集";

struct DirectEditFields {
    std::string keyword;     // shown in a label: the line's keyword, empty for no known type
    std::string parameters;  // the edit field
};

// The fields a line opens with. A line of a known type (keyword at byte 0, exact case)
// shows that keyword and its parameter text (after the first colon, stripped). A line of
// no known type has no keyword to keep apart, so the whole stripped line is its
// parameter text: confirming the dialog unchanged gives the line back as it was.
DirectEditFields OpenDirectEdit(std::string_view line);

// The line the dialog's OK gives: keyword + parameter text, nothing between them.
std::string ComposeDirectEdit(const DirectEditFields& fields);

}  // namespace zv
