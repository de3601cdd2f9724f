#include <gtest/gtest.h>

#include "launcher/launcher_commands.h"
#include "launcher/fglock.h"
#include "launcher_fakes.h"
#include "common/numericedit.h"
#include "common/profile.h"
#include "launcher/launcher_shell.h"
#include "launcher/trayclick.h"

namespace zv {
namespace {

const std::string kFolder = "C:\\Program Files\\Zorvane\\";
const std::string kMacro = "C:\\m\\日報 表.rkm";

TEST(LauncherCommands, MacroChoiceRunsEngineEditorOrShell) {
    LaunchAction a = MacroCommandAction(kFolder, kMacro, false, false);
    EXPECT_EQ(a.kind, LaunchAction::Kind::RunProgram);
    EXPECT_EQ(a.target, "\"C:\\Program Files\\Zorvane\\RkEngine.exe\" /M:\"C:\\m\\日報 表.rkm\"");
    EXPECT_EQ(a.show, 6);
    EXPECT_EQ(a.failureMessage, a.target + "\n\rが処理できません。");
    EXPECT_TRUE(a.returnsKeyboard) << "the macro drives the window the user was in";
    EXPECT_EQ(a.watchedMacro, kMacro) << "the launcher watches how the run ends";

    for (bool shift : {false, true}) {
        a = MacroCommandAction(kFolder, kMacro, true, shift);
        EXPECT_EQ(a.kind, LaunchAction::Kind::RunProgram);
        EXPECT_EQ(a.target, "\"C:\\Program Files\\Zorvane\\RkEditor.exe\" \"C:\\m\\日報 表.rkm\"");
        EXPECT_EQ(a.show, 10);
        EXPECT_EQ(a.failureMessage, a.target + "\n\rが処理できません。");
        EXPECT_FALSE(a.returnsKeyboard) << "the editor comes up in front";
        EXPECT_EQ(a.watchedMacro, "");
    }

    a = MacroCommandAction(kFolder, kMacro, false, true);
    EXPECT_EQ(a.kind, LaunchAction::Kind::ShellOpen);
    EXPECT_EQ(a.target, "\"C:\\m\\日報 表.rkm\"");
    EXPECT_EQ(a.show, 1);
    EXPECT_EQ(a.failureMessage, "\"C:\\m\\日報 表.rkm\"\n\rを開くことができません。");
    EXPECT_FALSE(a.returnsKeyboard) << "the file's own program comes up in front";
    EXPECT_EQ(a.watchedMacro, "");

    // A path with a percent sign is not taken for a format.
    a = MacroCommandAction(kFolder, "C:\\%s%n.rkm", false, false);
    EXPECT_NE(a.failureMessage.find("/M:\"C:\\%s%n.rkm\"\n\r"), std::string::npos);
}

TEST(LauncherCommands, TrayCommandTexts) {
    const LaunchAction editor = PlainProgramAction(kFolder, "RkEditor.exe");
    EXPECT_EQ(editor.target, "\"C:\\Program Files\\Zorvane\\RkEditor.exe\"");
    EXPECT_EQ(editor.show, 10);
    EXPECT_EQ(editor.watchedMacro, "") << "only a macro run is watched";
    EXPECT_EQ(editor.failureMessage,
              "\"C:\\Program Files\\Zorvane\\RkEditor.exe\"\n\rが処理できません。");

    const std::string log = RunLogPath("C:\\Users\\u\\AppData\\Roaming\\Ostrand\\Zorvane\\");
    EXPECT_EQ(log, "C:\\Users\\u\\AppData\\Roaming\\Ostrand\\Zorvane\\Zorvane_Log.txt");
    EXPECT_EQ(NotepadCommandLine(log), "notepad.exe \"" + log + "\"");
    EXPECT_EQ(LogOpenFailedMessage(),
              "ログファイルが開けません。\r\nインストールパスの「RkEngine.exe."
              "log」ファイルを直接開いて下さい。");

    // The folder (UTF-8: 表 is E8 A1 A8) is escaped as a browser reads it back.
    EXPECT_EQ(ReadmeAddress("C:\\My Tools\\\xE8\xA1\xA8\\"),
              "file:///C:/My%20Tools/%E8%A1%A8/Readme.html");
    EXPECT_EQ(UpdateCommandLine(kFolder), "\"C:\\Program Files\\Zorvane\\OstrandUpdate.exe\"");
}

TEST(LauncherCommands, VersionBlock) {
    EXPECT_EQ(AboutProgramNames(),
              (std::vector<std::string>{"Zorvane.exe", "RkEditor.exe", "RkEngine.exe"}));
    EXPECT_EQ(ComposeVersionBlock({{"Zorvane.exe", "2.0.2.0"},
                                   {"RkEditor.exe", std::nullopt},
                                   {"RkEngine.exe", "2.0.0.0"}}),
              "【プログラムバージョン詳細】\r\nZorvane.exe\x81\x40ver-2.0.2.0\r\nRkEditor."
              "exe\x81\x40--\r\n"
              "RkEngine.exe\x81\x40ver-2.0.0.0");
    EXPECT_EQ(ComposeVersionBlock({}), "【プログラムバージョン詳細】\r\n");
}

// Runs a sequence of tray notifications and timer firings through the logic and, as
// the window would, turns posted messages into events.
struct TrayRun {
    TrayClickLogic logic;
    bool timerRunning = false;
    std::vector<TrayEvent> events;
    void Apply(const TrayStep& s) {
        if (s.startTimer)
            timerRunning = true;
        if (s.killTimer)
            timerRunning = false;
        if (s.post != 0)
            events.push_back(TrayEventOf(s.post));
    }
    void Notify(unsigned msg, unsigned icon = kTrayIconId) { Apply(logic.OnNotify(icon, msg)); }
    void TimerElapses() {
        if (timerRunning)
            Apply(logic.OnTimer());
    }
};

TEST(TrayClick, SingleClickIsReportedOnceWhenTheTimerFires) {
    TrayRun r;
    r.Notify(kMsgLButtonDown);
    EXPECT_TRUE(r.timerRunning);
    r.Notify(kMsgLButtonUp);
    EXPECT_TRUE(r.events.empty()) << "nothing until the double-click time has passed";
    r.TimerElapses();
    r.TimerElapses();
    EXPECT_EQ(r.events, std::vector<TrayEvent>{TrayEvent::Click});
    EXPECT_FALSE(r.timerRunning);
}

TEST(TrayClick, DoubleClickIsReportedOnceAndNoClick) {
    TrayRun r;
    r.Notify(kMsgLButtonDown);
    r.Notify(kMsgLButtonUp);
    r.Notify(kMsgLButtonDblClk);
    EXPECT_FALSE(r.timerRunning);
    r.Notify(kMsgLButtonUp);
    r.TimerElapses();
    EXPECT_EQ(r.events, std::vector<TrayEvent>{TrayEvent::DoubleClick});

    // The next press starts over: a plain click again.
    r.events.clear();
    r.Notify(kMsgLButtonDown);
    r.Notify(kMsgLButtonUp);
    r.TimerElapses();
    EXPECT_EQ(r.events, std::vector<TrayEvent>{TrayEvent::Click});
}

TEST(TrayClick, RightClickOtherIconsAndOtherMessages) {
    TrayRun r;
    r.Notify(kMsgRButtonUp);
    EXPECT_EQ(r.events, std::vector<TrayEvent>{TrayEvent::Menu});
    r.events.clear();
    r.Notify(kMsgLButtonDown, 101);
    r.Notify(kMsgRButtonUp, 101);
    EXPECT_FALSE(r.timerRunning);
    r.Notify(0x0200);  // WM_MOUSEMOVE
    r.Notify(0x0204);  // WM_RBUTTONDOWN
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(TrayEventOf(0x0200), TrayEvent::None);
}

TEST(ForegroundLock, SavedLoweredAndRestored) {
    using Values = std::vector<std::uint32_t>;
    using Text = std::vector<std::string>;
    const Text refused = {
        "フォーカスロックタイムを０に設定できませんでした。\nセキュリティポリシー等によりレジスト"
        "リへ書き込みができないと失敗します。\nマクロによるフォーカス切り替えが正常に行えません"
        "。",
        "フォーカスロックタイムを元に戻せませんでした。"};
    const struct {
        const char* what;
        int saved;  // in the configuration file beforehand, -1 for none
        std::optional<std::uint32_t> registry, system;
        bool refuseSet, lowered;
        int savedAfter;  // -1: no file written
        std::optional<Values> sets;
        Text messages;
    } cases[] = {
        {"first start", -1, 200000, 200000, false, true, 200000, Values{0, 200000}, {}},
        // Not lowered again after a crash left 0; the saved value comes back at the end,
        // also over one the user set meanwhile.
        {"restart after a crash left 0", 200000, 0, {}, false, false, 200000, Values{200000}, {}},
        {"changed meanwhile", 200000, 5000, {}, false, true, 200000, Values{0, 200000}, {}},
        {"0 from the system at first start", -1, {}, 0, false, false, 0, Values{}, {}},
        {"nothing readable", -1, {}, {}, false, false, -1, Values{}, {}},
        {"changes refused", -1, 200000, {}, true, false, 200000, {}, refused},
        {"huge value", -1, 0xFFFFFFF0u, {}, false, true, 2147483647, {}, {}},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        IniProfile profile(host.fs, "C:\\z.ini");
        if (c.saved >= 0)
            profile.WriteInt("RkEngineSettings", "FOREGROUNDLOCKTIMEOUT", c.saved);
        test::FakeForegroundLock sys;
        sys.registry = c.registry;
        sys.system = c.system;
        sys.refuseSet = c.refuseSet;
        EXPECT_EQ(LowerForegroundLockTimeout(sys, profile, host), c.lowered) << c.what;
        RestoreForegroundLockTimeout(sys, profile, host);
        EXPECT_EQ(profile.GetInt("RkEngineSettings", "FOREGROUNDLOCKTIMEOUT", -1), c.savedAfter)
            << c.what;
        EXPECT_EQ(host.fs.files.count("C:\\z.ini"), c.savedAfter < 0 ? 0u : 1u) << c.what;
        if (c.sets) {
            EXPECT_EQ(sys.sets, *c.sets) << c.what;
        }
        EXPECT_EQ(host.messages, c.messages) << c.what;
    }
}

TEST(LauncherShell, SplashTiming) {
    EXPECT_FALSE(SplashExpired(1000 + 5000, 1000, 5));
    EXPECT_TRUE(SplashExpired(1000 + 5001, 1000, 5));
    EXPECT_TRUE(SplashExpired(0x00000010u, 0xFFFFF000u, 4)) << "the tick count wrapped";
    EXPECT_FALSE(SplashExpired(0x00000010u, 0xFFFFF000u, 5));
    EXPECT_FALSE(SplashExpired(100, 0, 3000000)) << "no overflow for long times";
    for (unsigned m : {0x00A1u, 0x00A4u, 0x00A7u, 0x0100u, 0x0104u, 0x0201u, 0x0204u, 0x0207u}) {
        EXPECT_TRUE(IsSplashDismissInput(m)) << m;
    }
    for (unsigned m : {0x0200u, 0x0202u, 0x0101u, 0x0102u, 0x0113u, 0x020Au})
        EXPECT_FALSE(IsSplashDismissInput(m)) << m;
    EXPECT_EQ(SplashPosition(1280, 800, 400, 100, 96), (ScreenPoint{440, 246}));
}

TEST(LauncherShell, HotkeyMessageAndTargetCaption) {
    EXPECT_EQ(
        HotkeyNotRegisteredMessage(1, 0x5A, "Hot key is already registered.\r\n"),
        "ホットキー「MOD=01 + KEY=5A」\r\nが登録出来ません。\n\rHot key is already registered.\r\n"
        "\n\r「ホットキーの設定(H)」で設定を変更してみて下さい。");
    EXPECT_NE(HotkeyNotRegisteredMessage(0x0F, 0x7B, "").find("MOD=0F + KEY=7B"),
              std::string::npos);
    EXPECT_NE(HotkeyNotRegisteredMessage(0, 0, "%s%n").find("\n\r%s%n\n\r"), std::string::npos);

    EXPECT_EQ(TargetCaptionOf("無題 - メモ帳"), "無題 - メモ帳");
    const std::string caption = std::string(258, 'a') + "表";
    EXPECT_EQ(TargetCaptionOf(caption), std::string(258, 'a')) << "not cut inside a character";
    EXPECT_EQ(TargetCaptionOf(std::string(300, 'b')).size(), 259u);
}

TEST(NumericEdit, DigitsAnywhereMinusOnlyFirst) {
    for (const char* ok : {"", "0", "123", "-", "-5", "-0012", "2000"})
        EXPECT_TRUE(IsNumericEditTextAllowed(ok)) << ok;
    for (const char* bad : {"a", "12a", "1-2", "--1", " 1", "1 ", "+1", "1.5", "１", "-x"}) {
        EXPECT_FALSE(IsNumericEditTextAllowed(bad)) << bad;
    }
}

TEST(ImeMode, ConversionWrittenBackPerMode) {
    // Hiragana: native and full shape on, katakana off; other bits kept.
    EXPECT_EQ(ImeConversionForMode(kImeHiragana, 0x02 | 0x10),
              std::optional<std::uint32_t>(0x01 | 0x08 | 0x10));
    // Half-width katakana: native, katakana and 0x40 on, full shape off.
    EXPECT_EQ(ImeConversionForMode(kImeKatakanaHalf, 0x08 | 0x10),
              std::optional<std::uint32_t>(0x01 | 0x02 | 0x10 | 0x40));
    EXPECT_EQ(ImeConversionForMode(kImeKatakanaHalf, 0), std::optional<std::uint32_t>(0x43));
    for (int mode : {kImeLeave, kImeOff, 3, 7, -1})
        EXPECT_EQ(ImeConversionForMode(mode, 0x08), std::nullopt) << mode;
}

}  // namespace
}  // namespace zv
