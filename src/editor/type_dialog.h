// The TYPE dialog's model: a text to type, or one of the run-time tokens.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

// Where the typed text comes from: the text field, or a token the engine replaces.
enum TypeSource : int {
    kTypeSourceText = 0,
    kTypeSourceClipboard = 1,  // "%CLIP"
    kTypeSourceParam1 = 2,     // "%PARAM1"
    kTypeSourceParam2 = 3,     // "%PARAM2"
};

struct TypeToken {
    std::string_view token;        // as written to the line
    std::string_view description;  // how the list shows it
};

// Sources 1 to 3, in order.
inline constexpr std::array<TypeToken, 3> kTypeTokens{{
    {"%CLIP", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容"},
    {"%PARAM1", "ﾌﾟﾛｸﾞﾗﾑ引数１"},
    {"%PARAM2", "ﾌﾟﾛｸﾞﾗﾑ引数２"},
}};

struct TypeLineParse {
    bool ok = false;
    std::string text;  // quotes removed, tokens as written; empty when parse failed
};

// Reads a TYPE line: the parameter text without its enclosing quotes (commas included).
TypeLineParse ParseTypeLine(std::string_view line);

// The source a parsed text stands for: a token in any letter case, else the text.
TypeSource TypeSourceOfText(std::string_view text);

struct TypeFields {
    int source = kTypeSourceText;
    std::string text;  // the text field; empty when a token source is chosen

    bool operator==(const TypeFields&) const = default;
};

// Source 0: "TYPE:" + the text in double quotes; sources 1 to 3: "TYPE:" + the token.
std::string ComposeTypeLine(const TypeFields& fields);

// The token's description, ">%s<" with any other text, or the whole line invalid.
LineDescription DescribeTypeLine(std::string_view line);

// The fields the dialog opens with: a token selects its source with an empty text.
TypeFields OpenTypeDialog(std::string_view entryLine);

enum class TypeField { Text };

inline constexpr const char* kMsgTypeTextDropped =
    "入力文字列は無効となり登録されません。\r\n登録してよろしいですか？";

// OK: a token source with text in the field asks first; an empty text is refused.
DialogOk<TypeField> ConfirmTypeDialog(const TypeFields& fields);

}  // namespace zv
