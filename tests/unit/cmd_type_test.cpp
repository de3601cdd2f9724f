#include <gtest/gtest.h>

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
    }
};

TEST_F(TypeTest, PastesAndRestoresTheClipboard) {
    const auto before = desk.clipboard;
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result, "TYPE  : [Fgwh=000000A0][wh=000000A1]>abc<");
    EXPECT_EQ(desk.events,
              (Events{"idlewait 50 5000", "clip open", "clip list 2", "clip read 1",
                      "clip read C009", "clip close", "clip open", "clip set abc", "clip close",
                      "legacykey 11 down", "legacykey 56 down", "sleep 100", "legacykey 56 up",
                      "legacykey 11 up", "clip open", "clip restore 2", "clip close"}));
    ASSERT_EQ(desk.clipboard.size(), before.size());
    EXPECT_EQ(desk.clipboard[1].bytes, "rich bytes");
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_FALSE(held.AnythingHeld());
}

TEST_F(TypeTest, QuotesAndUnquotedText) {
    EXPECT_TRUE(Call(ExecType, "TYPE:\"say \"hi\" now\""));
    EXPECT_EQ(result, "TYPE  : [Fgwh=000000A0][wh=000000A1]>say \"hi\" now<");
    EXPECT_TRUE(Call(ExecType, "TYPE:abc"));
    EXPECT_EQ(desk.EventsOf("clip set"), (Events{"clip set say \"hi\" now", "clip set abc"}));
}

TEST_F(TypeTest, UnusableTextFailsWithoutAReason) {
    for (const char* line : {"TYPE:", "TYPE:  ", "TYPE:\"abc", "TYPE:\"", "TYPE:'x"}) {
        EXPECT_FALSE(Call(ExecType, line)) << line;
        EXPECT_EQ(result, "") << line;
    }
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(TypeTest, EmptyTextSkipsTheClipboard) {
    EXPECT_TRUE(Call(ExecType, "TYPE:\"\""));
    EXPECT_EQ(result, "TYPE  : [Fgwh=000000A0][wh=000000A1]><");
    EXPECT_EQ(desk.events, (Events{"idlewait 50 5000"}));
}

TEST_F(TypeTest, Substitution) {
    app.params.param1 = "from one";
    EXPECT_TRUE(Call(ExecType, "TYPE:%PARAM1"));
    EXPECT_EQ(desk.EventsOf("clip set").back(), "clip set from one");
    EXPECT_TRUE(Call(ExecType, "TYPE:\"%param1\""));
    EXPECT_EQ(desk.EventsOf("clip set").back(), "clip set from one");
    EXPECT_TRUE(Call(ExecType, "TYPE:%CLIP"));
    EXPECT_EQ(desk.EventsOf("clip set").back(), "clip set earlier");
    desk.events.clear();
    EXPECT_TRUE(Call(ExecType, "TYPE:%PARAM2")) << "an empty parameter types nothing";
    EXPECT_EQ(result, "TYPE  : [Fgwh=000000A0][wh=000000A1]><");
    EXPECT_TRUE(desk.EventsOf("clip set").empty());
}

TEST_F(TypeTest, NoFocusedField) {
    desk.focus = 0;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(
        result,
        "TYPE  : [Fgwh=000000A0][wh=00000000]>abc<\n\t上記文字列を送るフィールドが見つからない");
    desk.foreground = 0;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(
        result,
        "TYPE  : [Fgwh=00000000][wh=00000000]>abc<\n\t上記文字列を送るフィールドが見つからない");
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(TypeTest, TargetNeverIdle) {
    desk.processes[50] = {test::kNever};
    app.settings.typeWaitMSec = 700;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result,
              "TYPE  : [Fgwh=000000A0][wh=000000A1]>abc<\n\tターゲットが入力待ちにならない");
    EXPECT_EQ(desk.now, 700u);
    EXPECT_TRUE(desk.EventsOf("clip").empty());
}

TEST_F(TypeTest, BusyClipboardSendsNoKeys) {
    desk.clipboardBusyUntil = test::kNever;
    app.settings.openClipboardRetry = 2;
    EXPECT_FALSE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result,
              "TYPE  : [Fgwh=000000A0][wh=000000A1]>abc<\n\tクリップボードが使用できない"
              "\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_TRUE(desk.EventsOf("legacykey").empty());
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics, "");
}

TEST_F(TypeTest, ClipboardBusyForAWhileIsReportedInTheResult) {
    desk.clipboardBusyUntil = 200;  // the first open (saving) and two placing attempts fail
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(
        result,
        "TYPE  : [Fgwh=000000A0][wh=000000A1]>abc<\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier") << "saved when it could be opened";
    EXPECT_EQ(desk.EventsOf("legacykey").size(), 4u);
}

TEST_F(TypeTest, FormatsTooLargeToSaveAreNamedInTheResult) {
    desk.clipboard.push_back({49200, std::string(40u << 20, 'p')});  // more than a paste saves
    desk.clipboard.push_back({49201, std::string(40u << 20, 'q')});
    EXPECT_TRUE(Call(ExecType, "TYPE:\"abc\""));
    EXPECT_EQ(result,
              "TYPE  : [Fgwh=000000A0][wh=000000A1]>abc<"
              "\n\t元のクリップボードのうち 2 個の形式は保存しきれないため元に戻らない");
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
    EXPECT_EQ(desk.clipboard.size(), 2u);
}

TEST_F(TypeTest, HugeText) {
    const std::string text(4 << 20, 'x');
    EXPECT_TRUE(Call(ExecType, "TYPE:\"" + text + "\""));
    EXPECT_EQ(result.size(),
              std::string("TYPE  : [Fgwh=000000A0][wh=000000A1]><").size() + text.size());
    EXPECT_EQ(desk.ClipboardTextNow(), "earlier");
}

}  // namespace
}  // namespace zv
