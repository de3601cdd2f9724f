#include <gtest/gtest.h>

#include "common/mouseactions.h"
#include "common/winconst.h"
#include "editor/mouse_dialog.h"

namespace zv {
namespace {

struct Expected {
    int x, y, button;
    bool local;
};

void ExpectFields(const MouseFields& f, Expected e, const std::string& line) {
    EXPECT_EQ(f.x, e.x) << line;
    EXPECT_EQ(f.y, e.y) << line;
    EXPECT_EQ(f.button, e.button) << line;
    EXPECT_EQ(f.local, e.local) << line;
}

TEST(MouseDialog, ReadWriteAndDescribe) {
    MouseLineParse p = ParseMouseLine("MOUSE:100,200");
    ASSERT_TRUE(p.ok);
    ExpectFields(p.fields, {100, 200, 0, false}, "MOUSE:100,200");
    EXPECT_EQ(DescribeMouseLine("MOUSE:100,200").text, "Screen:X=100 Y=200  ﾎﾞﾀﾝ:操作なし");

    for (const char* line : {"MOUSE:-5,7,LOCAL,DD", "MOUSE:-5,7,dd,local"}) {
        p = ParseMouseLine(line);
        ASSERT_TRUE(p.ok) << line;
        ExpectFields(p.fields, {-5, 7, 10, true}, line);
        EXPECT_EQ(ComposeMouseLine(p.fields), "MOUSE:-5,7,DD,LOCAL");
        EXPECT_EQ(DescribeMouseLine(line).text, "Local:X=-5 Y=7  ﾎﾞﾀﾝ:ﾄﾞﾗｯｸﾞ＆ﾄﾞﾛｯﾌﾟ");
    }
    EXPECT_EQ(DescribeMouseLine("MOUSE:0,0,W-").text, "Screen:X=0 Y=0  ﾎﾞﾀﾝ:ｳｨｰﾙ前");
}

TEST(MouseDialog, EveryButtonTravelsThroughTheLine) {
    ASSERT_EQ(kMouseButtonChoices.size(), MouseActionTable.size() + 1);
    for (int button = 0; button < static_cast<int>(kMouseButtonChoices.size()); ++button) {
        const MouseFields f{-3200, 3200, button, button % 2 == 0};
        const std::string line = ComposeMouseLine(f);
        const MouseLineParse p = ParseMouseLine(line);
        ASSERT_TRUE(p.ok) << line;
        ExpectFields(p.fields, {f.x, f.y, button, f.local}, line);
        const std::string word = std::string(kMouseButtonChoices[button].description);
        EXPECT_NE(DescribeMouseLine(line).text.find("ﾎﾞﾀﾝ:" + word), std::string::npos) << line;
    }
    EXPECT_EQ(ComposeMouseLine({1, 2, 1, false}), "MOUSE:1,2,L");
    EXPECT_EQ(ComposeMouseLine({1, 2, 9, false}), "MOUSE:1,2,W+");
    EXPECT_EQ(ButtonIndexOfAction(-1), 0);
    EXPECT_EQ(ActionOfButtonIndex(1), kMouseActionLeft);
}

TEST(MouseDialog, FailuresKeepWhatCameBefore) {
    const std::pair<const char*, Expected> cases[] = {
        {"MOUSE:-,5", {-1, -1, 0, false}},
        {"MOUSE:5-,5", {-1, -1, 0, false}},
        {"MOUSE:5,-", {5, -1, 0, false}},
        {"MOUSE:100", {100, -1, 0, false}},
        {"MOUSE:,100", {-1, -1, 0, false}},
        {"MOUSE:", {-1, -1, 0, false}},
        {"MOUSE:100,200,", {100, 200, 0, false}},
        // The engine reads on after an unknown word; the dialog does not.
        {"MOUSE:1,2,Q,LOCAL", {1, 2, 0, false}},
        {"MOUSE:1,2,Q,L", {1, 2, 0, false}},
        {"MOUSE:1,2,LOCAL,Q", {1, 2, 0, true}},
        {"MOUSE:1,2,L,LOCAL,X", {1, 2, 1, true}},
    };
    for (const auto& [line, expected] : cases) {
        const MouseLineParse p = ParseMouseLine(line);
        EXPECT_FALSE(p.ok) << line;
        ExpectFields(p.fields, expected, line);
        ExpectFields(OpenMouseDialog(line), expected, line);
        EXPECT_EQ(DescribeMouseLine(line).text, line);
        EXPECT_FALSE(DescribeMouseLine(line).valid);
    }
    // No line: the defaults of a new line.
    EXPECT_FALSE(ParseMouseLine("").ok);
    ExpectFields(OpenMouseDialog(""), {0, 0, 0, false}, "");
}

TEST(MouseDialog, OkChecksXThenY) {
    using Ok = DialogOk<MouseField>;
    Ok ok = ConfirmMouseDialog({"4000", "0", 0, false});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "-3200 から 3200 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, MouseField::X);
    EXPECT_EQ(ConfirmMouseDialog({"0", "-3201", 0, false}).focus, MouseField::Y);
    EXPECT_EQ(ConfirmMouseDialog({"0", "-", 0, false}).kind, Ok::Kind::Message);

    ok = ConfirmMouseDialog({"-3200", "15", 4, true});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "MOUSE:-3200,15,LW,LOCAL");
    // No list selection writes no action word.
    EXPECT_EQ(ConfirmMouseDialog({"1", "2", -1, false}).line, "MOUSE:1,2");
    EXPECT_EQ(ConfirmMouseDialog({"1", "2", 11, false}).line, "MOUSE:1,2");
}

TEST(MouseTracker, DialogJumpsToTheFarCorner) {
    const ScreenRect desktop{0, 0, 1280, 800};
    // Upper left: to the lower right region.
    const ScreenRect dialog{100, 100, 500, 300};
    auto to = DialogOutOfTheWay({200, 200}, dialog, desktop);
    ASSERT_TRUE(to);
    EXPECT_EQ(to->x, 1280 - 400 - 40);
    EXPECT_EQ(to->y, 800 - 200 - 40);

    // Lower right: to the upper left, 40 pixels from the edges.
    to = DialogOutOfTheWay({1000, 700}, {900, 600, 1200, 780}, desktop);
    ASSERT_TRUE(to);
    EXPECT_EQ(to->x, 40);
    EXPECT_EQ(to->y, 40);

    // Exactly at the middle counts as the left and upper half.
    to = DialogOutOfTheWay({640, 400}, {600, 350, 700, 450}, desktop);
    ASSERT_TRUE(to);
    EXPECT_EQ(to->x, 1280 - 100 - 40);
    EXPECT_EQ(to->y, 800 - 100 - 40);

    // Outside the dialog (its right and bottom edges are outside): nothing moves.
    EXPECT_FALSE(DialogOutOfTheWay({500, 200}, dialog, desktop));
    EXPECT_FALSE(DialogOutOfTheWay({200, 300}, dialog, desktop));
    EXPECT_FALSE(DialogOutOfTheWay({99, 200}, dialog, desktop));
}

TEST(MouseTracker, WindowToMeasureAgainst) {
    const std::uint32_t child = 0x50000000;  // WS_CHILD | WS_VISIBLE
    const std::uint32_t captioned = 0x00CF0000;
    EXPECT_FALSE(MeasuredWindow({}));
    EXPECT_EQ(MeasuredWindow({{child, false}}), 0u);     // no parent: itself
    EXPECT_EQ(MeasuredWindow({{captioned, true}}), 0u);  // a captioned child: itself
    EXPECT_EQ(MeasuredWindow({{child, true}, {child, true}, {captioned, true}, {0, false}}), 2u);
    // One title-bar bit is not enough: up to the top-level window.
    EXPECT_EQ(MeasuredWindow({{child | kWsBorder, true}, {child | kWsDlgFrame, true}, {0, false}}),
              2u);
}

TEST(MouseTracker, FrameInsideTheWindow) {
    const auto outline = TrackerFrameOutline({10, 20, 110, 220});
    const ScreenPoint expected[] = {{12, 22}, {107, 22}, {107, 217}, {12, 217}, {12, 22}};
    for (std::size_t i = 0; i < outline.size(); ++i) {
        EXPECT_EQ(outline[i].x, expected[i].x) << i;
        EXPECT_EQ(outline[i].y, expected[i].y) << i;
    }
}

}  // namespace
}  // namespace zv
