#include <gtest/gtest.h>

#include "command_lines.h"
#include "common/strutil.h"
#include "dialog_invariants.h"

namespace zv {
namespace {

TEST(LineDescribe, TypeLabelAndDescriptionByTheKeywordAtByteZero) {
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"LAUNCH:calc.exe,END", kCmdLaunch, "プログラム起動:", ">calc.exe< 完了=終了待ち"},
        {"FOCUS:\"電卓\"", kCmdFocus, "ウィンドウフォーカス:", ">電卓<"},
        {"WAIT:500,3", kCmdWait, "ウェイト:", "500 mm秒 アイドルまでの繰り返し 3 回"},
        {"KEYIN:MENU F4", kCmdKeyin, "キー入力:", "ALT + F4"},
        {"TYPE:%CLIP", kCmdType, "文字列入力:", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容"},
        {"MOUSE:1,2,R", kCmdMouse, "マウス操作:", "Screen:X=1 Y=2  ﾎﾞﾀﾝ:右ｸﾘｯｸ"},
        {"MOUSE:1", kCmdMouse, "マウス操作:", "MOUSE:1"},  // unreadable: whole, in red
    };
    for (const auto& [line, type, label, text] : cases) {
        const LineView v = DescribeLine(line);
        EXPECT_EQ(v.type, type) << line;
        EXPECT_EQ(v.label, label) << line;
        EXPECT_EQ(v.description.text, text) << line;
        EXPECT_EQ(v.description.valid, text != std::string_view(line)) << line;
    }
    // Lower case or indented: no type, nothing but the number is drawn.
    for (const char* line : {"wait:500", " WAIT:500", "WAIT 500", ""})
        EXPECT_EQ(DescribeLine(line).type, kCmdNone) << line;
}

TEST(LineDescribe, RedIsTheEngineRefusalNotTheDialogs) {
    // Read by the engine though no dialog types or describes them: not red.
    for (const char* line : {"wait:500", " WAIT:500", "; note", "",
                             "KEYIN:A B C D E F G H I J K L M N O P Q R S T U V W X Y Z"}) {
        EXPECT_FALSE(DescribeLine(line).refused) << line;
    }
    // The dialog opens an empty WAIT with 0 and 0, but the engine stops on it.
    const LineView emptyWait = DescribeLine("WAIT:");
    EXPECT_EQ(emptyWait.type, kCmdWait);
    EXPECT_TRUE(emptyWait.refused);
    // No command at all: red too, though it has no type.
    const LineView unknown = DescribeLine("WAIT 500");
    EXPECT_EQ(unknown.type, kCmdNone);
    EXPECT_TRUE(unknown.refused);
    EXPECT_TRUE(DescribeLine("MOUSE:1").refused);
}

// Lines made with what they stand for: each dialog reads them as they were written, or
// refuses them as the editor does, and the list shows them so.
TEST(LineDescribe, MadeLinesReadAsTheyWereWritten) {
    test::LineMaker make(1802);
    const auto shown = [](const test::LineCase& c, int type, const std::string& text) {
        const LineView v = DescribeLine(c.line);
        EXPECT_EQ(v.type, type) << c.line;
        EXPECT_EQ(v.description.valid, c.dialogOk) << c.line;
        EXPECT_EQ(v.description.text, c.dialogOk ? text : c.line);
        // Red: what the engine refuses. A FOCUS caption that only an empty run-time value
        // empties is refused by the run alone.
        const bool runTimeOnly = type == kCmdFocus && c.dialogOk && c.value.empty();
        EXPECT_EQ(v.refused, !c.ok && !runTimeOnly) << c.line;
    };
    for (int i = 0; i < 2000 && !::testing::Test::HasFailure(); ++i) {
        test::LineCase c = make.Wait();
        EXPECT_EQ(ParseWaitLine(c.line).ok, c.dialogOk) << c.line;
        if (c.dialogOk) {
            EXPECT_EQ(OpenWaitDialog(c.line), (WaitFields{c.time, c.loops})) << c.line;
        }
        shown(c, kCmdWait, StrPrintf("%d mm秒 アイドルまでの繰り返し %d 回", c.time, c.loops));

        c = make.Keyin();
        KeyinFields keys;
        keys.repeat = c.repeat;
        std::string text;
        std::size_t n = 0;
        for (const std::string& key : c.keys) {
            if (key == "MENU")
                keys.alt = true;
            else
                text += " + " + (keys.keys[n++] = key);
        }
        text = (keys.alt ? "ALT" + text : text.substr(std::min<std::size_t>(3, text.size()))) +
               (c.repeat > 1 ? StrPrintf(" <Repeat=%d>", c.repeat) : "");
        EXPECT_EQ(ParseKeyinLine(c.line).ok, c.dialogOk) << c.line;
        // A refused line opens the defaults, repeat 1.
        EXPECT_EQ(OpenKeyinDialog(c.line), c.dialogOk ? keys : KeyinFields{}) << c.line;
        shown(c, kCmdKeyin, text);

        c = make.Mouse();
        const MouseFields mouse{c.x, c.y, c.action + 1, c.local};
        EXPECT_EQ(ParseMouseLine(c.line).ok, c.dialogOk) << c.line;
        if (c.dialogOk) {
            EXPECT_EQ(OpenMouseDialog(c.line), mouse) << c.line;
        }
        shown(c, kCmdMouse,
              StrPrintf("%s:X=%d Y=%d  ﾎﾞﾀﾝ:", c.local ? "Local" : "Screen", c.x, c.y) +
                  std::string(
                      kMouseButtonChoices[static_cast<std::size_t>(mouse.button)].description));

        c = make.Focus();
        EXPECT_EQ(ParseFocusLine(c.line).ok, c.dialogOk) << c.line;
        EXPECT_EQ(ParseFocusLine(c.line).caption, c.dialogOk ? c.text : "") << c.line;
        shown(c, kCmdFocus, ">" + c.text + "<");

        c = make.Type();
        TypeFields typed{kTypeSourceText, c.text};
        for (std::size_t t = 0; t < kTypeTokens.size(); ++t) {
            if (ToUpperAscii(c.text) == kTypeTokens[t].token)
                typed = {kTypeSourceClipboard + static_cast<int>(t), ""};
        }
        EXPECT_EQ(ParseTypeLine(c.line).ok, c.dialogOk) << c.line;
        if (c.dialogOk) {
            EXPECT_EQ(OpenTypeDialog(c.line), typed) << c.line;
        }
        shown(c, kCmdType,
              typed.source
                  ? std::string(kTypeTokens[static_cast<std::size_t>(typed.source - 1)].description)
                  : ">" + c.text + "<");

        c = make.Launch();
        EXPECT_EQ(ParseLaunchLine(c.line).ok, c.dialogOk) << c.line;
        if (c.dialogOk) {
            EXPECT_EQ(OpenLaunchDialog(c.line), (LaunchFields{c.text, c.mode})) << c.line;
        }
        shown(c, kCmdLaunch,
              ">" + c.text +
                  "< 完了=" + std::string(kLaunchWaitModes[static_cast<std::size_t>(c.mode)].word));
    }
}

// Edge lines of the six syntaxes; the dialogs fuzz target puts any bytes behind each keyword.
TEST(LineDescribe, EveryLineKeepsTheInvariants) {
    for (const char* line :
         {"KEYIN:REP=3 MENU", "KEYIN:abcdefghijklmn\tx", "FOCUS:'a'b'", "LAUNCH:\"\"a b\" c\",wait",
          "MOUSE:-2147483648,-99999999999", "WAIT:2147483648", "no colon"})
        EXPECT_EQ(test::CheckDialogLine(line), "") << line;
}

}  // namespace
}  // namespace zv
