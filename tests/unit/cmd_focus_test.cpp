#include <gtest/gtest.h>

#include <thread>

#include "command_fixture.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;

class FocusTest : public test::CommandFixture, public ::testing::Test {
protected:
    void SetUp() override {
        desk.windows = {
            {0x10, "Untitled - Notepad", 5}, {0x20, "Notepad Help", 6}, {0x30, "メモ帳*", 7}};
        desk.processes[5] = {0};
        desk.processes[6] = {0};
        desk.processes[7] = {0};
    }
    static constexpr const char* kNotFound = "\n\t上記キャプションのウィンドウが見つからない";
};

TEST_F(FocusTest, ExactMatch) {
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"Untitled - Notepad\""));
    EXPECT_EQ(result, "FOCUS : >Untitled - Notepad< [完全一致]  Check=1 -OK");
    EXPECT_EQ(desk.events, (Events{"activate 10 ok", "idlewait 5 100"}));
    EXPECT_EQ(desk.foreground, 0x10u);
}

TEST_F(FocusTest, StarOnlyAtTheEndMeansPartial) {
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"*\""));
    EXPECT_EQ(result, "FOCUS : >< [部分一致]  Check=1 -OK");
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"メモ帳**\""));
    EXPECT_EQ(result, "FOCUS : >メモ帳*< [部分一致]  Check=1 -OK");
    EXPECT_EQ(desk.foreground, 0x30u);
    // An asterisk after the closing quote is dropped with the rest.
    desk.foreground = 0;
    app.settings.focusCheckRetry = 0;
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"Notepad\"*"));
    EXPECT_EQ(result, std::string("FOCUS : >Notepad< [完全一致]") + kNotFound);
    // A star inside the caption is part of it.
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"メモ*帳\""));
    EXPECT_EQ(result, std::string("FOCUS : >メモ*帳< [完全一致]") + kNotFound);
}

TEST_F(FocusTest, WindowThatAppearsLate) {
    desk.windows.push_back({0x40, "Late", 8, 500});
    desk.processes[8] = {0};
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"Late\""));
    EXPECT_EQ(result, "FOCUS : >Late< [完全一致]  Check=4 -OK");
    EXPECT_EQ(desk.EventsOf("sleep").size(), 3u);
}

TEST_F(FocusTest, NeverFoundCostsElevenSearchesAndPauses) {
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"Nothing\""));
    EXPECT_EQ(desk.events, Events(11, "sleep 200"));
    EXPECT_EQ(desk.now, 2200u);
    app.settings.focusCheckRetry = 0;
    desk.events.clear();
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"Nothing\""));
    EXPECT_EQ(desk.events, Events(1, "sleep 200"));
    app.settings.focusCheckRetry = -1;
    desk.events.clear();
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"Untitled - Notepad\""));
    EXPECT_TRUE(desk.events.empty()) << "no attempt at all";
}

TEST_F(FocusTest, RefusedActivationIsNotFound) {
    desk.windows[0].refuseActivation = true;
    app.settings.focusCheckRetry = 2;
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"Untitled - Notepad\""));
    EXPECT_EQ(result, std::string("FOCUS : >Untitled - Notepad< [完全一致]") + kNotFound);
    EXPECT_EQ(desk.EventsOf("activate"), Events(3, "activate 10 refused"));
}

TEST_F(FocusTest, NeverIdleApplicationStillSucceeds) {
    desk.processes[5] = {test::kNever};
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"Untitled - Notepad\""));
    EXPECT_EQ(result, "FOCUS : >Untitled - Notepad< [完全一致]  Check=1**********");
    EXPECT_EQ(desk.now, 1000u);
    desk.processes[5] = {desk.now + 250};
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"Untitled - Notepad\""));
    EXPECT_EQ(result, "FOCUS : >Untitled - Notepad< [完全一致]  Check=1** -OK");
}

TEST_F(FocusTest, StopRequestEndsTheAttempts) {
    app.RequestStop();
    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"Untitled - Notepad\""));
    EXPECT_EQ(result, std::string("FOCUS : >Untitled - Notepad< [完全一致]") + kNotFound);
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(FocusTest, WrittenEmptyCaptionLooksForAnUntitledWindow) {
    desk.windows.push_back({0x50, "", 0});
    EXPECT_TRUE(Call(ExecFocus, "FOCUS:\"\""));
    EXPECT_EQ(result, "FOCUS : >< [完全一致]  Check=1");
    EXPECT_EQ(desk.foreground, 0x50u);
}

}  // namespace
}  // namespace zv
