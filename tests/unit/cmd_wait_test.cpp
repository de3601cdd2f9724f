#include <gtest/gtest.h>

#include "command_fixture.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;

class WaitTest : public test::CommandFixture, public ::testing::Test {
protected:
    void SetUp() override {
        desk.windows = {{0x1234, "app", 77}};
        desk.foreground = 0x1234;
    }
};

TEST_F(WaitTest, BusyApplicationSleepsLoopPlusOneTimes) {
    desk.processes[77] = {test::kNever};
    EXPECT_TRUE(Call(ExecWait, "WAIT:500,3"));
    EXPECT_EQ(result, "WAIT  : 500 mm sec [3 max loop]***[wh=00001234]");
    EXPECT_EQ(desk.events, (Events{"sleep 500", "idlewait 77 0", "sleep 500", "idlewait 77 0",
                                   "sleep 500", "idlewait 77 0", "sleep 500"}));
    EXPECT_EQ(desk.now, 2000u);
}

TEST_F(WaitTest, ApplicationBecomingIdleDuringThePolls) {
    desk.processes[77] = {1200};
    EXPECT_TRUE(Call(ExecWait, "WAIT:500,10"));
    EXPECT_EQ(result, "WAIT  : 500 mm sec [10 max loop]** -OK[wh=00001234]");
    EXPECT_EQ(desk.now, 1500u);
}

TEST_F(WaitTest, NoForegroundProcessStillShowsTheHandle) {
    desk.foreground = 0;
    EXPECT_TRUE(Call(ExecWait, "WAIT:100,2"));
    EXPECT_EQ(result, "WAIT  : 100 mm sec [2 max loop][wh=00000000]");
    EXPECT_EQ(desk.events, (Events{"sleep 100"}));
}

}  // namespace
}  // namespace zv
