#include <gtest/gtest.h>

#include <random>

#include "dialog_invariants.h"
#include "editor/line_describe.h"

namespace zv {
namespace {

using namespace std::string_view_literals;

TEST(LineDescribe, TypeLabelAndDescriptionByTheKeywordAtByteZero) {
    const std::tuple<const char*, int, const char*, const char*, bool> cases[] = {
        {"LAUNCH:calc.exe,END", kCmdLaunch, "プログラム起動:", ">calc.exe< 完了=終了待ち", true},
        {"FOCUS:\"電卓\"", kCmdFocus, "ウィンドウフォーカス:", ">電卓<", true},
        {"WAIT:500,3", kCmdWait, "ウェイト:", "500 mm秒 アイドルまでの繰り返し 3 回", true},
        {"KEYIN:MENU F4", kCmdKeyin, "キー入力:", "ALT + F4", true},
        {"TYPE:%CLIP", kCmdType, "文字列入力:", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容", true},
        {"MOUSE:1,2,R", kCmdMouse, "マウス操作:", "Screen:X=1 Y=2  ﾎﾞﾀﾝ:右ｸﾘｯｸ", true},
        // A known keyword with parameters its describe cannot read: the whole line, red.
        {"MOUSE:1", kCmdMouse, "マウス操作:", "MOUSE:1", false},
        {"WAIT:-1", kCmdWait, "ウェイト:", "WAIT:-1", false},
    };
    for (const auto& [line, type, label, text, valid] : cases) {
        const LineView v = DescribeLine(line);
        EXPECT_EQ(v.type, type) << line;
        EXPECT_EQ(v.label, label) << line;
        EXPECT_EQ(v.description.text, text) << line;
        EXPECT_EQ(v.description.valid, valid) << line;
    }
    // Lower case, indented or unknown: no type, nothing but the number is drawn.
    for (const char* line : {"wait:500", " WAIT:500", "WAIT 500", "", "; comment"}) {
        const LineView v = DescribeLine(line);
        EXPECT_EQ(v.type, kCmdNone) << line;
        EXPECT_EQ(v.label, "") << line;
        EXPECT_EQ(v.description.text, "") << line;
    }
}

TEST(LineDescribe, EdgeLinesKeepEveryInvariant) {
    const char* lines[] = {
        "",
        "WAIT:",
        "WAIT:2147483648,99999999999",
        "KEYIN:MENU",
        "KEYIN:REP=3 MENU",
        "KEYIN:A\tB REP=2",
        "KEYIN:abcdefghijklmn\tx",
        "FOCUS:\"\"",
        "FOCUS:'a'b'",
        "TYPE:\"%clip\"",
        "LAUNCH:\"\"a b\" c\",wait",
        "LAUNCH:END",
        "MOUSE:-2147483648,-99999999999,w+,local",
        "MOUSE:1,2,LOCAL,LOCAL",
        "no colon",
    };
    for (const char* line : lines)
        EXPECT_EQ(test::CheckDialogLine(line), "") << line;
}

// Random lines from fragments of all six syntaxes, each behind each keyword.
TEST(LineDescribe, RandomLinesKeepEveryInvariant) {
    const std::string_view fragments[] = {
        ","sv,    ",,"sv,          " "sv,     "0"sv,       "1"sv,
        "42"sv,   "-"sv,           "-7"sv,    "4000"sv,    "99999999999"sv,
        "REP="sv, "rep=2"sv,       "MENU"sv,  "menu"sv,    "LOCAL"sv,
        "L"sv,    "dd"sv,          "W-"sv,    "Q"sv,       "\""sv,
        "'"sv,    "*"sv,           "%CLIP"sv, "%param1"sv, "CONTROL"sv,
        "s"sv,    "WAIT"sv,        "end"sv,   "\t"sv,      "\x82"sv,
        "表"sv,   "\x83\x45"sv,    "\0"sv,    "\xFF"sv,    "ABCDEFGHIJKLMNOP"sv,
        ":"sv,    "notepad.exe"sv,
    };
    const std::string_view keywords[] = {
        "WAIT:", "KEYIN:", "TYPE:", "MOUSE:", "FOCUS:", "LAUNCH:", "", "wait:"};
    std::mt19937 rng(4711);
    int readable = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string line(keywords[rng() % std::size(keywords)]);
        for (int n = static_cast<int>(rng() % 7); n > 0; --n)
            line += fragments[rng() % std::size(fragments)];
        const std::string broken = test::CheckDialogLine(line);
        ASSERT_EQ(broken, "") << line;
        readable += DescribeLine(line).description.valid ? 1 : 0;
    }
    EXPECT_GT(readable, 2000);  // enough readable lines to exercise the round trips
}

}  // namespace
}  // namespace zv
