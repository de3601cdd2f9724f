#include <gtest/gtest.h>

#include "command_fixture.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;

class KeyinTest : public test::CommandFixture, public ::testing::Test {};

TEST_F(KeyinTest, RepeatCount) {
    app.settings.keyinWaitMSec = 20;
    EXPECT_TRUE(Call(ExecKeyin, "KEYIN:RETURN,REP=3"));
    EXPECT_EQ(result, "KEYIN : RETURN(0D) <Repeat=3>");
    EXPECT_EQ(desk.EventsOf("key").size(), 6u);
    EXPECT_EQ(desk.now, 120u);
}

TEST_F(KeyinTest, RepeatOnlyCountsBetweenText) {
    // At the very start or end "REP=" is part of a token.
    EXPECT_FALSE(Call(ExecKeyin, "KEYIN:REP=3"));
    EXPECT_EQ(result, "[REP=3]不正なキーコード");
    EXPECT_FALSE(Call(ExecKeyin, "KEYIN:RETURN,REP="));
    EXPECT_EQ(result, "[RETURN,REP=]不正なキーコード");
}

TEST_F(KeyinTest, AtMost256Keys) {
    std::string line = "KEYIN:";
    for (int i = 0; i < 300; ++i)
        line += (i < 256 ? "A " : "BOGUS ");
    const KeyinParams p = ParseKeyin(line);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.codes.size(), 256u);
    EXPECT_TRUE(Call(ExecKeyin, line));
    EXPECT_EQ(desk.EventsOf("key").size(), 512u);
    EXPECT_EQ(desk.events[255], "key 41 down");
    EXPECT_EQ(desk.events[256], "sleep 100");
}

TEST_F(KeyinTest, SameKeyTwiceIsReleasedTwice) {
    EXPECT_TRUE(Call(ExecKeyin, "KEYIN:A SHIFT A"));
    EXPECT_EQ(desk.events, (Events{"key 41 down", "key 10 down", "key 41 down", "sleep 100",
                                   "key 41 up", "key 10 up", "key 41 up", "sleep 100"}));
    EXPECT_FALSE(held.AnythingHeld());
}

}  // namespace
}  // namespace zv
