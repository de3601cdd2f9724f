// The command type of a macro line as the editor sees it: the keyword at byte 0, matched
// case-sensitively (a line read with a lower-case keyword stays in the document but has
// no type), and what the line list shows for each type.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zv {

// Command types in the editor's order; -1 is no known command.
enum EditorCommandType : int {
    kCmdNone = -1,
    kCmdLaunch = 0,
    kCmdFocus = 1,
    kCmdWait = 2,
    kCmdKeyin = 3,
    kCmdType = 4,
    kCmdMouse = 5,
};
inline constexpr int kEditorCommandCount = 6;

struct EditorCommandInfo {
    std::string_view keyword;  // upper case, colon included
    std::string_view label;    // shown above the line's description in the list
};

inline constexpr std::array<EditorCommandInfo, kEditorCommandCount> kEditorCommands{{
    {"LAUNCH:", "プログラム起動:"},
    {"FOCUS:", "ウィンドウフォーカス:"},
    {"WAIT:", "ウェイト:"},
    {"KEYIN:", "キー入力:"},
    {"TYPE:", "文字列入力:"},
    {"MOUSE:", "マウス操作:"},
}};

// The type of a line: the first keyword the line begins with at byte 0, case-sensitive.
int CommandTypeOfLine(std::string_view line);

// What the list shows as a line's description: readable text when the line's parameters
// parse, else the whole line, marked invalid. The colour is the engine's judgement
// (LineView::refused), not this.
struct LineDescription {
    std::string text;
    bool valid = false;
};

}  // namespace zv
