#include <gtest/gtest.h>

#include "command_fixture.h"
#include "fake_filesystem.h"
#include "engine/runner.h"

namespace zv {
namespace {

using Lines = std::vector<std::string>;
const LocalTime kMarch5 = {2009, 3, 5, 14, 7, 9};
const std::string kStamp = "[09/03/05 14:07:09] ";

class RunnerTest : public test::CommandFixture, public ::testing::Test {
protected:
    test::MemoryFileSystem fs;
    const std::string macro = "C:\\m\\test.rkm";
    const std::string logPath = "C:\\AppData\\Zorvane_Log.txt";

    void SetUp() override {
        app.osMajor = 10;
        app.osMinor = 0;
        app.macroPath = macro;
    }
    void RunMacro(const std::string& content) {
        fs.files[macro] = content;
        CRkcMacro run(ctx, fs, macro, logPath, [] { return kMarch5; });
        run.Run();
    }
    // The log's physical lines, CR LF checked and removed.
    Lines LogLines() {
        const std::string& text = fs.files[logPath];
        Lines lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find("\r\n", pos);
            EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
            if (end == std::string::npos)
                break;
            lines.push_back(text.substr(pos, end - pos));
            pos = end + 2;
        }
        return lines;
    }
    Lines Header() {
        return {kStamp + macro + " マクロ処理開始", kStamp + "OS情報 Ver=10 : MinVer=0",
                kStamp + "Info : ForeGroundLockTimeOut=0 mm sec"};
    }
    Lines With(Lines lines, const Lines& more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    }
};

TEST_F(RunnerTest, OnlyCommentsWritesHeaderAndClosing) {
    RunMacro("; <RKMACRO>t\r\n\r\n; description\r\n   \t \r\n");
    EXPECT_EQ(LogLines(), With(Header(), {kStamp + "マクロ処理終了"}));
    EXPECT_EQ(desk.events, (std::vector<std::string>{"sleep 100"})) << "one initial pause only";
}

TEST_F(RunnerTest, LinesAreNumberedFromTheFileStart) {
    app.settings.keyinWaitMSec = 0;
    RunMacro("; <RKMACRO>t\r\n\r\n; c\r\n\r\n  wait:0  \r\n; c\r\nWAIT:10\nWAIT:20");
    EXPECT_EQ(LogLines(),
              With(Header(),
                   {kStamp + "0005行目：WAIT  : 0 mm sec", kStamp + "0007行目：WAIT  : 10 mm sec",
                    kStamp + "0008行目：WAIT  : 20 mm sec", kStamp + "マクロ処理終了"}));
    EXPECT_EQ(desk.now, 30u);
}

TEST_F(RunnerTest, HeaderVariants) {
    app.settings.mouseMoveReal = 1;
    desk.fltRegistry = std::nullopt;
    desk.fltSystem = 200000;
    RunMacro("; <RKMACRO>t\r\n");
    EXPECT_EQ(
        LogLines(),
        (Lines{kStamp + macro + " マクロ処理開始", "[マウスリアル移動モード]",
               kStamp + "OS情報 Ver=10 : MinVer=0",
               kStamp + "Info : ForeGroundLockTimeOut=200000 mm sec",
               kStamp +
                   "\t↑この値が０でない場合RKマクロのフォーカス切り替えが正常にできない可能性あり",
               kStamp + "マクロ処理終了"}));
}

TEST_F(RunnerTest, RegistryValueComesFirstAndReadErrors) {
    desk.fltRegistry = 0;
    desk.fltSystem = 5;
    RunMacro("");
    EXPECT_EQ(LogLines()[2], kStamp + "Info : ForeGroundLockTimeOut=0 mm sec");
    EXPECT_EQ(LogLines().size(), 4u);

    desk.fltRegistry = std::nullopt;
    desk.fltSystem = std::nullopt;
    RunMacro("");
    EXPECT_EQ(LogLines(),
              (Lines{kStamp + macro + " マクロ処理開始", kStamp + "OS情報 Ver=10 : MinVer=0",
                     kStamp + "ForeGroundLockTimeOut 読み込みエラー",
                     "（RKマクロのフォーカス切り替えが正常にできない可能性あり）",
                     kStamp + "マクロ処理終了"}));

    desk.fltRegistry = 0xFFFFFFFFu;  // taken as signed: -1, no warning
    RunMacro("");
    EXPECT_EQ(LogLines(),
              With(Lines{kStamp + macro + " マクロ処理開始", kStamp + "OS情報 Ver=10 : MinVer=0",
                         kStamp + "Info : ForeGroundLockTimeOut=-1 mm sec"},
                   {kStamp + "マクロ処理終了"}));
}

TEST_F(RunnerTest, UnknownKeywordStopsTheRun) {
    RunMacro("; <RKMACRO>t\r\nWAIT:0\r\nCLICK:1,2\r\nWAIT:0\r\n");
    EXPECT_EQ(LogLines(),
              With(Header(), {kStamp + "0002行目：WAIT  : 0 mm sec",
                              kStamp + "<ERROR>下記の行はコマンドとして認識出来ない",
                              kStamp + "0003行目：CLICK:1,2", kStamp + "エラー発生のため処理を中止",
                              kStamp + "マクロ処理終了"}));
}

TEST_F(RunnerTest, UnrecognisedShapes) {
    for (const char* line : {"LAUNCH :x", "\x81\x40;comment", "x<RKMACRO>"}) {
        RunMacro(std::string(line) + "\r\nWAIT:0");
        const Lines lines = LogLines();
        ASSERT_EQ(lines.size(), 7u) << line;
        EXPECT_EQ(lines[3], kStamp + "<ERROR>下記の行はコマンドとして認識出来ない") << line;
        EXPECT_EQ(lines[4], kStamp + "0001行目：" + line);
    }
}

TEST_F(RunnerTest, HandlerFailureWithAndWithoutReason) {
    std::string content = "; <RKMACRO>t\r\n";
    for (int i = 2; i <= 11; ++i)
        content += "WAIT:0\r\n";
    content += "MOUSE:1,2,Q\r\nWAIT:0\r\n";
    RunMacro(content);
    Lines lines = LogLines();
    ASSERT_EQ(lines.size(), 3u + 10 + 5);
    EXPECT_EQ(lines[12], kStamp + "0011行目：WAIT  : 0 mm sec");
    EXPECT_EQ(Lines(lines.begin() + 13, lines.end()),
              (Lines{kStamp + "<ERROR>下記の行は処理不能", kStamp + "0012行目：MOUSE:1,2,Q",
                     "\t第3パラメタのマウスボタン動作[Q]が認識出来ない",
                     kStamp + "エラー発生のため処理を中止", kStamp + "マクロ処理終了"}));

    RunMacro("TYPE:\"unclosed");
    EXPECT_EQ(
        LogLines(),
        With(Header(), {kStamp + "<ERROR>下記の行は処理不能", kStamp + "0001行目：TYPE:\"unclosed",
                        kStamp + "エラー発生のため処理を中止", kStamp + "マクロ処理終了"}));
}

TEST_F(RunnerTest, StopFlagIsLookedAtBetweenLines) {
    app.RequestStop();
    RunMacro("WAIT:10\r\nWAIT:10\r\n");
    EXPECT_EQ(LogLines(), With(Header(), {kStamp + "マクロ処理終了"}));
    EXPECT_EQ(desk.now, 100u) << "the initial pause still happens";
}

// Requests a stop during the first WAIT: that WAIT completes and nothing else runs.
class StoppingDesktop : public test::FakeDesktop {
public:
    CRkCaptureApp* app = nullptr;
    void Sleep(std::uint32_t ms) override {
        FakeDesktop::Sleep(ms);
        if (ms == 10000)
            app->RequestStop();
    }
};

TEST(RunnerStop, StopDuringAWaitTakesEffectAfterIt) {
    StoppingDesktop desk;
    CRkCaptureApp app;
    desk.app = &app;
    HeldInput held(desk);
    CommandContext ctx{desk, app, held};
    test::MemoryFileSystem fs;
    fs.files["m"] = "WAIT:10000\r\nKEYIN:A\r\n";
    app.macroPath = "m";
    EXPECT_FALSE(RunMacroJob(kStartRunParam, ctx, fs, "log", [] { return kMarch5; }));
    const std::string& log = fs.files["log"];
    EXPECT_NE(log.find("0001行目：WAIT  : 10000 mm sec\r\n"), std::string::npos);
    EXPECT_EQ(log.find("0002"), std::string::npos);
    EXPECT_EQ(log.find("<ERROR>"), std::string::npos);
    EXPECT_TRUE(log.ends_with("マクロ処理終了\r\n"));
    EXPECT_TRUE(desk.EventsOf("key").empty());
}

TEST_F(RunnerTest, MacroFileNotOpenable) {
    fs.locked.insert(macro);
    fs.files[macro] = "WAIT:0";
    {
        CRkcMacro run(ctx, fs, macro, logPath, [] { return kMarch5; });
        run.Run();
    }
    EXPECT_EQ(LogLines(), With(Header(), {kStamp + "マクロ処理終了"}));
    EXPECT_TRUE(desk.events.empty()) << "not even the initial pause";
}

TEST_F(RunnerTest, MacroFileHeldWithoutSharingDuringTheRun) {
    fs.files[macro] = "WAIT:0";
    {
        CRkcMacro run(ctx, fs, macro, logPath, [] { return kMarch5; });
        EXPECT_EQ(fs.CreateWrite(logPath, true, nullptr), nullptr) << "the log is held";
        EXPECT_EQ(fs.OpenRead(macro, false, nullptr), nullptr) << "so is the macro file";
    }
    EXPECT_NE(fs.CreateWrite(logPath, true, nullptr), nullptr) << "released with the run";
    EXPECT_NE(fs.OpenRead(macro, false, nullptr), nullptr);
}

TEST_F(RunnerTest, UnopenableLogDoesNotStopTheRun) {
    fs.locked.insert(logPath);
    RunMacro("KEYIN:A");
    EXPECT_EQ(fs.files.count(logPath), 0u);
    EXPECT_EQ(desk.EventsOf("key").size(), 2u);
}

TEST_F(RunnerTest, EachCommandIsDispatched) {
    desk.windows = {{0x10, "W", 0}};
    desk.foreground = 0x10;
    desk.focus = 0x11;
    desk.paster = {{0, 0}};
    app.settings.keyinWaitMSec = 0;
    RunMacro("launch:a.exe\r\nFOCUS:\"W\"\r\nWAIT:1\r\nKEYIN:A\r\nTYPE:\"t\"\r\nMOUSE:1,1\r\n");
    const Lines lines = LogLines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[3], kStamp + "0001行目：LAUNCH: >a.exe< 完了=待たない");
    EXPECT_EQ(lines[4], kStamp + "0002行目：FOCUS : >W< [完全一致]  Check=1");
    EXPECT_EQ(lines[5], kStamp + "0003行目：WAIT  : 1 mm sec");
    EXPECT_EQ(lines[6], kStamp + "0004行目：KEYIN : \"A\"(41)");
    EXPECT_EQ(lines[7], kStamp + "0005行目：TYPE  : [Fgwh=00000010][wh=00000011]>t<");
    EXPECT_EQ(lines[8], kStamp + "0006行目：MOUSE : X=1 Y=1 BUTTON=none POS=SCREEN");
}

TEST_F(RunnerTest, RunMacroJobMessagesAndStop) {
    fs.files[macro] = "WAIT:0";
    EXPECT_FALSE(RunMacroJob(0x8002, ctx, fs, logPath, [] { return kMarch5; }));
    EXPECT_EQ(fs.files.count(logPath), 0u) << "other messages are ignored";
    EXPECT_TRUE(RunMacroJob(kStartRunParam, ctx, fs, logPath, [] { return kMarch5; }));
    EXPECT_EQ(LogLines().size(), 5u);

    app.macroPath.clear();
    fs.files.erase(logPath);
    EXPECT_TRUE(RunMacroJob(kStartRunParam, ctx, fs, logPath, [] { return kMarch5; }));
    EXPECT_EQ(fs.files.count(logPath), 0u) << "nothing to run, no log";

    app.macroPath = macro;
    app.RequestStop();
    EXPECT_FALSE(RunMacroJob(kStartRunParam, ctx, fs, logPath, [] { return kMarch5; }));
}

TEST_F(RunnerTest, LongLinesAndMissingLineEnd) {
    const std::string text(3 << 20, 'y');
    desk.windows = {{0x10, "W", 0}};
    desk.foreground = 0x10;
    desk.focus = 0x11;
    desk.paster = {{0, 0}};
    RunMacro("TYPE:\"" + text + "\"");
    const Lines lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3].size(),
              (kStamp + "0001行目：TYPE  : [Fgwh=00000010][wh=00000011]><").size() + text.size());
}

}  // namespace
}  // namespace zv
