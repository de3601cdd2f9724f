#include <gtest/gtest.h>

#include "editor/launch_dialog.h"

namespace zv {
namespace {

TEST(LaunchDialog, OnlyTheEndOfTheLineDecidesTheMode) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"LAUNCH:\"notepad.exe\",wait", "notepad.exe", kLaunchWaitStartup},
        {"LAUNCH:\"notepad.exe\"End", "notepad.exe", kLaunchWaitEnd},
        {"LAUNCH:\"append\"", "append", kLaunchStartOnly},
        {"LAUNCH:\"open,WAIT", "", kLaunchStartOnly},  // unreadable: opens empty, mode 0
    };
    for (const auto& [line, program, mode] : cases)
        EXPECT_EQ(OpenLaunchDialog(line), (LaunchFields{program, mode})) << line;
    EXPECT_EQ(DescribeLaunchLine("LAUNCH:x , END").text, ">x< 完了=終了待ち");
    EXPECT_EQ(DescribeLaunchLine("LAUNCH:notepad.exe").text, ">notepad.exe< 完了=待たない");
}

TEST(LaunchDialog, ChosenPathWithABlankTravelsInTwoPairsOfQuotes) {
    const std::string chosen = ChosenProgramText("C:\\Program Files\\表計算\\calc.exe");
    EXPECT_EQ(chosen, "\"C:\\Program Files\\表計算\\calc.exe\"");
    EXPECT_EQ(ChosenProgramText("C:\\tools\\a.exe"), "C:\\tools\\a.exe");
    const LaunchFields f{chosen + " /x", kLaunchWaitStartup};
    const std::string line = ComposeLaunchLine(f);
    EXPECT_EQ(line, "LAUNCH:\"\"C:\\Program Files\\表計算\\calc.exe\" /x\",WAIT");
    EXPECT_EQ(OpenLaunchDialog(line), f);
}

TEST(LaunchDialog, OkTrialStartAndPlugins) {
    using Ok = DialogOk<LaunchField>;
    const Ok ok = ConfirmLaunchDialog({"", kLaunchWaitEnd});
    EXPECT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "起動プログラムが設定されていません。");
    EXPECT_EQ(ConfirmLaunchDialog({"calc.exe", kLaunchWaitEnd}).line, "LAUNCH:\"calc.exe\",END");

    EXPECT_EQ(TrialStart("").message, "起動プログラムが設定されていません。");
    const LaunchTrial t = TrialStart("\"C:\\a b\\%s.exe\" -n");
    EXPECT_EQ(t.message, "");
    EXPECT_EQ(t.commandLine, "\"C:\\a b\\%s.exe\" -n");
    EXPECT_EQ(t.show, 10);
    EXPECT_EQ(t.failureMessage, "\"C:\\a b\\%s.exe\" -n\n\rが処理できません。");

    EXPECT_EQ(PluginSearchPattern("C:\\Zorvane\\"), "C:\\Zorvane\\Plugin\\*.exe");
    const std::vector<std::string> expected = {"\"Plugin\\A.EXE\"", "\"Plugin\\a2.exe\"",
                                               "\"Plugin\\b.exe\"", "\"Plugin\\表.exe\""};
    EXPECT_EQ(PluginEntries({"b.exe", "表.exe", "A.EXE", "a2.exe"}), expected);
}

}  // namespace
}  // namespace zv
