#include <gtest/gtest.h>

#include "editor/dragdrop.h"

namespace zv {
namespace {

using Lines = std::vector<std::string>;

constexpr std::uint32_t kNoKeys = 0;
constexpr std::uint32_t kCtrl = kKeyStateControl;

MacroLineList NumberedList(int n) {
    MacroLineList list;
    Lines lines;
    for (int i = 1; i <= n; ++i)
        lines.push_back("WAIT:" + std::to_string(i));
    list.Reset(lines);
    return list;
}

DropPoint On(int item) {
    return {item, true};
}

TEST(DragPayload, ComposeAndParse) {
    EXPECT_EQ(ComposeDragText("TYPE:表"), "<RK_MACRO_D&D>TYPE:表");
    EXPECT_EQ(ParseDragText("<RK_MACRO_D&D>TYPE:表"), "TYPE:表");
    EXPECT_EQ(ParseDragText(ComposeDragText("wait:1")), "wait:1");
    EXPECT_EQ(ParseDragText("<rk_macro_d&d>WAIT:1"), std::nullopt) << "exact case only";
    EXPECT_EQ(ParseDragText(" <RK_MACRO_D&D>WAIT:1"), std::nullopt) << "at byte 0 only";
    EXPECT_EQ(ParseDragText("WAIT:1"), std::nullopt);
    EXPECT_EQ(ParseDragText("<RK_MACRO_D&D>"), std::nullopt) << "an empty line is ignored";
    EXPECT_EQ(ParseDragText("<RK_MACRO_D&D"), std::nullopt);
    // Text of another program may carry line breaks: only the first line is the line.
    EXPECT_EQ(ParseDragText("<RK_MACRO_D&D>WAIT:1\r\nLAUNCH:x"), "WAIT:1");
    EXPECT_EQ(ParseDragText("<RK_MACRO_D&D>WAIT:1\nx"), "WAIT:1");
    EXPECT_EQ(ParseDragText(std::string_view("<RK_MACRO_D&D>WAIT:1\0junk", 25)), "WAIT:1");
    EXPECT_EQ(ParseDragText("<RK_MACRO_D&D>\r\nWAIT:1"), std::nullopt);
}

TEST(DragGeometry, EffectNearestItemAndScrollZones) {
    EXPECT_EQ(DropEffectForKeys(kNoKeys), kDropEffectMove);
    EXPECT_EQ(DropEffectForKeys(kCtrl | 0x0001), kDropEffectCopy);
    EXPECT_EQ(DropEffectForKeys(0x0004), kDropEffectMove) << "Shift alone moves";

    EXPECT_EQ(NearestItem({5, 0}, 0, 5, kLineItemHeight), 0);
    EXPECT_EQ(NearestItem({5, 40}, 0, 5, kLineItemHeight), 0);
    EXPECT_EQ(NearestItem({5, 41}, 0, 5, kLineItemHeight), 1);
    EXPECT_EQ(NearestItem({5, 41}, 3, 5, kLineItemHeight), 4);
    EXPECT_EQ(NearestItem({5, 500}, 0, 5, kLineItemHeight), 4)
        << "below the last line: the last line";
    EXPECT_EQ(NearestItem({5, -20}, 2, 5, kLineItemHeight), 2) << "above: the top item";
    EXPECT_EQ(NearestItem({5, 10}, 0, 0, kLineItemHeight), -1);

    const Rect client{0, 0, 200, 300};
    EXPECT_FALSE(Contains(client, {200, 10})) << "right edge is outside";
    EXPECT_TRUE(Contains(client, {199, 299}));
    EXPECT_EQ(DragScrollDirection({100, 10}, client), ScrollDirection::LineUp);
    EXPECT_EQ(DragScrollDirection({100, 11}, client), ScrollDirection::None);
    EXPECT_EQ(DragScrollDirection({100, 288}, client), ScrollDirection::None);
    EXPECT_EQ(DragScrollDirection({100, 289}, client), ScrollDirection::LineDown);
    EXPECT_EQ(DragScrollDirection({5, 150}, client), ScrollDirection::None)
        << "the side margins do not scroll";
    EXPECT_EQ(DragScrollDirection({100, -1}, client), ScrollDirection::None)
        << "outside the client area";
    EXPECT_EQ(DragScrollDirection({100, 300}, client), ScrollDirection::None);
}

TEST(DragGeometry, ScrollActsOncePerSecondFromTheFirstCall) {
    const Rect client{0, 0, 200, 300};
    DragScrollTimer timer;
    DragScrollTimer::Answer a = timer.Step(5000, {100, 5}, client, kNoKeys);
    EXPECT_FALSE(a.acted) << "the first call sets the stamp";
    EXPECT_FALSE(timer.Step(5999, {100, 5}, client, kNoKeys).acted);
    a = timer.Step(6000, {100, 5}, client, kCtrl);
    EXPECT_TRUE(a.acted);
    EXPECT_EQ(a.scroll, ScrollDirection::LineUp);
    EXPECT_EQ(a.effect, kDropEffectCopy | kDropEffectScroll);
    EXPECT_FALSE(timer.Step(6500, {100, 295}, client, kNoKeys).acted);
    a = timer.Step(7000, {100, 150}, client, kNoKeys);
    EXPECT_TRUE(a.acted) << "acts (and skips drag over) even where it does not scroll";
    EXPECT_EQ(a.scroll, ScrollDirection::None);
    EXPECT_EQ(a.effect, kDropEffectMove | kDropEffectScroll);

    // The tick counter wraps after 49.7 days.
    DragScrollTimer wrapping;
    wrapping.Step(0xFFFFFF00u, {100, 295}, client, kNoKeys);
    EXPECT_FALSE(wrapping.Step(0xFFFFFF10u, {100, 295}, client, kNoKeys).acted);
    EXPECT_FALSE(wrapping.Step(0x00000010u, {100, 295}, client, kNoKeys).acted);
    a = wrapping.Step(0x00000300u, {100, 295}, client, kNoKeys);
    EXPECT_TRUE(a.acted);
    EXPECT_EQ(a.scroll, ScrollDirection::LineDown);
}

// Dragging inside one list: the source and the target are the same list.
struct InListDrag {
    MacroLineList list;
    LineDragDrop dd{list};

    explicit InListDrag(int n) : list(NumberedList(n)) {}

    // Drags line `from` (0-based) and drops it on item `onto`; returns the drag loop's
    // effect and the source's outcome.
    ListResult Drag(int from, DropPoint onto, std::uint32_t keys) {
        list.Select(from);
        const std::optional<std::string> data = dd.BeginDrag();
        EXPECT_TRUE(data.has_value());
        dd.DragOver(onto, keys);
        const DropTargetResult dropped = dd.Drop(onto, *data, keys);
        EXPECT_TRUE(dropped.bringToFront);
        effect = dropped.effect;
        return dd.EndDrag(effect);
    }
    std::uint32_t effect = kDropEffectNone;
};

TEST(DragDrop, MovingAndCopyingInsideOneList) {
    InListDrag d(5);
    ListResult r = d.Drag(1, On(3), kNoKeys);
    EXPECT_EQ(d.list.Lines(), (Lines{"WAIT:1", "WAIT:3", "WAIT:2", "WAIT:4", "WAIT:5"}))
        << "line 2 dropped onto line 4 ends up as line 3";
    EXPECT_EQ(d.list.Selection(), 2) << "the moved line stays selected";
    EXPECT_TRUE(r.modified);
    EXPECT_EQ(d.dd.SourceIndex(), -1);
    EXPECT_EQ(d.dd.DropIndex(), -1);

    InListDrag up(5);
    up.Drag(3, On(1), kNoKeys);
    EXPECT_EQ(up.list.Lines(), (Lines{"WAIT:1", "WAIT:4", "WAIT:2", "WAIT:3", "WAIT:5"}));
    EXPECT_EQ(up.list.Selection(), 1);
    EXPECT_EQ(up.list.PasteBuffer(), "WAIT:4") << "the source's deletion fills the buffer";

    // Below the last line the nearest item is the last one: inserted before it.
    InListDrag below(3);
    below.Drag(0, {NearestItem({10, 500}, 0, 3, kLineItemHeight), true}, kNoKeys);
    EXPECT_EQ(below.list.Lines(), (Lines{"WAIT:2", "WAIT:1", "WAIT:3"}));

    // A copy, and a drop onto the dragged line itself.
    InListDrag copy(3);
    r = copy.Drag(0, On(2), kCtrl);
    EXPECT_EQ(copy.effect, kDropEffectCopy);
    EXPECT_EQ(copy.list.Lines(), (Lines{"WAIT:1", "WAIT:2", "WAIT:1", "WAIT:3"}));
    EXPECT_FALSE(r.modified) << "the target's insertion was the modification";

    InListDrag self(3);
    r = self.Drag(1, On(1), kNoKeys);
    EXPECT_EQ(self.list.Lines(), (Lines{"WAIT:1", "WAIT:2", "WAIT:3"}));
    EXPECT_FALSE(r.modified);
    EXPECT_TRUE(r.edits.empty());

    // A drop outside the client area keeps the selection: still the source line.
    InListDrag outside(3);
    outside.Drag(2, {0, false}, kNoKeys);
    EXPECT_EQ(outside.list.Lines(), (Lines{"WAIT:1", "WAIT:2", "WAIT:3"}));
}

TEST(DragDrop, BetweenTwoWindows) {
    MacroLineList source = NumberedList(3);
    MacroLineList target = NumberedList(2);
    LineDragDrop from(source);
    LineDragDrop to(target);

    source.Select(2);
    const std::optional<std::string> data = from.BeginDrag();
    ASSERT_EQ(data, "<RK_MACRO_D&D>WAIT:3");
    EXPECT_EQ(from.SourceIndex(), 2);
    EXPECT_EQ(from.DropIndex(), -1);
    const DropTargetResult dropped = to.Drop(On(1), *data, kNoKeys);
    EXPECT_EQ(target.Lines(), (Lines{"WAIT:1", "WAIT:3", "WAIT:2"}));
    EXPECT_EQ(dropped.list.edits, (std::vector<ListEdit>{{ListEdit::Kind::Insert, 1}}));
    EXPECT_TRUE(dropped.list.modified);
    EXPECT_EQ(dropped.effect, kDropEffectMove);
    EXPECT_EQ(to.DropIndex(), -1) << "no drag of the target's own is in progress";

    const ListResult r = from.EndDrag(dropped.effect);
    EXPECT_EQ(source.Lines(), (Lines{"WAIT:1", "WAIT:2"}));
    EXPECT_EQ(r.selection, 1) << "the last line went: the one before it";
    EXPECT_TRUE(r.modified);

    // Copy leaves the source alone; a drop into an empty list appends.
    MacroLineList empty;
    LineDragDrop into(empty);
    source.Select(0);
    const std::optional<std::string> copyData = from.BeginDrag();
    const DropTargetResult copied = into.Drop({-1, true}, *copyData, kCtrl);
    EXPECT_EQ(empty.Lines(), Lines{"WAIT:1"});
    EXPECT_EQ(copied.effect, kDropEffectCopy);
    EXPECT_FALSE(from.EndDrag(copied.effect).modified);
    EXPECT_EQ(source.Count(), 2);

    // A cancelled drag changes nothing.
    source.Select(1);
    from.BeginDrag();
    EXPECT_FALSE(from.EndDrag(kDropEffectNone).modified);
    EXPECT_EQ(source.Count(), 2);

    // A moving drag into another program (no drop in this list) deletes the source line.
    source.Select(0);
    from.BeginDrag();
    from.EndDrag(kDropEffectMove);
    EXPECT_EQ(source.Lines(), Lines{"WAIT:2"});
    EXPECT_EQ(source.Selection(), 0);
}

TEST(DragDrop, ForeignTextInsertsNothingAndIsNotMovedAway) {
    MacroLineList list = NumberedList(2);
    LineDragDrop dd(list);
    using Text = std::optional<std::string_view>;
    for (Text text :
         {Text("plain text"), Text("<rk_macro_d&d>WAIT:1"), Text("<RK_MACRO_D&D>"), Text()}) {
        const DropTargetResult r = dd.Drop(On(1), text, kNoKeys);
        EXPECT_EQ(r.effect, kDropEffectNone) << "a moving source must keep its text";
        EXPECT_FALSE(r.list.modified);
        EXPECT_TRUE(r.bringToFront);
        EXPECT_EQ(list.Count(), 2);
        EXPECT_EQ(list.Selection(), 1) << "the drop still selects the nearest line";
    }

    // A refused insertion into a full list reports its message and keeps the source.
    MacroLineList full(2);
    full.Reset({"A:1", "A:2"});
    LineDragDrop fullDd(full);
    const DropTargetResult refused = fullDd.Drop(On(0), "<RK_MACRO_D&D>WAIT:9", kNoKeys);
    EXPECT_EQ(refused.effect, kDropEffectNone);
    EXPECT_EQ(refused.list.message, "マクロデータの追加に失敗しました。");
    EXPECT_EQ(full.Count(), 2);
}

TEST(DragDrop, DragOverSelectsInsideTheClientAreaOnly) {
    MacroLineList list = NumberedList(4);
    LineDragDrop dd(list);
    list.Select(0);
    DropTargetResult r = dd.DragOver({2, false}, kNoKeys);
    EXPECT_EQ(list.Selection(), 0);
    EXPECT_EQ(r.effect, kDropEffectMove);
    r = dd.DragOver(On(2), kCtrl);
    EXPECT_EQ(list.Selection(), 2);
    EXPECT_EQ(r.list.selection, 2);
    EXPECT_EQ(r.effect, kDropEffectCopy);
    EXPECT_FALSE(dd.BeginDrag() == std::nullopt);
    list.Select(-1);
    LineDragDrop none(list);
    EXPECT_EQ(none.BeginDrag(), std::nullopt) << "no selected line, no drag";
    EXPECT_EQ(none.SourceIndex(), -1);
}

}  // namespace
}  // namespace zv
