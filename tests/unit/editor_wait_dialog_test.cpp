#include <gtest/gtest.h>

#include "editor/wait_dialog.h"

namespace zv {
namespace {

TEST(WaitDialog, ParseOpenAndWriteBack) {
    // Refused lines open with what was read before the fault.
    const std::tuple<const char*, int, int> refused[] = {
        {"", 0, 0},           {"WAIT:-1,0", 0, 0},       {"WAIT:1,2,3", 1, 2},
        {"WAIT:,1000", 0, 0}, {"WAIT:1000, 5", 1000, 0},
    };
    for (const auto& [line, time, reps] : refused) {
        EXPECT_FALSE(ParseWaitLine(line).ok) << line;
        EXPECT_EQ(OpenWaitDialog(line), (WaitFields{time, reps})) << line;
    }
    EXPECT_EQ(ComposeWaitLine(OpenWaitDialog("WAIT:500")), "WAIT:500,0");
}

TEST(WaitDialog, OkChecksBothRangesInOrder) {
    using Ok = DialogOk<WaitField>;
    Ok ok = ConfirmWaitDialog({"30000", "9999"});
    EXPECT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "WAIT:30000,9999");

    ok = ConfirmWaitDialog({"30001", "10000"});
    EXPECT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "0 から 30000 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, WaitField::Time);

    ok = ConfirmWaitDialog({"0", "10000"});
    EXPECT_EQ(ok.message, "0 から 9999 までの整数を入力してください。");
    EXPECT_EQ(ok.focus, WaitField::Repetitions);
}

}  // namespace
}  // namespace zv
