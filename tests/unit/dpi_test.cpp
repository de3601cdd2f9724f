// Figures at any display scale: the scaling and its rounding, the rectangle arithmetic,
// the image sets, the list item's geometry, the remembered window height in 96-DPI units
// and the places and frames that follow a window's DPI.
#include <gtest/gtest.h>

#include "common/dpi.h"
#include "editor/editor_settings.h"
#include "editor/line_item_layout.h"
#include "editor/mouse_dialog.h"
#include "fake_filesystem.h"
#include "launcher/launcher_shell.h"

namespace zv {
namespace {

TEST(DpiScale, RoundsHalfAwayFromZeroLikeMulDiv) {
    EXPECT_EQ(ScaleForDpi(41, 144), 62) << "61.5 rounds up";
    EXPECT_EQ(ScaleForDpi(1, 144), 2);
    EXPECT_EQ(ScaleForDpi(-5, 144), -8) << "-7.5 rounds away from zero";
    EXPECT_EQ(ScaleForDpi(-3, 120), -4) << "-3.75";
    EXPECT_EQ(ScaleForDpi(41, 0), 41) << "an unknown DPI is 96";
    EXPECT_EQ(ScaleForDpi(41, -144), 41);
    EXPECT_EQ(ScaleForDpi(1000000000, 192), 2000000000) << "no overflow on the way";

    EXPECT_EQ(UnscaleForDpi(700, 144), 467) << "466.67";
    EXPECT_EQ(UnscaleForDpi(-8, 144), -5) << "-5.33";
    EXPECT_EQ(UnscaleForDpi(500, 0), 500);
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        for (int v = -300; v <= 3000; ++v) {
            ASSERT_EQ(UnscaleForDpi(ScaleForDpi(v, dpi), dpi), v) << v << " at " << dpi;
        }
    }

    EXPECT_EQ(RescaleForDpi(62, 144, 192), 83) << "82.67";
    EXPECT_EQ(RescaleForDpi(83, 192, 144), 62) << "62.25";
    EXPECT_EQ(RescaleForDpi(30, 192, 96), 15);
    EXPECT_EQ(RescaleForDpi(30, 0, 192), 60);
}

TEST(DpiScale, RectanglesKeepTheirEdgesTogether) {
    // Each edge on its own: neighbours that touched still touch (scaling the width would
    // leave the first ending at 13 and the second starting at 12).
    const Rect a{3, 0, 8, 10};
    const Rect b{8, 0, 13, 10};
    const Rect a2 = RescaleRect(a, 96, 144);
    const Rect b2 = RescaleRect(b, 96, 144);
    EXPECT_EQ(a2, (Rect{5, 0, 12, 15}));
    EXPECT_EQ(b2, (Rect{12, 0, 20, 15}));
    EXPECT_EQ(a2.right, b2.left);
    EXPECT_EQ(RescaleRect({-10, -4, 30, 6}, 192, 96), (Rect{-5, -2, 15, 3}));

    EXPECT_EQ(InflatedRect({10, 10, 50, 40}, -4, -4), (Rect{14, 14, 46, 36}));
    EXPECT_EQ(InflatedRect({10, 10, 50, 40}, 2, 1), (Rect{8, 9, 52, 41}));
    EXPECT_EQ(CentredRect({0, 0, 25, 22}, 20, 18), (Rect{2, 2, 22, 20}));
    EXPECT_EQ(CentredRect({100, 50, 130, 77}, 30, 27), (Rect{100, 50, 130, 77}));
    EXPECT_EQ(CentredRect({0, 0, 20, 18}, 30, 27), (Rect{-5, -4, 25, 23})) << "larger: overhangs";
    EXPECT_EQ(Width(Rect{3, 4, 10, 20}), 7);
    EXPECT_EQ(Height(Rect{3, 4, 10, 20}), 16);

    EXPECT_TRUE(Intersects({0, 0, 10, 10}, {9, 9, 20, 20}));
    EXPECT_FALSE(Intersects({0, 0, 10, 10}, {10, 0, 20, 10})) << "touching is not covering";
    EXPECT_FALSE(Intersects({0, 0, 10, 10}, {0, 10, 10, 20}));
    EXPECT_FALSE(Intersects({5, 5, 5, 9}, {0, 0, 10, 10})) << "an empty rectangle covers nothing";
    EXPECT_TRUE(ContainsRect({0, 0, 10, 10}, {0, 0, 10, 10}));
    EXPECT_FALSE(ContainsRect({0, 0, 10, 10}, {1, 1, 11, 9}));
    EXPECT_FALSE(ContainsRect({0, 0, 10, 10}, {-1, 1, 9, 9}));
}

TEST(DpiScale, DialogUnitsKeepTheirProportionsOf96Dpi) {
    // A font 7 pixels wide at 96 DPI gives units of 10 at 144, not 10.5: the dialog grows
    // by 10.5 / 10.
    const Ratio x = DialogUnitCorrection(7, 10, 144);
    EXPECT_EQ(x.num * 10, x.den * 10.5) << x.num << "/" << x.den;
    EXPECT_EQ(StretchRect({0, 0, 406, 26}, x, {}), (Rect{0, 0, 426, 26}));
    EXPECT_EQ(StretchRect({175, 40, 575, 70}, x, {}), (Rect{184, 40, 604, 70}));
    // Units that already match the scale, or are wider: nothing changes, nothing shrinks.
    EXPECT_EQ(DialogUnitCorrection(7, 14, 192), Ratio{});
    EXPECT_EQ(DialogUnitCorrection(7, 9, 120), Ratio{}) << "8.75 rounded up to 9";
    EXPECT_EQ(DialogUnitCorrection(17, 26, 144), Ratio{});
    EXPECT_EQ(DialogUnitCorrection(7, 7, 96), Ratio{});
    EXPECT_EQ(DialogUnitCorrection(0, 10, 144), Ratio{}) << "no measurement: left alone";
    EXPECT_EQ(DialogUnitCorrection(7, 0, 144), Ratio{});
    const Ratio y = DialogUnitCorrection(16, 23, 144);  // 24 wanted
    EXPECT_EQ(StretchRect({10, 23, 20, 46}, {}, y), (Rect{10, 24, 20, 48}));
    EXPECT_EQ(StretchRect({10, 23, 20, 46}, {3, 0}, y), (Rect{10, 24, 20, 48}))
        << "a ratio without a denominator changes nothing";
}

TEST(DpiScale, LayoutsFollowTheFontWhereItGrowsMoreThanTheDpi) {
    // A line 17 pixels high at 96 DPI is 26 at 144, not 25.5: a label one line high must
    // grow by 26/17, or its text is cut by a pixel.
    const Ratio y = TextScale(96, 17, 144, 26);
    EXPECT_EQ(y, (Ratio{26, 17}));
    EXPECT_EQ(Stretch(17, y), 26);
    EXPECT_EQ(Stretch(133, y), 203) << "203.4";
    // Where the font grew less than the DPI, the DPI.
    EXPECT_EQ(TextScale(96, 365, 144, 544), (Ratio{3, 2}));
    EXPECT_EQ(TextScale(96, 17, 192, 35), (Ratio{35, 17}));
    EXPECT_EQ(TextScale(144, 26, 96, 17), (Ratio{2, 3})) << "down to 96 DPI: 17/26 is less";
    EXPECT_EQ(TextScale(96, 0, 144, 26), (Ratio{3, 2})) << "nothing measured: the DPI";
    EXPECT_EQ(TextScale(96, 17, 96, 17), Ratio{});

    // From one scale to another and back lands where it started.
    const Ratio at144 = TextScale(96, 17, 144, 26);
    const Ratio at192 = TextScale(96, 17, 192, 35);
    const Ratio up = ScaleBetween(Ratio{}, at144);
    const Ratio across = ScaleBetween(at144, at192);
    const Ratio back = ScaleBetween(at192, Ratio{});
    EXPECT_EQ(across, (Ratio{35, 26}));
    for (int v : {0, 17, 133, 241, 380}) {
        const int there = Stretch(Stretch(v, up), across);
        EXPECT_NEAR(there, Stretch(v, at192), 1) << v << ": two roundings, one pixel at most";
        EXPECT_NEAR(Stretch(there, back), v, 1) << v;
    }
    EXPECT_EQ(ScaleBetween(Ratio{0, 1}, at144), Ratio{}) << "from nothing: no step";
}

TEST(DpiScale, FontsAndImageSets) {
    EXPECT_EQ(FontHeightForDpi(9, 96), -12);
    EXPECT_EQ(FontHeightForDpi(12, 192), -32);
    EXPECT_EQ(FontHeightForDpi(9, 0), -12);

    const std::pair<int, int> sets[] = {{96, 100},  {110, 100}, {120, 100}, {121, 150},
                                        {144, 150}, {168, 150}, {169, 200}, {192, 200},
                                        {288, 200}, {72, 100},  {0, 100}};
    for (const auto& [dpi, percent] : sets)
        EXPECT_EQ(ImageScalePercent(dpi), percent) << dpi;
    EXPECT_EQ(ImageSizeForScale(15, 150), 23) << "22.5 as drawn";
    EXPECT_EQ(ImageSizeForScale(79, 150), 119);
    EXPECT_EQ(ImageSizeForScale(13, 150), 20);
    EXPECT_EQ(ImageSizeForScale(32, 100), 32);
}

TEST(DpiLineItem, ScaledFiguresAndRoomForTwoTextLines) {
    // 96 DPI with a 12-pixel font: the figures as they are.
    EXPECT_EQ(LineItemLayoutForDpi(96, 12, 32), (LineItemLayout{41, 4, 40, 2, 16, 1, 32, 11}));
    EXPECT_EQ(LineItemLayoutForDpi(144, 18, 48), (LineItemLayout{62, 6, 60, 3, 24, 2, 48, 17}));
    EXPECT_EQ(LineItemLayoutForDpi(192, 24, 64), (LineItemLayout{82, 8, 80, 4, 32, 2, 64, 22}));
    for (int dpi : {96, 120, 144, 168, 192, 240}) {
        const int text = -FontHeightForDpi(9, dpi);
        const int icon = ImageSizeForScale(32, ImageScalePercent(dpi));
        const LineItemLayout l = LineItemLayoutForDpi(dpi, text, icon);
        EXPECT_GE(l.itemHeight, ScaleForDpi(41, dpi)) << dpi;
        // Both lines and the icon inside the inner rectangle.
        EXPECT_LE(l.inset + l.textTop + l.lineStep + text, l.itemHeight - l.inset) << dpi;
        EXPECT_LE(l.inset + icon, l.itemHeight - l.inset) << dpi;
        EXPECT_GE(l.textLeft, icon) << dpi;
        // The run mark on the icon's corner, inside the item, clear of the text.
        const Rect m = RunMarkRect({0, 0, 300, l.itemHeight}, l);
        EXPECT_EQ(m.right - m.left, ScaleForDpi(11, dpi)) << dpi;
        EXPECT_LE(m.bottom, l.itemHeight - l.inset) << dpi;
        EXPECT_LE(m.right, l.inset + l.textLeft) << dpi;
    }
    // A font taller than the scaled figures allow: the second line moves down and the
    // item grows, so the two lines neither overlap nor get cut.
    const LineItemLayout tall = LineItemLayoutForDpi(96, 20, 32);
    EXPECT_EQ(tall.lineStep, 20);
    EXPECT_EQ(tall.itemHeight, 4 + 2 + 20 + 20 + 4);
    // An icon larger than the figures: the text starts right of it.
    const LineItemLayout wide = LineItemLayoutForDpi(96, 12, 48);
    EXPECT_EQ(wide.textLeft, 56);
    EXPECT_EQ(wide.itemHeight, 56);

    EXPECT_EQ(SelectionFrame({0, 41, 300, 82}, LineItemLayoutForDpi(96, 12, 32)),
              (Rect{1, 42, 299, 80}));
    EXPECT_EQ(SelectionFrame({0, 62, 300, 124}, LineItemLayoutForDpi(144, 18, 48)),
              (Rect{2, 64, 298, 120}));
    EXPECT_EQ(RunMarkRect({0, 41, 300, 82}, LineItemLayoutForDpi(96, 12, 32)),
              (Rect{26, 67, 37, 78}));
    EXPECT_EQ(RunMarkRect({0, 62, 300, 124}, LineItemLayoutForDpi(144, 18, 48)),
              (Rect{39, 101, 56, 118}));
}

TEST(DpiEditorWindow, HeightIsRememberedIn96DpiUnits) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, "C:\\u\\Zorvane.ini");
    // 700 pixels at 150 %: 467 units; back at 150 % the window is 701 high (the nearest
    // it can be), and closing it then writes nothing new.
    EXPECT_TRUE(StoreWindowHeightOnClose(profile, true, 700, 144));
    EXPECT_EQ(ReadDefaultWindowHeight(profile), 467);
    const Size track{520, 300};
    EXPECT_EQ(RestoredWindowSize(track, 467, 144), (Size{520, 701}));
    EXPECT_FALSE(StoreWindowHeightOnClose(profile, true, 701, 144)) << "no drift";
    EXPECT_EQ(RestoredWindowSize(track, 467, 96), (Size{520, 467})) << "the same on a 100 % screen";
    EXPECT_EQ(RestoredWindowSize(track, 467, 192), (Size{520, 934}));
    // A value written before heights were kept in 96-DPI units reads as it is.
    profile.WriteInt("RkManagerSettings", "DefaultWindowHeight", 600);
    EXPECT_EQ(RestoredWindowSize(track, ReadDefaultWindowHeight(profile), 96), (Size{520, 600}));
    EXPECT_EQ(RestoredWindowSize({780, 900}, 467, 144), (Size{780, 900})) << "never below the form";
    EXPECT_EQ(RestoredWindowSize(track, kNoStoredHeight, 144), std::nullopt);

    EXPECT_EQ(SizeAfterDpiChange({900, 500}, {700, 600}), (Size{700, 600}));
    EXPECT_EQ(SizeAfterDpiChange({600, 800}, {700, 600}), (Size{700, 800}))
        << "the width follows the form, the suggested height stays";
}

TEST(DpiPlaces, TrackerFrameDialogJumpAndSplashFollowTheDpi) {
    const auto at144 = TrackerFrameOutline({10, 20, 110, 220}, 144);
    EXPECT_EQ((std::pair{at144[0].x, at144[0].y}), (std::pair{13, 23}));
    EXPECT_EQ((std::pair{at144[2].x, at144[2].y}), (std::pair{106, 216}));
    EXPECT_EQ((std::pair{at144[4].x, at144[4].y}), (std::pair{13, 23})) << "closed";
    EXPECT_EQ(TrackerFramePenWidth(96), 3);
    EXPECT_EQ(TrackerFramePenWidth(144), 5);
    EXPECT_EQ(TrackerFramePenWidth(192), 6);

    const ScreenRect desktop{0, 0, 1920, 1080};
    const auto to = DialogOutOfTheWay({300, 300}, {200, 200, 800, 500}, desktop, 144);
    ASSERT_TRUE(to);
    EXPECT_EQ(to->x, 1920 - 600 - 60);
    EXPECT_EQ(to->y, 1080 - 300 - 60);
    const auto back = DialogOutOfTheWay({1500, 900}, {1260, 720, 1860, 1020}, desktop, 192);
    ASSERT_TRUE(back);
    EXPECT_EQ((std::pair{back->x, back->y}), (std::pair{80, 80}));

    EXPECT_EQ(SplashPosition(1920, 1080, 600, 150, 144), (ScreenPoint{660, 465 - 156}));
}

}  // namespace
}  // namespace zv
