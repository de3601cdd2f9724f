#include <gtest/gtest.h>

#include <map>

#include "command_fixture.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;

class TypeTest : public test::CommandFixture, public ::testing::Test {
protected:
    void SetUp() override {
        desk.windows = {{0xA0, "メモ帳", 50}};
        desk.processes[50] = {0};
        desk.foreground = 0xA0;
        desk.focus = 0xA1;
        desk.SetClipboardTextFormat("earlier");
        desk.clipboard.push_back({49161, "rich bytes"});
        desk.paster = {{50, 0}};  // the target pastes as soon as Ctrl+V reaches it
    }
    static constexpr const char* kNotTaken = "\n\tターゲットが上記文字列を受け取ったか確認できない";
    const std::string kAbc =
        "TYPE  : [Fgwh=000000A0][wh=000000A1]>abc<";  // the entry of TYPE:"abc"
};

TEST_F(TypeTest, PastesAndRestoresTheClipboard) {
    const auto before = desk.clipboard;
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, kAbc);
    EXPECT_EQ(
        desk.events,
        (Events{"idlewait 50 5000", "bounded 1050",   "clip open",         "clip list 2",
                "clip read 1",      "clip read C009", "clip close",        "clip open",
                "clip offer abc",   "clip close",     "legacykey 11 down", "legacykey 56 down",
                "paste abc",        "sleep 100",      "legacykey 56 up",   "legacykey 11 up",
                "clip wait 5000",   "clip open",      "clip restore 2",    "clip close"}));
    ASSERT_EQ(desk.clipboard.size(), before.size());
    EXPECT_EQ(desk.clipboard[1].bytes, "rich bytes");
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_FALSE(held.AnythingHeld());
}

TEST_F(TypeTest, TheTypedTextIsMarkedForMonitorsHistoryAndCloud) {
    EXPECT_TRUE(Call(ExecType, "TYPE:\"secret\""));
    ASSERT_EQ(desk.pasted, (Events{"secret"}));
    std::map<std::uint32_t, std::string> during;
    for (const auto& f : desk.pastedFrom[0])
        during[f.format] = f.bytes;
    const std::string zero(4, '\0');
    for (const char* name : {"ExcludeClipboardContentFromMonitorProcessing",
                             "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"}) {
        const std::uint32_t id = desk.NamedClipboardFormat(name);
        EXPECT_EQ(during[id], zero) << name;
        for (const auto& f : desk.clipboard)
            EXPECT_NE(f.format, id) << name << " goes with the text";
    }
    EXPECT_EQ(during[kCfText], std::string("secret") + '\0');
}

TEST_F(TypeTest, ATargetThatPastesLateGetsTheTypedText) {
    // Busy for three seconds after Ctrl+V: the user's clipboard goes back after the paste.
    desk.paster = {{50, 3000}};
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, kAbc);
    EXPECT_EQ(desk.pasted, (Events{"abc"}));
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_EQ(desk.now, 3000u) << "restored as soon as the text was taken";

    // One that never pastes: the clipboard comes back after TypeWaitMSec, and the log says
    // that the paste is not known to have happened.
    desk.paster.reset();
    app.settings.typeWaitMSec = 700;
    const std::uint64_t start = desk.now;
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, kAbc + kNotTaken);
    EXPECT_EQ(desk.now - start, 800u) << "the key pause and TypeWaitMSec";
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
}

TEST_F(TypeTest, AClipboardBusyAtTheRestoreIsNamedInTheEntry) {
    app.settings.openClipboardRetry = 2;
    desk.clipboardBusyFrom = 50;  // another program takes it during the key pause
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(
        result,
        kAbc +
            "\n\tクリップボードが使用できないため元のクリップボードの 2 個の形式が元に戻らず、"
            "上記文字列がクリップボードに残っている\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_EQ(desk.ClipboardTextNow(), "abc");

    desk.clipboard.clear();
    desk.clipboardBusyFrom = desk.now + 50;
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result,
              kAbc +
                  "\n\tクリップボードが使用できないため上記文字列がクリップボードに残っている"
                  "\n\t\tAccess is denied.\n\t\tAccess is denied.");
}

TEST_F(TypeTest, EmptyTextSkipsTheClipboard) {
    EXPECT_TRUE(Call(ExecType, "TYPE:\"\""));
    EXPECT_EQ(result, "TYPE  : [Fgwh=000000A0][wh=000000A1]><");
    EXPECT_EQ(desk.events, (Events{"idlewait 50 5000"}));
}

TEST_F(TypeTest, AClipboardOwnerThatNeverRendersMakesClipUnreadableNotEndless) {
    desk.renderMs[kCfText] = test::kNever;
    const std::uint64_t start = desk.now;
    EXPECT_TRUE(ParseType("TYPE:%CLIP", app.params, desk).ok);
    EXPECT_EQ(desk.now - start, 1000u);
}

TEST_F(TypeTest, NoFocusedField) {
    const std::string noField = "[wh=00000000]>abc<\n\t上記文字列を送るフィールドが見つからない";
    desk.focus = 0;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, "TYPE  : [Fgwh=000000A0]" + noField);
    desk.foreground = 0;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, "TYPE  : [Fgwh=00000000]" + noField);
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(TypeTest, TargetNeverIdle) {
    desk.processes[50] = {test::kNever};
    app.settings.typeWaitMSec = 700;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, kAbc + "\n\tターゲットが入力待ちにならない");
    EXPECT_EQ(desk.now, 700u);
    EXPECT_TRUE(desk.EventsOf("clip").empty());
}

TEST_F(TypeTest, BusyClipboardSendsNoKeys) {
    desk.clipboardBusyUntil = test::kNever;
    app.settings.openClipboardRetry = 2;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, kAbc +
                          "\n\tクリップボードが使用できない"
                          "\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_TRUE(desk.EventsOf("legacykey").empty());
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics, "");
}

TEST_F(TypeTest, ClipboardBusyForAWhileIsReportedInTheResult) {
    desk.clipboardBusyUntil = 200;  // the first open (saving) and two placing attempts fail
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, kAbc + "\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier") << "saved when it could be opened";
    EXPECT_EQ(desk.EventsOf("legacykey").size(), 4u);
}

TEST_F(TypeTest, FormatsTooLargeToSaveAreNamedInTheResult) {
    desk.clipboard.push_back({49200, std::string(40u << 20, 'p')});  // more than a paste saves
    desk.clipboard.push_back({49201, std::string(40u << 20, 'q')});
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result,
              kAbc + "\n\t元のクリップボードのうち 2 個の形式は保存しきれないため元に戻らない");
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_EQ(desk.clipboard.size(), 2u);
}

}  // namespace
}  // namespace zv
