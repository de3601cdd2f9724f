#include "editor/linelist.h"

#include <algorithm>
#include <utility>

#include "common/strutil.h"

namespace zv {

void MacroLineList::Select(int index) {
    selection_ = (index >= 0 && index < Count()) ? index : -1;
}

ListResult MacroLineList::Done(bool modified) const {
    ListResult result;
    result.selection = selection_;
    result.modified = modified;
    return result;
}

ListResult MacroLineList::NoSelection() const {
    ListResult result = Done(false);
    result.message = kMsgNoLineSelected;
    return result;
}

ListResult MacroLineList::Reset(std::vector<std::string> lines) {
    // The control is emptied item by item from the last; each deletion fills the buffer.
    if (!lines_.empty())
        pasteBuffer_ = std::move(lines_.front());
    lines_ = std::move(lines);
    selection_ = lines_.empty() ? -1 : 0;
    ListResult result = Done(false);
    result.edits.push_back({ListEdit::Kind::Reset, Count()});
    result.focusList = !lines_.empty();
    return result;
}

ListResult MacroLineList::InsertAt(int index, std::string text) {
    if (index < 0 || index > Count())
        index = Count();
    if (lines_.size() >= maxLines_) {
        ListResult result = Done(false);
        result.message = kMsgAddLineFailed;
        return result;
    }
    lines_.insert(lines_.begin() + index, OnOneLine(text));
    selection_ = index;
    ListResult result = Done(true);
    result.edits.push_back({ListEdit::Kind::Insert, index});
    return result;
}

ListResult MacroLineList::InsertLineAfter(int index, std::string text) {
    return InsertAt(index < 0 ? 0 : index + 1, std::move(text));
}

ListResult MacroLineList::InsertLinesAfter(int index, std::vector<std::string> lines) {
    int at = index < 0 ? 0 : std::min(index + 1, Count());
    if (lines.empty())
        return Done(false);
    if (lines.size() > maxLines_ || lines_.size() > maxLines_ - lines.size()) {
        ListResult result = Done(false);
        result.message = kMsgAddLineFailed;
        return result;
    }
    ListResult result;
    for (std::string& line : lines) {
        lines_.insert(lines_.begin() + at, OnOneLine(line));
        result.edits.push_back({ListEdit::Kind::Insert, at});
        ++at;
    }
    selection_ = at - 1;
    result.selection = selection_;
    result.modified = true;
    return result;
}

ListResult MacroLineList::EraseAt(int index) {
    if (index < 0 || index >= Count())
        return Done(false);
    pasteBuffer_ = std::move(lines_[static_cast<std::size_t>(index)]);
    lines_.erase(lines_.begin() + index);
    if (selection_ == index)
        selection_ = -1;
    else if (selection_ > index)
        --selection_;
    ListResult result = Done(true);
    result.edits.push_back({ListEdit::Kind::Erase, index});
    return result;
}

DialogRequest MacroLineList::RequestAdd(int commandType) const {
    DialogRequest request;
    if (commandType < 0 || commandType >= kEditorCommandCount)
        return request;
    request.kind = DialogRequest::Kind::CommandDialog;
    request.commandType = commandType;
    request.isNew = true;
    return request;
}

DialogRequest MacroLineList::RequestRepeatAdd() const {
    if (lastCommandType_ == kCmdNone) {
        DialogRequest request;
        request.kind = DialogRequest::Kind::Beep;
        return request;
    }
    return RequestAdd(lastCommandType_);
}

ListResult MacroLineList::ConfirmAdd(int commandType, std::string line) {
    if (commandType >= 0 && commandType < kEditorCommandCount)
        lastCommandType_ = commandType;
    if (line.empty())
        return Done(false);
    return InsertLineAfter(selection_, std::move(line));
}

DialogRequest MacroLineList::RequestModify() const {
    DialogRequest request;
    if (selection_ < 0) {
        request.kind = DialogRequest::Kind::Message;
        request.message = kMsgNoLineSelected;
        return request;
    }
    const std::string& line = lines_[static_cast<std::size_t>(selection_)];
    const int type = CommandTypeOfLine(line);
    if (type == kCmdNone)
        return request;
    request.kind = DialogRequest::Kind::CommandDialog;
    request.commandType = type;
    request.line = line;
    return request;
}

DialogRequest MacroLineList::RequestDirectEdit() const {
    DialogRequest request;
    if (selection_ < 0) {
        request.kind = DialogRequest::Kind::Message;
        request.message = kMsgNoLineSelected;
        return request;
    }
    request.kind = DialogRequest::Kind::DirectEditDialog;
    request.line = lines_[static_cast<std::size_t>(selection_)];
    return request;
}

ListResult MacroLineList::ConfirmEdit(std::string line) {
    if (selection_ < 0)
        return NoSelection();
    lines_[static_cast<std::size_t>(selection_)] = OnOneLine(line);
    ListResult result = Done(true);
    result.edits.push_back({ListEdit::Kind::Redraw, selection_});
    return result;
}

ListResult MacroLineList::Delete() {
    if (selection_ < 0)
        return NoSelection();
    const int index = selection_;
    ListResult result = EraseAt(index);
    // One line left: that one; otherwise the same index, or the one before at the end.
    Select(index < Count() ? index : Count() - 1);
    result.selection = selection_;
    return result;
}

ListResult MacroLineList::Move(int direction) {
    if (selection_ < 0)
        return NoSelection();
    const int from = selection_;
    const int to = from + (direction < 0 ? -1 : 1);
    if (to < 0 || to >= Count()) {
        ListResult result = Done(false);
        result.beep = true;
        return result;
    }
    std::swap(lines_[static_cast<std::size_t>(from)], lines_[static_cast<std::size_t>(to)]);
    selection_ = to;
    ListResult result = Done(true);
    result.edits.push_back({ListEdit::Kind::Redraw, from});
    result.edits.push_back({ListEdit::Kind::Redraw, to});
    return result;
}

ListResult MacroLineList::Duplicate() {
    if (selection_ < 0)
        return NoSelection();
    return InsertLineAfter(selection_, lines_[static_cast<std::size_t>(selection_)]);
}

void MacroLineList::Copy() {
    if (selection_ >= 0)
        pasteBuffer_ = lines_[static_cast<std::size_t>(selection_)];
}

ListResult MacroLineList::Paste() {
    if (selection_ < 0 || pasteBuffer_.empty())
        return Done(false);
    return InsertLineAfter(selection_, pasteBuffer_);
}

ViewCommandState MacroLineList::CommandState() const {
    ViewCommandState state;
    const bool selected = selection_ >= 0;
    state.duplicate = selected && Count() >= 1;
    state.modify = state.duplicate;
    state.remove = state.duplicate;
    state.directEdit = state.duplicate;
    state.moveUp = selected && Count() >= 2;
    state.moveDown = state.moveUp;
    return state;
}

EditCommandState MacroLineList::EditState(EditFocus focus, const TextFieldState& field) const {
    EditCommandState state;
    switch (focus) {
        case EditFocus::TextField:
            state.undo = field.canUndo;
            state.cut = field.hasSelection;
            state.copy = field.hasSelection;
            state.paste = field.clipboardHasText;
            break;
        case EditFocus::LineList:
            state.cut = selection_ >= 0;
            state.copy = selection_ >= 0;
            state.paste = !pasteBuffer_.empty();
            break;
        case EditFocus::Elsewhere:
            break;
    }
    return state;
}

}  // namespace zv
