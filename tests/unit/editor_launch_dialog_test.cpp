#include <gtest/gtest.h>

#include "editor/launch_dialog.h"

namespace zv {
namespace {

void ExpectProgram(const char* line, const char* program, int mode) {
    const LaunchLineParse p = ParseLaunchLine(line);
    EXPECT_TRUE(p.ok) << line;
    EXPECT_EQ(p.fields.program, program) << line;
    EXPECT_EQ(p.fields.mode, mode) << line;
}

TEST(LaunchDialog, OnlyTheEndOfTheLineDecidesTheMode) {
    ExpectProgram("LAUNCH:notepad.exe", "notepad.exe", kLaunchStartOnly);
    ExpectProgram("LAUNCH:\"notepad.exe\",wait", "notepad.exe", kLaunchWaitStartup);
    ExpectProgram("LAUNCH:\"notepad.exe\"End", "notepad.exe", kLaunchWaitEnd);
    ExpectProgram("LAUNCH:\"C:\\WAITER\\x.exe\",WAIT", "C:\\WAITER\\x.exe", kLaunchWaitStartup);
    // An unquoted program loses letters that look like the option; a quoted one does not.
    ExpectProgram("LAUNCH:append", "app", kLaunchWaitEnd);
    ExpectProgram("LAUNCH:\"append\"", "append", kLaunchStartOnly);
    ExpectProgram("LAUNCH:WAIT", "WAIT", kLaunchStartOnly);
}

TEST(LaunchDialog, ChosenPathWithABlankTravelsInTwoPairsOfQuotes) {
    const std::string chosen = ChosenProgramText("C:\\Program Files\\表計算\\calc.exe");
    EXPECT_EQ(chosen, "\"C:\\Program Files\\表計算\\calc.exe\"");
    EXPECT_EQ(ChosenProgramText("C:\\tools\\a.exe"), "C:\\tools\\a.exe");

    const LaunchFields f{chosen + " /x", kLaunchWaitEnd};
    const std::string line = ComposeLaunchLine(f);
    EXPECT_EQ(line, "LAUNCH:\"\"C:\\Program Files\\表計算\\calc.exe\" /x\",END");
    ExpectProgram(line.c_str(), "\"C:\\Program Files\\表計算\\calc.exe\" /x", kLaunchWaitEnd);

    for (int mode : {kLaunchStartOnly, kLaunchWaitStartup, kLaunchWaitEnd}) {
        const LaunchFields g{"prog WAIT", mode};
        const LaunchLineParse p = ParseLaunchLine(ComposeLaunchLine(g));
        EXPECT_EQ(p.fields.program, g.program);
        EXPECT_EQ(p.fields.mode, mode);
    }
}

TEST(LaunchDialog, DescriptionsAndUnreadableLines) {
    EXPECT_EQ(DescribeLaunchLine("LAUNCH:notepad.exe").text, ">notepad.exe< 完了=待たない");
    EXPECT_EQ(DescribeLaunchLine("LAUNCH:\"a b\",WAIT").text, ">a b< 完了=起動待ち");
    EXPECT_EQ(DescribeLaunchLine("LAUNCH:x , END").text, ">x< 完了=終了待ち");

    // The mode is found before the quote fails: the dialog still opens with mode 0.
    for (const char* line : {"LAUNCH:\"open,WAIT", "LAUNCH:", "LAUNCH:,END"}) {
        EXPECT_FALSE(ParseLaunchLine(line).ok) << line;
        const LaunchFields f = OpenLaunchDialog(line);
        EXPECT_EQ(f.program, "");
        EXPECT_EQ(f.mode, kLaunchStartOnly) << line;
        EXPECT_FALSE(DescribeLaunchLine(line).valid);
        EXPECT_EQ(DescribeLaunchLine(line).text, line);
    }
    EXPECT_FALSE(ParseLaunchLine("").ok);
}

TEST(LaunchDialog, OkAndTrialStart) {
    using Ok = DialogOk<LaunchField>;
    Ok ok = ConfirmLaunchDialog({"", kLaunchWaitEnd});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "起動プログラムが設定されていません。");
    EXPECT_EQ(ok.focus, LaunchField::Program);
    ok = ConfirmLaunchDialog({"calc.exe", kLaunchWaitStartup});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "LAUNCH:\"calc.exe\",WAIT");
    EXPECT_EQ(ConfirmLaunchDialog({"calc.exe", 7}).line, "LAUNCH:\"calc.exe\"");

    LaunchTrial t = TrialStart("");
    EXPECT_EQ(t.message, "起動プログラムが設定されていません。");
    EXPECT_EQ(t.commandLine, "");
    t = TrialStart("\"C:\\a b\\%s.exe\" -n");
    EXPECT_EQ(t.message, "");
    EXPECT_EQ(t.commandLine, "\"C:\\a b\\%s.exe\" -n");
    EXPECT_EQ(t.show, 10);
    EXPECT_EQ(t.failureMessage, "\"C:\\a b\\%s.exe\" -n\n\rが処理できません。");
}

TEST(LaunchDialog, PluginEntriesQuotedAndSorted) {
    EXPECT_EQ(PluginSearchPattern("C:\\Zorvane\\"), "C:\\Zorvane\\Plugin\\*.exe");
    EXPECT_TRUE(PluginEntries({}).empty());
    const std::vector<std::string> entries = PluginEntries({"b.exe", "表.exe", "A.EXE", "a2.exe"});
    const std::vector<std::string> expected = {
        "\"Plugin\\A.EXE\"",
        "\"Plugin\\a2.exe\"",
        "\"Plugin\\b.exe\"",
        "\"Plugin\\表.exe\"",
    };
    EXPECT_EQ(entries, expected);
    // An entry is a line's program as it stands.
    ExpectProgram(ComposeLaunchLine({entries[0], kLaunchStartOnly}).c_str(), "\"Plugin\\A.EXE\"",
                  kLaunchStartOnly);
}

}  // namespace
}  // namespace zv
