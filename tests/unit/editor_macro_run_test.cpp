#include <gtest/gtest.h>

#include "command_fixture.h"
#include "engine/runner.h"
#include "editor/macro_run.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

using Lines = std::vector<std::string>;
const LocalTime kMarch5 = {2009, 3, 5, 14, 7, 9};
const std::string kStamp = "[09/03/05 14:07:09] ";
const std::string kRun = "C:\\Temp\\RkEditorRun_7_1.txt";
const std::string kLog = "C:\\AppData\\Zorvane_Log.txt";

MacroFields Targeted() {
    MacroFields f;
    f.title = "t";
    f.global = false;
    f.target = "Notepad";
    f.description = "not run";
    return f;
}

TEST(EditorRunFile, HeaderThenTheChosenLinesMappedBack) {
    const Lines lines{"WAIT:0", "FOCUS:x", "KEYIN:A"};
    std::optional<RunFile> whole = ComposeRunFile(Targeted(), lines, RunScope::Whole, 1, nullptr);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->text,
              "; <RKMACRO>t\r\n; <TARGET>Notepad\r\n\r\n\r\nWAIT:0\r\nFOCUS:x\r\nKEYIN:A\r\n");
    EXPECT_EQ(whole->ListIndexOf(4), -1) << "a header line";
    EXPECT_EQ(whole->ListIndexOf(5), 0);
    EXPECT_EQ(whole->ListIndexOf(7), 2);
    EXPECT_EQ(whole->ListIndexOf(8), -1) << "past the end";

    std::optional<RunFile> from =
        ComposeRunFile(Targeted(), lines, RunScope::FromSelected, 1, nullptr);
    ASSERT_TRUE(from);
    EXPECT_EQ(from->text, "; <RKMACRO>t\r\n; <TARGET>Notepad\r\n\r\n\r\nFOCUS:x\r\nKEYIN:A\r\n");
    EXPECT_EQ(from->ListIndexOf(5), 1);
    EXPECT_EQ(from->ListIndexOf(6), 2);

    MacroFields global = Targeted();
    global.global = true;  // no target line: the lines move up by one
    std::optional<RunFile> one = ComposeRunFile(global, lines, RunScope::SelectedOnly, 2, nullptr);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->text, "; <RKMACRO>t\r\n\r\n\r\nKEYIN:A\r\n");
    EXPECT_EQ(one->ListIndexOf(4), 2);
    EXPECT_EQ(one->first, 2);
    EXPECT_EQ(one->last, 2);
}

TEST(EditorRunFile, AsksOnceAboutTheRefusedLinesAndRunsNothingEmpty) {
    const Lines lines{"WAIT:", "; note", "KEYIN:NOKEY", "wait:5", "FOO"};
    const auto question = [&](RunScope scope, int selection) {
        const std::optional<RunFile> file =
            ComposeRunFile(MacroFields{}, lines, scope, selection, nullptr);
        return file ? RunRefusalQuestion(*file, lines) : "no run";
    };
    const std::string three =
        "エンジンが処理できない行が 3 行あります（赤で表示）。\r\nこのまま実行しますか？";
    EXPECT_EQ(question(RunScope::Whole, -1), three);
    EXPECT_EQ(question(RunScope::FromSelected, 1), StrPrintf(kMsgRunAskRefused, 2));
    EXPECT_EQ(question(RunScope::FromSelected, 4), StrPrintf(kMsgRunAskRefused, 1));
    // Only the line that runs counts: the red lines around it do not ask.
    EXPECT_EQ(question(RunScope::SelectedOnly, 3), "");
    EXPECT_EQ(question(RunScope::SelectedOnly, 1), "");
    EXPECT_EQ(question(RunScope::SelectedOnly, 0), StrPrintf(kMsgRunAskRefused, 1));

    // Nothing to run.
    EXPECT_FALSE(ComposeRunFile(Targeted(), {}, RunScope::Whole, -1, nullptr));
    EXPECT_FALSE(ComposeRunFile(Targeted(), {"WAIT:0"}, RunScope::SelectedOnly, -1, nullptr));
    EXPECT_FALSE(ComposeRunFile(Targeted(), {"WAIT:0"}, RunScope::FromSelected, 1, nullptr));
    std::string message;
    EXPECT_FALSE(ComposeRunFile(Targeted(), {"WAIT:0\nKEYIN:A"}, RunScope::Whole, 0, &message));
    EXPECT_NE(message.find("改行"), std::string::npos) << message;
    EXPECT_EQ(RunFilePath("C:\\Temp\\", 7, 12), "C:\\Temp\\RkEditorRun_7_12.txt");
}

// The engine's own runner on the run file, over the fake desktop; the editor reads its log.
class EditorRunLog : public test::CommandFixture, public ::testing::Test {
protected:
    test::MemoryFileSystem fs;
    void SetUp() override {
        app.settings.keyinWaitMSec = 0;
        app.macroPath = kRun;
    }
    // Runs the file and reads the log it left.
    RunLogFollower RunEngine(const RunFile& file) {
        fs.files[kRun] = file.text;
        CRkcMacro(ctx, fs, kRun, kLog, [] { return kMarch5; }).Run();
        RunLogFollower follower(kLog, kRun);
        EXPECT_TRUE(follower.Poll(fs));
        return follower;
    }
};

TEST_F(EditorRunLog, FailedFocusLandsOnItsLineWithTheEngineReason) {
    const Lines lines{"WAIT:0", "WAIT:0", "WAIT:0", "FOCUS:無いウィンドウ", "WAIT:0"};
    const std::optional<RunFile> file =
        ComposeRunFile(Targeted(), lines, RunScope::Whole, 0, nullptr);
    ASSERT_TRUE(file);
    RunLogFollower follower = RunEngine(*file);
    const RunLogState& s = follower.State();
    EXPECT_TRUE(s.started);
    EXPECT_TRUE(s.ended);
    EXPECT_EQ(s.ranLines, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(RunMarks(*file, s, 5), (std::vector<RunMark>{RunMark::Ran, RunMark::Ran, RunMark::Ran,
                                                           RunMark::Failed, RunMark::None}));
    const RunOutcome o = JudgeRun(*file, s, RunScope::Whole, 5);
    EXPECT_EQ(o.kind, RunOutcome::Kind::Failed);
    EXPECT_EQ(o.select, 3);
    EXPECT_EQ(o.status, "4行目でエラー：上記キャプションのウィンドウが見つからない");
    EXPECT_EQ(o.message,
              "4行目でマクロの実行が止まりました。\r\n\r\nFOCUS : >無いウィンドウ< [完全一致]\r\n"
              "上記キャプションのウィンドウが見つからない");
    EXPECT_FALSE(follower.Poll(fs)) << "nothing new";
}

TEST_F(EditorRunLog, UnrecognisedLineFromTheSelection) {
    const Lines lines{"WAIT:0", "WAIT:0", "KEYIN :A", "WAIT:0"};
    const std::optional<RunFile> file =
        ComposeRunFile(MacroFields{}, lines, RunScope::FromSelected, 1, nullptr);
    ASSERT_TRUE(file);
    const RunLogFollower follower = RunEngine(*file);
    const RunOutcome o = JudgeRun(*file, follower.State(), RunScope::FromSelected, 4);
    EXPECT_EQ(o.kind, RunOutcome::Kind::Failed);
    EXPECT_EQ(o.select, 2);
    EXPECT_EQ(o.status, "3行目でエラー：コマンドとして認識出来ない");
    EXPECT_EQ(RunMarks(*file, follower.State(), 4),
              (std::vector<RunMark>{RunMark::None, RunMark::Ran, RunMark::Failed, RunMark::None}));
}

TEST_F(EditorRunLog, FollowsTheLogWhileTheEngineHoldsIt) {
    fs.files[kLog] = kStamp + "C:\\other.txt マクロ処理開始\r\n" + kStamp + "0005行目：x\r\n";
    RunLogFollower follower(kLog, kRun);
    EXPECT_FALSE(follower.Poll(fs)) << "the last run's log is not this run's";
    EXPECT_TRUE(follower.State().ranLines.empty());

    const std::optional<RunFile> file =
        ComposeRunFile(MacroFields{}, {"WAIT:0", "WAIT:0"}, RunScope::SelectedOnly, 0, nullptr);
    ASSERT_TRUE(file);
    fs.files[kRun] = file->text;
    {
        CRkcMacro run(ctx, fs, kRun, kLog, [] { return kMarch5; });
        EXPECT_TRUE(follower.Poll(fs)) << "the engine lets the log be read while it writes";
        EXPECT_TRUE(follower.State().started);
        // Half an entry: nothing is taken until its line has ended.
        fs.files[kLog] += kStamp + "0004行目";
        EXPECT_FALSE(follower.Poll(fs));
        fs.files[kLog] += "：WAIT  : 0 mm sec\r\n";
        EXPECT_TRUE(follower.Poll(fs));
        EXPECT_EQ(follower.State().ranLines, (std::vector<int>{4}));
        EXPECT_FALSE(follower.State().ended);
    }
    follower.Poll(fs);
    EXPECT_TRUE(follower.State().ended);
    const RunOutcome o = JudgeRun(*file, follower.State(), RunScope::SelectedOnly, 2);
    EXPECT_EQ(o.kind, RunOutcome::Kind::Completed);
    EXPECT_EQ(o.select, 1) << "F8 steps on to the next line";
}

TEST(EditorRunJudge, StoppedAndUnreadRuns) {
    const std::optional<RunFile> file = ComposeRunFile(
        MacroFields{}, {"WAIT:0", "; note", "WAIT:0", "WAIT:0"}, RunScope::Whole, 0, nullptr);
    ASSERT_TRUE(file);
    RunLogState s;
    EXPECT_EQ(JudgeRun(*file, s, RunScope::Whole, 4).kind, RunOutcome::Kind::NoLog);
    s.started = true;
    s.ended = true;
    s.ranLines = {4, 6};  // line 7 (the list's fourth) never ran: the run was stopped
    RunOutcome o = JudgeRun(*file, s, RunScope::Whole, 4);
    EXPECT_EQ(o.kind, RunOutcome::Kind::Stopped);
    EXPECT_EQ(o.status, "マクロの実行を3行目の後で中止しました。");
    EXPECT_EQ(o.select, -1);
    s.ranLines.push_back(7);
    o = JudgeRun(*file, s, RunScope::Whole, 4);
    EXPECT_EQ(o.kind, RunOutcome::Kind::Completed);
    EXPECT_EQ(o.status, "マクロの実行が終了しました。");
    s.ended = false;  // the engine was closed before its closing entry
    EXPECT_EQ(JudgeRun(*file, s, RunScope::Whole, 4).kind, RunOutcome::Kind::Stopped);

    const std::optional<RunFile> comment =
        ComposeRunFile(MacroFields{}, {"; note"}, RunScope::SelectedOnly, 0, nullptr);
    ASSERT_TRUE(comment);
    RunLogState done;
    done.started = done.ended = true;
    EXPECT_EQ(JudgeRun(*comment, done, RunScope::SelectedOnly, 1).kind, RunOutcome::Kind::Completed)
        << "a line the engine skips has nothing to log";
}

TEST(EditorRunLogReader, EntriesContinuationsAndWhatFollowsTheFailure) {
    RunLogReader r(kRun);
    // A stamp whose date could not be formatted; the mouse mode on the start entry's
    // second line.
    r.Feed("[ 14:07:09] " + kRun + " マクロ処理開始\r\n[マウスリアル移動モード]\r\n");
    r.Feed(kStamp + "0004行目：LAUNCH ok\r\n" + kStamp + "<ERROR>下記の行は処理不能\r\n" + kStamp +
           "0005行目：LAUNCH:x\r\n\tfirst\r\n\tsecond\r\nthird\r\n");
    r.Feed(kStamp + "エラー発生のため処理を中止\r\n" + kStamp + "0006行目：late\r\n" + kStamp +
           "マクロ処理終了\r\n");
    EXPECT_TRUE(r.State().started);
    EXPECT_EQ(r.State().ranLines, (std::vector<int>{4}));
    ASSERT_TRUE(r.State().failure);
    EXPECT_EQ(r.State().failure->fileLine, 5);
    EXPECT_EQ(r.State().failure->reason, "first\r\nsecond\r\nthird");
    EXPECT_EQ(r.State().ranLines, (std::vector<int>{4})) << "nothing after the failure ran";
    EXPECT_TRUE(r.State().ended);

    RunLogReader other(kRun + "x");
    other.Feed(kStamp + kRun + " マクロ処理開始\r\n" + kStamp + "0004行目：x\r\n");
    EXPECT_TRUE(other.Foreign()) << "another file's run";
    EXPECT_TRUE(other.State().ranLines.empty());
}

}  // namespace
}  // namespace zv
