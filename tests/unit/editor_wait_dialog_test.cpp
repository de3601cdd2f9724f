#include <gtest/gtest.h>

#include "editor/wait_dialog.h"

namespace zv {
namespace {

void ExpectFields(const WaitFields& f, int time, int reps, const char* line) {
    EXPECT_EQ(f.timeMs, time) << line;
    EXPECT_EQ(f.repetitions, reps) << line;
}

TEST(WaitDialog, ParseAndWriteBack) {
    WaitLineParse p = ParseWaitLine("WAIT:500");
    ASSERT_TRUE(p.ok);
    ExpectFields(p.fields, 500, 0, "WAIT:500");
    EXPECT_EQ(ComposeWaitLine(p.fields), "WAIT:500,0");

    p = ParseWaitLine("WAIT:1000,,5");
    ASSERT_TRUE(p.ok);
    ExpectFields(p.fields, 1000, 5, "WAIT:1000,,5");

    // Nothing after the colon is valid 0, 0 here (the engine refuses it); no line is not.
    p = ParseWaitLine("WAIT:  ");
    EXPECT_TRUE(p.ok);
    ExpectFields(p.fields, 0, 0, "WAIT:");
    EXPECT_FALSE(ParseWaitLine("").ok);
}

TEST(WaitDialog, FailuresKeepTheValuesReadSoFar) {
    const std::tuple<const char*, int, int> cases[] = {
        {"WAIT:-1,0", 0, 0},     {"WAIT:1,2,3", 1, 2}, {"WAIT:1000, 5", 1000, 0},
        {"WAIT:1000,", 1000, 0}, {"WAIT:,1000", 0, 0}, {"WAIT:7,x", 7, 0},
    };
    for (const auto& [line, time, reps] : cases) {
        const WaitLineParse p = ParseWaitLine(line);
        EXPECT_FALSE(p.ok) << line;
        ExpectFields(p.fields, time, reps, line);
        ExpectFields(OpenWaitDialog(line), time, reps, line);
        const LineDescription d = DescribeWaitLine(line);
        EXPECT_FALSE(d.valid) << line;
        EXPECT_EQ(d.text, line);
    }
}

TEST(WaitDialog, Description) {
    LineDescription d = DescribeWaitLine("WAIT:500,3");
    EXPECT_TRUE(d.valid);
    EXPECT_EQ(d.text, "500 mm秒 アイドルまでの繰り返し 3 回");
    EXPECT_EQ(DescribeWaitLine("WAIT:").text, "0 mm秒 アイドルまでの繰り返し 0 回");
    // Digits beyond 32 bits read as the largest value, as in the engine.
    EXPECT_EQ(DescribeWaitLine("WAIT:99999999999").text,
              "2147483647 mm秒 アイドルまでの繰り返し 0 回");
}

TEST(WaitDialog, OkChecksBothRangesInOrder) {
    using Ok = DialogOk<WaitField>;
    Ok ok = ConfirmWaitDialog({"30000", "9999"});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "WAIT:30000,9999");

    ok = ConfirmWaitDialog({"30001", "10000"});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "0 から 30000 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, WaitField::Time);

    ok = ConfirmWaitDialog({"0", "10000"});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "0 から 9999 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, WaitField::Repetitions);

    EXPECT_EQ(ConfirmWaitDialog({"", "0"}).kind, Ok::Kind::Message);
    EXPECT_EQ(ConfirmWaitDialog({"-1", "0"}).focus, WaitField::Time);
}

}  // namespace
}  // namespace zv
