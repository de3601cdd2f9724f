#include <gtest/gtest.h>

#include "command_fixture.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;

class MouseTest : public test::CommandFixture, public ::testing::Test {
protected:
    void SetUp() override {
        desk.windows = {{0x300, "target", 9, 0, false, {400, 250}}};
        desk.foreground = 0x300;
        desk.cursor = {50, 60};
    }
};

TEST_F(MouseTest, MoveOnlyWithThePointerSettingsOverridden) {
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:100,200"));
    EXPECT_EQ(result, "MOUSE : X=100 Y=200 BUTTON=none POS=SCREEN");
    EXPECT_EQ(desk.events, (Events{"mouseparams 0 0 0 10", "mouse 1 50 140 0", "sleep 15",
                                   "mouseparams 6 10 1 4"}));
    EXPECT_EQ(desk.cursor, (Point{100, 200}));
    EXPECT_EQ(desk.mouseParams, (MouseParams{6, 10, 1, 4})) << "the user's settings are back";
}

TEST_F(MouseTest, DragHoldsTheLeftButtonDuringTheMove) {
    app.settings.mouseMoveReal = 1;
    desk.cursor = {297, 299};
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:300,300,DD"));
    EXPECT_EQ(result, "MOUSE : X=300 Y=300 BUTTON=DD POS=SCREEN");
    EXPECT_EQ(desk.events,
              (Events{"mouseparams 0 0 0 10", "mouse 2 0 0 0", "mouse 1 1 1 0", "mouse 1 1 0 0",
                      "mouse 1 1 0 0", "sleep 15", "mouse 4 0 0 0", "mouseparams 6 10 1 4"}));
}

TEST_F(MouseTest, NegativeAndSaturatedCoordinates) {
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:-20,5"));
    EXPECT_EQ(result, "MOUSE : X=-20 Y=5 BUTTON=none POS=SCREEN");
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:99999999999,-99999999999"));
    EXPECT_EQ(result, "MOUSE : X=2147483647 Y=-2147483648 BUTTON=none POS=SCREEN");
    // The distance from (-20, 5) does not overflow.
    EXPECT_EQ(desk.events[5], "mouse 1 2147483647 -2147483648 0");
}

TEST_F(MouseTest, OvertakenMoveIsCorrectedBeforeTheClick) {
    desk.staleMoves = 1;
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:100,200,L"));
    EXPECT_EQ(desk.events,
              (Events{"mouseparams 0 0 0 10", "mouse 1 50 140 0", "sleep 15", "mouse 1 50 140 0",
                      "sleep 15", "mouseparams 6 10 1 4", "mouse 2 0 0 0", "mouse 4 0 0 0"}));
    EXPECT_EQ(desk.cursor, (Point{100, 200}));

    // A pointer that keeps falling back is corrected a bounded number of times.
    desk.events.clear();
    desk.cursor = {0, 0};
    desk.staleMoves = 100;
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:10,10,R"));
    EXPECT_EQ(desk.EventsOf("mouse 1 ").size(), static_cast<std::size_t>(1 + kPointerCorrections));
    EXPECT_EQ(desk.EventsOf("sleep ").size(), static_cast<std::size_t>(1 + kPointerCorrections));
    EXPECT_EQ(desk.EventsOf("mouse 8 ").size(), 1u) << "the action still happens once";
    EXPECT_FALSE(held.AnythingHeld());
}

TEST_F(MouseTest, FailuresAfterAnUnknownWord) {
    const std::pair<const char*, const char*> cases[] = {
        {"MOUSE:1,2,q,zz", "第4パラメタのマウスボタン動作[ZZ]が認識出来ない"},
        {"MOUSE:1,2,Q,L,", "第5パラメタが空白"},
    };
    for (const auto& [line, message] : cases) {
        EXPECT_FALSE(Call(ExecMouse, line)) << line;
        EXPECT_EQ(result, message) << line;
    }
    EXPECT_TRUE(desk.events.empty()) << "nothing moves after a failure";
}

TEST_F(MouseTest, LaterActionWordReplacesTheEarlier) {
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:1,2,L,R"));
    EXPECT_EQ(result, "MOUSE : X=1 Y=2 BUTTON=R POS=SCREEN");
}

TEST_F(MouseTest, LocalWithoutForegroundWindow) {
    desk.foreground = 0;
    // The message replaces a parsing one, before or after LOCAL.
    for (const char* line : {"MOUSE:1,2,LOCAL", "MOUSE:1,2,LOCAL,Q", "MOUSE:1,2,Q,LOCAL"}) {
        EXPECT_FALSE(Call(ExecMouse, line)) << line;
        EXPECT_EQ(result, "LOCAL指定されているがアクティブなウィンドウが見つからない") << line;
    }
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:1,2,L")) << "screen positions need no window";
}

}  // namespace
}  // namespace zv
