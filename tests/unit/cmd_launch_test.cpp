#include <gtest/gtest.h>

#include "command_fixture.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;

class LaunchTest : public test::CommandFixture, public ::testing::Test {};

TEST_F(LaunchTest, NoWait) {
    EXPECT_TRUE(Call(ExecLaunch, "LAUNCH:notepad.exe"));
    EXPECT_EQ(result, "LAUNCH: >notepad.exe< 完了=待たない");
    EXPECT_EQ(desk.events, (Events{"start notepad.exe", "close process"}));
}

TEST_F(LaunchTest, ModeKeywordAtTheEnd) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"LAUNCH:C:\\END\\x.exe,WAIT", "C:\\END\\x.exe", "起動待ち"},
        {"LAUNCH:WAIT", "WAIT", "待たない"},
        {"LAUNCH:END", "END", "待たない"},
        {"LAUNCH:append", "app", "終了待ち"},
        {"LAUNCH:\"append\"", "append", "待たない"},
        {"LAUNCH:\"C:\\Program Files\\a.exe\" /x", "C:\\Program Files\\a.exe", "待たない"},
    };
    desk.startedProcess.endsAt = 0;
    for (const auto& [line, command, mode] : cases) {
        EXPECT_TRUE(Call(ExecLaunch, line)) << line;
        const std::string idle = std::string(mode) == "起動待ち" ? " -OK" : "";
        EXPECT_EQ(result, std::string("LAUNCH: >") + command + "< 完了=" + mode + idle) << line;
        EXPECT_EQ(desk.started.back(), command) << line;
    }
}

TEST_F(LaunchTest, KeywordMustStartOnACharacterBoundary) {
    // 0x83 0x45 is one double-byte character whose trail byte is "E": the line ends in
    // that character and "ND", not in the word END.
    const LaunchParse p = ParseLaunch("LAUNCH:x\x83\x45ND");
    EXPECT_EQ(p.mode, LaunchMode::NoWait);
    EXPECT_EQ(p.commandLine, "x\x83\x45ND");
}

TEST_F(LaunchTest, UnclosedSingleQuoteIsUnusable) {
    EXPECT_FALSE(Call(ExecLaunch, "LAUNCH:'"));
    EXPECT_EQ(result, "");
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(LaunchTest, CreationFails) {
    desk.failStart = true;
    EXPECT_FALSE(Call(ExecLaunch, "LAUNCH:nothing.exe,WAIT"));
    EXPECT_EQ(result, "LAUNCH: >nothing.exe< 完了=起動待ち\n\t上記プログラムが起動できない");
}

TEST_F(LaunchTest, WaitForStartup) {
    desk.startedProcess.idleAt = 700;
    EXPECT_TRUE(Call(ExecLaunch, "LAUNCH:notepad.exe,WAIT"));
    EXPECT_EQ(result, "LAUNCH: >notepad.exe< 完了=起動待ち -OK");
    EXPECT_EQ(desk.events,
              (Events{"start notepad.exe", "inputidle 3000", "inputidle 100", "close process"}));
    EXPECT_EQ(desk.now, 700u);
}

TEST_F(LaunchTest, StartupNotConfirmed) {
    desk.startedProcess.idleAt = 3500;
    EXPECT_FALSE(Call(ExecLaunch, "LAUNCH:slow.exe,WAIT"));
    EXPECT_EQ(result,
              "LAUNCH: >slow.exe< 完了=起動待ち\n\t上記プログラムの完了を確認できない**** -OK");
    desk.startedProcess.noMessageQueue = true;
    EXPECT_FALSE(Call(ExecLaunch, "LAUNCH:cmd.exe,WAIT"));
    EXPECT_EQ(result,
              "LAUNCH: >cmd.exe< 完了=起動待ち\n\t上記プログラムの完了を確認できない**********");
}

TEST_F(LaunchTest, WaitForTheEnd) {
    app.settings.pgEndLoopSleepMSec = 400;
    desk.startedProcess.endsAt = 1000;
    EXPECT_TRUE(Call(ExecLaunch, "LAUNCH:job.exe,END"));
    EXPECT_EQ(result, "LAUNCH: >job.exe< 完了=終了待ち");
    EXPECT_EQ(desk.events,
              (Events{"start job.exe", "exitcode", "sleep 400", "exitcode", "sleep 400", "exitcode",
                      "sleep 400", "exitcode", "close process"}));
}

TEST_F(LaunchTest, WaitForTheEndStopsOnRequestOrUnreadableCode) {
    desk.startedProcess.endsAt = test::kNever;
    app.RequestStop();
    EXPECT_TRUE(Call(ExecLaunch, "LAUNCH:job.exe,END"));
    EXPECT_EQ(desk.events, (Events{"start job.exe", "exitcode", "close process"}));
    CRkCaptureApp fresh;
    CommandContext ctx2{desk, fresh, held};
    desk.startedProcess.exitCodeFails = true;
    desk.events.clear();
    EXPECT_TRUE(ExecLaunch(ctx2, "LAUNCH:job.exe,END", result));
    EXPECT_EQ(desk.events, (Events{"start job.exe", "exitcode", "close process"}));
}

}  // namespace
}  // namespace zv
