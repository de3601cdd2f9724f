#include <gtest/gtest.h>

#include "common/winconst.h"
#include "editor/mouse_dialog.h"

namespace zv {
namespace {

TEST(MouseDialog, ParseOpenAndWriteBack) {
    EXPECT_EQ(DescribeMouseLine("MOUSE:100,200").text, "Screen:X=100 Y=200  ﾎﾞﾀﾝ:操作なし");
    for (const char* line : {"MOUSE:-5,7,LOCAL,DD", "MOUSE:-5,7,dd,local"}) {
        EXPECT_EQ(ComposeMouseLine(OpenMouseDialog(line)), "MOUSE:-5,7,DD,LOCAL");
        EXPECT_EQ(DescribeMouseLine(line).text, "Local:X=-5 Y=7  ﾎﾞﾀﾝ:ﾄﾞﾗｯｸﾞ＆ﾄﾞﾛｯﾌﾟ");
    }
    EXPECT_EQ(ComposeMouseLine({1, 2, 9, false}), "MOUSE:1,2,W+");  // list index 9: token 8

    // Failures keep what came before them, from -1, -1; no line gives the defaults.
    const std::pair<const char*, MouseFields> failures[] = {
        {"MOUSE:-,5", {-1, -1, 0, false}},
        {"MOUSE:5,-", {5, -1, 0, false}},
        {"MOUSE:,100", {-1, -1, 0, false}},
        {"MOUSE:100,200,", {100, 200, 0, false}},
        // The engine reads on after an unknown word; the dialog does not.
        {"MOUSE:1,2,Q,LOCAL", {1, 2, 0, false}},
        {"MOUSE:1,2,LOCAL,Q", {1, 2, 0, true}},
        {"MOUSE:1,2,L,LOCAL,X", {1, 2, 1, true}},
        {"", {0, 0, 0, false}},
    };
    for (const auto& [line, fields] : failures) {
        EXPECT_FALSE(ParseMouseLine(line).ok) << line;
        EXPECT_EQ(OpenMouseDialog(line), fields) << line;
    }
}

TEST(MouseDialog, OkChecksXThenY) {
    using Ok = DialogOk<MouseField>;
    const Ok ok = ConfirmMouseDialog({"4000", "0", 0, false});
    EXPECT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "-3200 から 3200 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, MouseField::X);
    EXPECT_EQ(ConfirmMouseDialog({"0", "-3201", 0, false}).focus, MouseField::Y);
    EXPECT_EQ(ConfirmMouseDialog({"-3200", "15", 4, true}).line, "MOUSE:-3200,15,LW,LOCAL");
    EXPECT_EQ(ConfirmMouseDialog({"1", "2", -1, false}).line, "MOUSE:1,2");  // no selection
    EXPECT_EQ(ConfirmMouseDialog({"1", "2", 11, false}).line, "MOUSE:1,2");
}

TEST(MouseTracker, DialogJumpsToTheFarCorner) {
    const ScreenRect desktop{0, 0, 1280, 800};
    const ScreenRect dialog{100, 100, 500, 300};
    const auto expectMove = [&](ScreenPoint at, ScreenRect dlg, int x, int y) {
        const auto to = DialogOutOfTheWay(at, dlg, desktop, 96);
        ASSERT_TRUE(to) << at.x << "," << at.y;
        EXPECT_EQ(to->x, x);
        EXPECT_EQ(to->y, y);
    };
    expectMove({200, 200}, dialog, 1280 - 400 - 40, 800 - 200 - 40);
    expectMove({1000, 700}, {900, 600, 1200, 780}, 40, 40);
    // Exactly at the middle is not past it.
    expectMove({640, 400}, {600, 350, 700, 450}, 1280 - 100 - 40, 800 - 100 - 40);
    // Right and bottom edges lie outside the dialog: nothing moves.
    EXPECT_FALSE(DialogOutOfTheWay({500, 200}, dialog, desktop, 96));
    EXPECT_FALSE(DialogOutOfTheWay({200, 300}, dialog, desktop, 96));
}

TEST(MouseTracker, WindowToMeasureAgainstAndItsFrame) {
    const std::uint32_t child = 0x50000000;
    const std::uint32_t captioned = 0x00CF0000;
    EXPECT_FALSE(MeasuredWindow({}));
    EXPECT_EQ(MeasuredWindow({{captioned, true}}), 0u);  // a captioned child: itself
    EXPECT_EQ(MeasuredWindow({{child, true}, {child, true}, {captioned, true}, {0, false}}), 2u);
    // One title-bar bit is not enough: up to the top-level window.
    EXPECT_EQ(MeasuredWindow({{child | kWsBorder, true}, {kWsDlgFrame, true}, {0, false}}), 2u);

    const auto outline = TrackerFrameOutline({10, 20, 110, 220}, 96);
    EXPECT_EQ((std::pair{outline[0].x, outline[0].y}), (std::pair{12, 22}));
    EXPECT_EQ((std::pair{outline[2].x, outline[2].y}), (std::pair{107, 217}));
}

}  // namespace
}  // namespace zv
