#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "editor/linelist.h"

namespace zv {
namespace {

// The list control as the Win32 view keeps it: it applies each result's edits with the
// model's texts and must then show exactly the model's lines and selection.
struct ControlMirror {
    std::vector<std::string> items;
    int selection = -1;

    void Apply(const ListResult& r, const MacroLineList& model) {
        for (const ListEdit& e : r.edits) {
            const auto at = static_cast<std::size_t>(e.index);
            switch (e.kind) {
                case ListEdit::Kind::Insert:
                    ASSERT_LE(at, items.size());
                    items.insert(items.begin() + e.index, model.Lines().at(at));
                    break;
                case ListEdit::Kind::Erase:
                    ASSERT_LT(at, items.size());
                    items.erase(items.begin() + e.index);
                    break;
                case ListEdit::Kind::Redraw:
                    ASSERT_LT(at, items.size());
                    items[at] = model.Lines().at(at);
                    break;
                case ListEdit::Kind::Reset:
                    ASSERT_EQ(at, model.Lines().size());
                    items = model.Lines();
                    break;
            }
        }
        selection = r.selection;
    }
};

MacroLineList ListOf(std::vector<std::string> lines, int selection) {
    MacroLineList list;
    list.Reset(std::move(lines));
    list.Select(selection);
    return list;
}

using Lines = std::vector<std::string>;

TEST(LineList, InsertionsSelectTheLastNewLine) {
    MacroLineList list;
    ListResult r = list.InsertLineAfter(-1, "WAIT:1");
    EXPECT_EQ(list.Lines(), Lines{"WAIT:1"});
    EXPECT_EQ(r.selection, 0);
    EXPECT_TRUE(r.modified);
    r = list.InsertLineAfter(-1, "WAIT:0");
    EXPECT_EQ(list.Lines(), (Lines{"WAIT:0", "WAIT:1"})) << "-1 inserts at the top";
    r = list.InsertLineAfter(1, "WAIT:2");
    EXPECT_EQ(list.Lines(), (Lines{"WAIT:0", "WAIT:1", "WAIT:2"}));
    EXPECT_EQ(list.Selection(), 2);
    EXPECT_EQ(r.edits, (std::vector<ListEdit>{{ListEdit::Kind::Insert, 2}}));

    // Recorded lines go in as one change.
    list = ListOf({"A:1", "A:2"}, 0);
    ControlMirror control;
    control.items = list.Lines();
    r = list.InsertLinesAfter(0, {"R:1", "R:2", "R:3"});
    control.Apply(r, list);
    EXPECT_EQ(list.Lines(), (Lines{"A:1", "R:1", "R:2", "R:3", "A:2"}));
    EXPECT_EQ(control.items, list.Lines());
    EXPECT_EQ(r.selection, 3) << "the last recorded line";
    EXPECT_TRUE(r.modified);

    r = list.InsertLinesAfter(-1, {"T:1", "T:2"});
    EXPECT_EQ(list.Lines()[0], "T:1") << "nothing selected: at the top";
    EXPECT_EQ(list.Selection(), 1);

    r = list.InsertLinesAfter(2, {});
    EXPECT_FALSE(r.modified) << "an empty recording changes nothing";
    EXPECT_TRUE(r.edits.empty());

    MacroLineList small(4);
    small.Reset({"A:1", "A:2"});
    r = small.InsertLinesAfter(1, {"R:1", "R:2", "R:3"});
    EXPECT_EQ(small.Lines(), (Lines{"A:1", "A:2"})) << "all or nothing";
    EXPECT_EQ(r.message, kMsgAddLineFailed);
    EXPECT_FALSE(r.modified);
    r = small.InsertLinesAfter(1, {"R:1", "R:2"});
    EXPECT_EQ(small.Count(), 4);
}

TEST(LineList, DeleteSelectsTheLineThatFollows) {
    MacroLineList list = ListOf({"A:1", "A:2", "A:3"}, 2);
    ListResult r = list.Delete();
    EXPECT_EQ(list.Lines(), (Lines{"A:1", "A:2"}));
    EXPECT_EQ(r.selection, 1) << "the last line deleted: the one before it";
    EXPECT_EQ(list.PasteBuffer(), "A:3");
    EXPECT_TRUE(r.modified);

    list = ListOf({"A:1", "A:2", "A:3"}, 0);
    list.Delete();
    EXPECT_EQ(list.Selection(), 0) << "the same index";
    EXPECT_EQ(list.Lines()[0], "A:2");

    list = ListOf({"A:1"}, 0);
    r = list.Delete();
    EXPECT_TRUE(list.Lines().empty());
    EXPECT_EQ(r.selection, -1);

    list = ListOf({"A:1", "A:2"}, -1);
    r = list.Delete();
    EXPECT_EQ(r.message, "マクロデータ行が選択されていません。");
    EXPECT_FALSE(r.modified);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(r.edits.empty());
}

TEST(LineList, MoveBeepsAtTheEnds) {
    MacroLineList list = ListOf({"A:1", "A:2", "A:3"}, 1);
    ListResult r = list.Move(-1);
    EXPECT_EQ(list.Lines(), (Lines{"A:2", "A:1", "A:3"}));
    EXPECT_EQ(r.selection, 0);
    EXPECT_TRUE(r.modified);
    r = list.Move(-1);
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.modified) << "a beep changes nothing";
    EXPECT_EQ(list.Lines(), (Lines{"A:2", "A:1", "A:3"}));
    list.Select(2);
    r = list.Move(+1);
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.modified);
    list.Select(-1);
    EXPECT_EQ(list.Move(+1).message, "マクロデータ行が選択されていません。");
}

TEST(LineList, DuplicateAndAddDialogs) {
    MacroLineList list = ListOf({"FOCUS:a", "WAIT:1"}, 0);
    list.Duplicate();
    EXPECT_EQ(list.Lines(), (Lines{"FOCUS:a", "FOCUS:a", "WAIT:1"}));
    EXPECT_EQ(list.Selection(), 1);

    // Repeat add beeps until an add dialog was confirmed, even with an empty line.
    EXPECT_EQ(list.RequestRepeatAdd().kind, DialogRequest::Kind::Beep);
    DialogRequest d = list.RequestAdd(kCmdLaunch);
    EXPECT_EQ(d.kind, DialogRequest::Kind::CommandDialog);
    EXPECT_TRUE(d.isNew);
    EXPECT_EQ(d.line, "");
    ListResult r = list.ConfirmAdd(kCmdLaunch, "");
    EXPECT_FALSE(r.modified);
    EXPECT_EQ(list.Count(), 3);
    d = list.RequestRepeatAdd();
    EXPECT_EQ(d.kind, DialogRequest::Kind::CommandDialog);
    EXPECT_EQ(d.commandType, kCmdLaunch);

    list.ConfirmAdd(kCmdMouse, "MOUSE:L");
    EXPECT_EQ(list.Lines(), (Lines{"FOCUS:a", "FOCUS:a", "MOUSE:L", "WAIT:1"}));
    EXPECT_EQ(list.Selection(), 2);
    EXPECT_EQ(list.RequestRepeatAdd().commandType, kCmdMouse);

    list.Select(-1);
    list.ConfirmAdd(kCmdWait, "WAIT:9");
    EXPECT_EQ(list.Lines()[0], "WAIT:9") << "no selection: at the top";
}

TEST(LineList, ModifyDirectEditAndDoubleClickRequests) {
    MacroLineList list = ListOf({"FOCUS:メモ帳", "wait:100,0"}, 0);
    DialogRequest d = list.RequestModify();
    EXPECT_EQ(d.kind, DialogRequest::Kind::CommandDialog);
    EXPECT_EQ(d.commandType, kCmdFocus);
    EXPECT_FALSE(d.isNew);
    EXPECT_EQ(d.line, "FOCUS:メモ帳");
    d = list.RequestDirectEdit();
    EXPECT_EQ(d.kind, DialogRequest::Kind::DirectEditDialog);
    EXPECT_EQ(d.line, "FOCUS:メモ帳");

    list.Select(1);
    EXPECT_EQ(list.RequestModify().kind, DialogRequest::Kind::Nothing)
        << "a lower-case keyword has no command type";
    EXPECT_EQ(list.RequestDirectEdit().kind, DialogRequest::Kind::DirectEditDialog);
    ListResult r = list.ConfirmEdit("WAIT:100,0");
    EXPECT_EQ(list.Lines()[1], "WAIT:100,0");
    EXPECT_EQ(r.edits, (std::vector<ListEdit>{{ListEdit::Kind::Redraw, 1}}));
    EXPECT_TRUE(r.modified);

    list.Select(-1);
    EXPECT_EQ(list.RequestModify().message, "マクロデータ行が選択されていません。");
    EXPECT_EQ(list.RequestDirectEdit().message, "マクロデータ行が選択されていません。");

    // An empty list: a double-click, with Shift or without, names the missing line.
    MacroLineList empty;
    for (bool shift : {false, true}) {
        const DialogRequest d = empty.RequestDoubleClick(shift);
        EXPECT_EQ(d.kind, DialogRequest::Kind::Message) << shift;
        EXPECT_EQ(d.message, "マクロデータ行が選択されていません。") << shift;
    }
    list = ListOf({"FOCUS:メモ帳"}, 0);
    EXPECT_EQ(list.RequestDoubleClick(false).kind, DialogRequest::Kind::CommandDialog);
    EXPECT_EQ(list.RequestDoubleClick(true).kind, DialogRequest::Kind::DirectEditDialog);
}

TEST(LineList, EveryLineThatEntersStaysOneLine) {
    // A dialog's new line, a changed line, a paste, a drop and a recording: a line break
    // in any of them becomes a space, never a second line.
    MacroLineList list;
    ControlMirror control;
    control.Apply(list.ConfirmAdd(kCmdWait, "WAIT:1\r\nLAUNCH:\"notepad.exe\""), list);
    control.Apply(list.ConfirmEdit("WAIT:2\nLAUNCH:x"), list);
    control.Apply(list.InsertLineAfter(0, "WAIT:3\rLAUNCH:x"), list);
    control.Apply(list.InsertAt(0, "MOUSE:1\r\n\r\n,2"), list);
    control.Apply(list.InsertLinesAfter(2, {"FOCUS:\"!\r\nLAUNCH:\"notepad.exe\"\"", "表\n示"}),
                  list);
    const std::vector<std::string> expected{"MOUSE:1  ,2", "WAIT:2 LAUNCH:x", "WAIT:3 LAUNCH:x",
                                            "FOCUS:\"! LAUNCH:\"notepad.exe\"\"", "表 示"};
    EXPECT_EQ(list.Lines(), expected);
    EXPECT_EQ(control.items, expected) << "the control shows what is stored";
    // A file's lines are taken as read (a lone CR ends no line of a macro file).
    list.Reset({"TYPE:\"a\rb\""});
    EXPECT_EQ(list.Lines()[0], "TYPE:\"a\rb\"");
}

TEST(LineList, PasteBuffer) {
    MacroLineList list = ListOf({"A:1", "A:2", "A:3"}, 0);
    list.Copy();
    list.Select(2);
    list.Paste();
    list.Paste();
    EXPECT_EQ(list.Lines(), (Lines{"A:1", "A:2", "A:3", "A:1", "A:1"}))
        << "the buffer keeps its text";
    EXPECT_EQ(list.Selection(), 4) << "each paste goes below the one before";

    // A deleted line comes back below the new selection.
    list.Select(1);
    list.Delete();
    list.Paste();
    EXPECT_EQ(list.Lines(), (Lines{"A:1", "A:3", "A:2", "A:1", "A:1"}));

    // Nothing without a selection, and nothing from an empty buffer.
    MacroLineList empty;
    empty.Reset({});
    EXPECT_FALSE(empty.Paste().modified);
    MacroLineList fresh = ListOf({"A:1"}, 0);
    EXPECT_FALSE(fresh.Paste().modified);
    EXPECT_EQ(fresh.Count(), 1);
}

TEST(LineList, RefusedInsertionChangesNothing) {
    MacroLineList list(2);
    list.Reset({"A:1", "A:2"});
    list.Select(0);
    list.Copy();
    for (ListResult r : {list.Duplicate(), list.ConfirmAdd(kCmdWait, "WAIT:1"), list.Paste(),
                         list.InsertLineAfter(0, "x")}) {
        EXPECT_FALSE(r.modified);
        EXPECT_TRUE(r.edits.empty());
    }
    EXPECT_EQ(list.Duplicate().message, "マクロデータの追加に失敗しました。");
    EXPECT_EQ(list.Lines(), (Lines{"A:1", "A:2"}));
    EXPECT_EQ(list.Selection(), 0);
}

TEST(LineList, EnabledCommands) {
    MacroLineList list;
    ViewCommandState s = list.CommandState();
    EXPECT_TRUE(s.add);
    EXPECT_FALSE(s.duplicate || s.modify || s.remove || s.directEdit || s.moveUp || s.moveDown);

    list.Reset({"A:1"});
    s = list.CommandState();
    EXPECT_TRUE(s.duplicate && s.modify && s.remove && s.directEdit);
    EXPECT_FALSE(s.moveUp || s.moveDown) << "moving needs two lines";
    list.InsertLineAfter(0, "A:2");
    s = list.CommandState();
    EXPECT_TRUE(s.moveUp && s.moveDown) << "also on the first line (it then beeps)";
    list.Select(-1);
    EXPECT_FALSE(list.CommandState().moveUp);

    // Edit commands by focus.
    const TextFieldState field{true, false, true};
    EditCommandState e = list.EditState(EditFocus::TextField, field);
    EXPECT_TRUE(e.undo && e.paste);
    EXPECT_FALSE(e.cut || e.copy);
    e = list.EditState(EditFocus::LineList, field);
    EXPECT_FALSE(e.undo || e.cut || e.copy || e.paste);
    list.Select(0);
    list.Copy();
    list.Select(-1);
    e = list.EditState(EditFocus::LineList, field);
    EXPECT_TRUE(e.paste) << "paste is enabled by the buffer alone";
    EXPECT_FALSE(e.cut || e.copy);
    e = list.EditState(EditFocus::Elsewhere, TextFieldState{true, true, true});
    EXPECT_FALSE(e.undo || e.cut || e.copy || e.paste);
}

// What a command that changes no line reports.
ListResult SelectionOnly(const MacroLineList& list) {
    ListResult r;
    r.selection = list.Selection();
    return r;
}

TEST(LineList, RandomCommandsKeepTheControlInStep) {
    std::mt19937 rng(5);
    MacroLineList list(40);
    ControlMirror control;
    control.Apply(list.Reset({"A:0", "A:1"}), list);
    int serial = 2;
    for (int step = 0; step < 5000; ++step) {
        const int count = list.Count();
        const std::function<ListResult()> ops[] = {
            [&] {
                list.Select(static_cast<int>(rng() % static_cast<unsigned>(count + 2)) - 1);
                return SelectionOnly(list);
            },
            [&] { return list.ConfirmAdd(kCmdWait, "A:" + std::to_string(serial++)); },
            [&] { return list.Delete(); },
            [&] { return list.Move(rng() % 2 ? 1 : -1); },
            [&] { return list.Duplicate(); },
            [&] {
                list.Copy();
                return SelectionOnly(list);
            },
            [&] { return list.Paste(); },
            [&] { return list.ConfirmEdit("E:" + std::to_string(serial++)); },
            [&] {
                return list.EraseAt(static_cast<int>(rng() % static_cast<unsigned>(count + 1)));
            },
        };
        const int op = static_cast<int>(rng() % std::size(ops));
        const ListResult r = ops[op]();
        control.Apply(r, list);
        ASSERT_EQ(control.items, list.Lines()) << "step " << step << " op " << op;
        ASSERT_EQ(control.selection, list.Selection()) << "step " << step << " op " << op;
        ASSERT_LE(list.Count(), 40);
        ASSERT_GE(list.Selection(), -1);
        ASSERT_LT(list.Selection(), list.Count());
        ASSERT_EQ(r.modified, !r.edits.empty()) << "step " << step << " op " << op;
    }
}

}  // namespace
}  // namespace zv
