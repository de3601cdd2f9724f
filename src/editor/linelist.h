// The line list of the editor's view: the command lines with the selected index, the
// paste buffer, the last confirmed command type and the rules of every list command.
// Each operation returns what the list control must do (insert, erase or redraw items,
// then select, beep or show a message) and whether the document became modified; the
// Win32 list draws the lines from this model by index.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "editor/commandtype.h"

namespace zv {

inline constexpr const char* kMsgNoLineSelected = "マクロデータ行が選択されていません。";
inline constexpr const char* kMsgAddLineFailed = "マクロデータの追加に失敗しました。";

inline constexpr std::size_t kNoLineLimit = std::numeric_limits<std::size_t>::max();

// One change of the list control, applied in order.
struct ListEdit {
    enum class Kind {
        Insert,  // a new item at index
        Erase,   // the item at index
        Redraw,  // the item at index shows a changed line
        Reset,   // every item replaced: the control holds index items now
    };
    Kind kind = Kind::Redraw;
    int index = 0;

    bool operator==(const ListEdit&) const = default;
};

struct ListResult {
    std::vector<ListEdit> edits;
    int selection = -1;      // the selected index after the edits; -1: none
    bool modified = false;   // the document is to be marked modified
    bool beep = false;       // sound the default beep
    bool focusList = false;  // give the list the keyboard focus
    std::string message;     // shown in a message box when not empty
};

// What a command leads to before its dialog: nothing, a beep, a message, or a dialog
// opened with a line (empty for a new one).
struct DialogRequest {
    enum class Kind { Nothing, Beep, Message, CommandDialog, DirectEditDialog };
    Kind kind = Kind::Nothing;
    int commandType = kCmdNone;  // CommandDialog: which command's dialog
    bool isNew = false;          // the dialog adds a line ("(新規)") or changes one
    std::string line;
    std::string message;
};

// Which of the view's commands are enabled. Adding always; duplicate, modify, delete and
// direct edit while a line is selected; moving while a line is selected among two or more
// (at either end it then beeps).
struct ViewCommandState {
    bool add = true;  // the six add commands and the repeat add
    bool duplicate = false;
    bool modify = false;
    bool remove = false;
    bool directEdit = false;
    bool moveUp = false;
    bool moveDown = false;
};

// Where the keyboard focus is when an edit command ("切り取り", "コピー", "貼り付け",
// "元に戻す") is chosen: a text field of the form acts on its own; the line list acts
// through Delete, Copy and Paste below; anywhere else the commands are disabled.
enum class EditFocus { Elsewhere, TextField, LineList };

// The state of the text field that has the focus, as the platform reports it.
struct TextFieldState {
    bool canUndo = false;
    bool hasSelection = false;
    bool clipboardHasText = false;
};

struct EditCommandState {
    bool undo = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
};

// Every line that enters the list through an insertion or an edit (a dialog, a paste, a
// drop, a recording) is kept on one line: a line break in it becomes a space, so that it
// can never be written as two lines of the file. Reset (a file was read) keeps lines as
// they are.
class MacroLineList {
public:
    // maxLines: the most lines additions may bring the list to (the list control's own
    // limit); an addition beyond it is refused with "マクロデータの追加に失敗しました。".
    explicit MacroLineList(std::size_t maxLines = kNoLineLimit) : maxLines_(maxLines) {}

    const std::vector<std::string>& Lines() const { return lines_; }
    int Count() const { return static_cast<int>(lines_.size()); }
    // The selected index, -1 when no line is selected.
    int Selection() const { return selection_; }
    const std::string& PasteBuffer() const { return pasteBuffer_; }
    // Index 0 to 5 of the command whose add dialog was last confirmed, -1 before that.
    int LastCommandType() const { return lastCommandType_; }

    // The control's selection changed (click, keys); an index outside the list clears it.
    void Select(int index);

    // Replaces every line (a file was read): the old lines are deleted from the last to
    // the first, each through the paste buffer; then line 1 is selected when there is one.
    ListResult Reset(std::vector<std::string> lines);

    // Inserts text after the line at index (-1: at the top) and selects it.
    ListResult InsertLineAfter(int index, std::string text);
    // Inserts text at index (Count() appends) and selects it.
    ListResult InsertAt(int index, std::string text);
    // Inserts lines in order after the line at index (-1: at the top) as one change and
    // selects the last of them; refused as a whole when they do not all fit.
    ListResult InsertLinesAfter(int index, std::vector<std::string> lines);
    // Deletes the line at index; its text goes to the paste buffer. The selection follows
    // the list control: it stays on its line, and is cleared when that line is deleted.
    ListResult EraseAt(int index);

    // An add command of the menu: the dialog of that command with an empty line.
    DialogRequest RequestAdd(int commandType) const;
    // Repeat add (Ctrl+I): the dialog of the last confirmed command type, or a beep.
    DialogRequest RequestRepeatAdd() const;
    // An add dialog closed with OK: remembers its type; a composed line that is not empty
    // is inserted after the selection (at the top without one) and selected.
    ListResult ConfirmAdd(int commandType, std::string line);

    // "行修正": the dialog of the selected line's command type with its text; nothing for
    // a line of no known type; a message without a selection.
    DialogRequest RequestModify() const;
    // "直接編集": the direct-edit dialog (editor/lineedit_dialog.h) with the selected line,
    // whatever its type.
    DialogRequest RequestDirectEdit() const;
    // A double-click in the list: "直接編集" with Shift held, "行修正" without, whether or
    // not a line is selected, so that a double-click without one (an empty list) says so.
    DialogRequest RequestDoubleClick(bool shiftHeld) const {
        return shiftHeld ? RequestDirectEdit() : RequestModify();
    }
    // A modify or direct-edit dialog closed with OK: the selected line becomes line.
    ListResult ConfirmEdit(std::string line);

    // "行削除" and, in the list, "切り取り": deletes the selected line (its text goes to
    // the paste buffer) and selects the line now at its index, or the one before it when
    // the last line was deleted.
    ListResult Delete();
    // "上に移動" (-1) and "下に移動" (+1): swaps the selected line with its neighbour
    // and keeps it selected; a beep, and no change, at either end.
    ListResult Move(int direction);
    // "行複写": a copy of the selected line right below it, selected.
    ListResult Duplicate();
    // "コピー" in the list: the paste buffer takes the selected line's text.
    void Copy();
    // "貼り付け" in the list: the paste buffer's text after the selected line; nothing
    // when no line is selected or the buffer is empty.
    ListResult Paste();

    ViewCommandState CommandState() const;
    EditCommandState EditState(EditFocus focus, const TextFieldState& field) const;

private:
    ListResult Done(bool modified) const;
    ListResult NoSelection() const;

    std::vector<std::string> lines_;
    int selection_ = -1;
    std::string pasteBuffer_;
    int lastCommandType_ = kCmdNone;
    std::size_t maxLines_;
};

}  // namespace zv
