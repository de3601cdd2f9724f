// Random command lines through every handler: nothing crashes, a failed parse sends no
// input, nothing is left held, the pointer settings and the clipboard come back, and the
// result texts keep their shapes.
#include <gtest/gtest.h>

#include <random>

#include "command_fixture.h"

namespace zv {
namespace {

using namespace std::string_view_literals;

const std::string_view kFragments[] = {
    ","sv,     ",,"sv,       " "sv,       "  "sv,    "0"sv,           "1"sv,
    "5"sv,     "42"sv,       "-"sv,       "-7"sv,    "99999999999"sv, "REP="sv,
    "rep=2"sv, "REP=3"sv,    "LOCAL"sv,   "L"sv,     "R"sv,           "LW"sv,
    "X"sv,     "W-"sv,       "W+"sv,      "DD"sv,    "Q"sv,           "\""sv,
    "'"sv,     "*"sv,        "%PARAM1"sv, "%CLIP"sv, "%PARAM2"sv,     "CONTROL"sv,
    "shift"sv, "F4"sv,       "WAIT"sv,    "END"sv,   "a"sv,           "\t"sv,
    "\x82"sv,  "\x81\x40"sv, "あ"sv,      "表"sv,    "\x83\x45"sv,    "\0"sv,
    "\xFF"sv,  "\x80"sv,     ";"sv,       ":"sv,     "notepad.exe"sv,
};

std::string RandomFragments(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(0, 8);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kFragments) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string out;
    for (int n = count(rng); n > 0; --n) {
        if (rng() % 8 == 0) {
            out += static_cast<char>(byte(rng));
        } else {
            out += kFragments[pick(rng)];
        }
    }
    return out;
}

// Half the time a well-formed parameter text with up to two random edits, so that both
// accepted and rejected lines are common.
std::string RandomParams(std::mt19937& rng, std::initializer_list<std::string_view> valid) {
    if (rng() % 2 == 0)
        return RandomFragments(rng);
    std::string out(valid.begin()[rng() % valid.size()]);
    for (int edits = static_cast<int>(rng() % 3); edits > 0; --edits) {
        const std::size_t at = out.empty() ? 0 : rng() % (out.size() + 1);
        const std::string_view piece = kFragments[rng() % std::size(kFragments)];
        switch (rng() % 3) {
            case 0:
                out.insert(at, piece);
                break;
            case 1:
                out.erase(at, rng() % 3);
                break;
            default:
                out.replace(at, 1, piece);
                break;
        }
    }
    return out;
}

class RandomLines : public test::CommandFixture, public ::testing::Test {
protected:
    void SetUp() override {
        desk.record = false;
        desk.windows = {{0x10, "W", 3}, {0x20, "1", 4, 0, true}};
        desk.processes[3] = {0};
        desk.foreground = 0x10;
        desk.focus = 0x11;
        desk.SetClipboardTextFormat("keep");
        desk.clipboard.push_back({49161, "more"});
        desk.startedProcess.endsAt = 0;
        app.params.param1 = "p1";
        app.settings.focusCheckRetry = 2;
    }
    // Checks that hold after any command, whatever its outcome.
    void CheckAfter(const std::string& line) {
        EXPECT_FALSE(held.AnythingHeld()) << line;
        EXPECT_EQ(desk.mouseParams, (MouseParams{6, 10, 1, 4})) << line;
        ASSERT_EQ(desk.clipboard.size(), 2u) << line;
        EXPECT_EQ(desk.ClipboardTextNow(), "keep") << line;
        EXPECT_EQ(desk.protocolErrors, 0) << line;
    }
    // Both outcomes must be common, or the inputs test too little.
    void Count(bool ok) { ++(ok ? successes : failures); }
    void TearDown() override {
        EXPECT_GT(successes, 100);
        EXPECT_GT(failures, 100);
    }
    int successes = 0;
    int failures = 0;
    std::mt19937 rng{20240607};
};

TEST_F(RandomLines, Wait) {
    for (int i = 0; i < 3000; ++i) {
        const std::string line = "WAIT:" + RandomParams(rng, {"500", "500,3", "0,,2", "7"});
        const WaitParams p = ParseWait(line);
        if (p.ok && static_cast<std::int64_t>(p.loops) > 1000)
            continue;  // long but legal
        desk.eventCount = 0;
        const bool ok = Call(ExecWait, line);
        Count(ok);
        EXPECT_EQ(ok, p.ok) << line;
        if (ok) {
            EXPECT_TRUE(result.starts_with("WAIT  : ")) << line;
        } else {
            EXPECT_EQ(result, p.error);
            EXPECT_FALSE(result.empty()) << line;
            EXPECT_EQ(desk.eventCount, 0u) << line;
        }
        CheckAfter(line);
    }
}

TEST_F(RandomLines, Keyin) {
    for (int i = 0; i < 3000; ++i) {
        const std::string line =
            "KEYIN:" + RandomParams(rng, {"CONTROL V", "A,REP=2", "shift tab"});
        const KeyinParams p = ParseKeyin(line);
        if (p.ok && p.repeat > 50)
            continue;
        desk.eventCount = 0;
        const bool ok = Call(ExecKeyin, line);
        Count(ok);
        EXPECT_EQ(ok, p.ok) << line;
        if (ok) {
            EXPECT_EQ(result, "KEYIN : " + p.description);
            EXPECT_EQ(desk.eventCount, p.repeat * (2 * p.codes.size() + 2)) << line;
        } else {
            EXPECT_FALSE(result.empty()) << line;
            EXPECT_EQ(desk.eventCount, 0u) << line;
        }
        CheckAfter(line);
    }
}

TEST_F(RandomLines, Mouse) {
    for (int i = 0; i < 3000; ++i) {
        const std::string line =
            "MOUSE:" + RandomParams(rng, {"10,20", "10,20,L", "-5,7,LOCAL,W+", "1,2,DD"});
        app.settings.mouseMoveReal = i % 2;
        desk.cursor = {0, 0};
        desk.eventCount = 0;
        const MouseParse p = ParseMouse(line);
        const bool ok = Call(ExecMouse, line);
        Count(ok);
        EXPECT_EQ(ok, p.ok) << line;
        if (ok) {
            EXPECT_TRUE(result.starts_with("MOUSE : X=")) << line;
            if (app.settings.mouseMoveReal == 0) {
                EXPECT_EQ(desk.cursor, (Point{p.x, p.y})) << line;
            }
        } else {
            EXPECT_FALSE(result.empty()) << line;
            EXPECT_EQ(desk.eventCount, 0u) << line;
        }
        CheckAfter(line);
    }
}

TEST_F(RandomLines, Type) {
    for (int i = 0; i < 2000; ++i) {
        const std::string line = "TYPE:" + RandomParams(rng, {"\"abc\"", "%PARAM1", "x"});
        if (i % 3 == 0)
            desk.clipboardBusyUntil = desk.now + 150;
        const bool ok = Call(ExecType, line);
        Count(ok);
        if (ok) {
            EXPECT_TRUE(result.starts_with("TYPE  : [Fgwh=000000")) << line;
        }
        if (!ParseType(line, app.params, desk).ok) {
            EXPECT_EQ(result, "") << line;
        }
        CheckAfter(line);
    }
}

TEST_F(RandomLines, Focus) {
    for (int i = 0; i < 2000; ++i) {
        const std::string line = "FOCUS:" + RandomParams(rng, {"\"W\"", "\"W*\"", "\"*\"", "W"});
        desk.foreground = 0x10;
        const bool ok = Call(ExecFocus, line);
        Count(ok);
        if (ok) {
            EXPECT_TRUE(result.starts_with("FOCUS : >")) << line;
            EXPECT_NE(result.find("  Check="), std::string::npos) << line;
        }
        CheckAfter(line);
    }
}

TEST_F(RandomLines, Launch) {
    for (int i = 0; i < 3000; ++i) {
        const std::string line =
            "LAUNCH:" + RandomParams(rng, {"a.exe", "\"a b.exe\",WAIT", "x,END"});
        desk.started.clear();
        const LaunchParse p = ParseLaunch(line);
        const bool ok = Call(ExecLaunch, line);
        Count(ok);
        EXPECT_EQ(ok, p.ok) << line;
        if (ok) {
            ASSERT_EQ(desk.started.size(), 1u) << line;
            EXPECT_EQ(desk.started[0], p.commandLine);
            EXPECT_EQ(result.rfind("LAUNCH: >" + p.commandLine + "< 完了=", 0), 0u) << line;
        } else {
            EXPECT_EQ(result, "") << line;
            EXPECT_TRUE(desk.started.empty()) << line;
        }
        CheckAfter(line);
    }
}

}  // namespace
}  // namespace zv

namespace zv {
namespace {

class HugeLines : public test::CommandFixture, public ::testing::Test {};

TEST_F(HugeLines, MegabytesAndTruncatedDoubleBytes) {
    const std::string digits(2 << 20, '7');
    const std::string commas(2 << 20, ',');
    const std::string blanks = "A" + std::string(2 << 20, ' ') + "B";
    desk.record = false;
    desk.startedProcess.endsAt = 0;

    EXPECT_TRUE(Call(ExecWait, "WAIT:" + digits + ",0"));
    EXPECT_EQ(result, "WAIT  : 2147483647 mm sec");
    EXPECT_FALSE(Call(ExecWait, "WAIT:1" + commas));
    EXPECT_EQ(result, "第2パラメタが空白");
    EXPECT_FALSE(Call(ExecWait, "WAIT:1\x82"));
    EXPECT_EQ(result, "第1パラメタが正の数値でない");

    EXPECT_TRUE(Call(ExecKeyin, "KEYIN:" + blanks));
    EXPECT_EQ(result, "KEYIN : \"A\"(41) + \"B\"(42)");
    EXPECT_FALSE(Call(ExecKeyin, "KEYIN:" + digits));
    EXPECT_EQ(result.size(), digits.size() + std::string("[]不正なキーコード").size());
    EXPECT_TRUE(Call(ExecKeyin, "KEYIN:\x82"));
    EXPECT_EQ(result, "KEYIN : \"\x82\"(82)");

    EXPECT_TRUE(Call(ExecMouse, "MOUSE:-" + digits + "," + digits));
    EXPECT_EQ(result, "MOUSE : X=-2147483648 Y=2147483647 BUTTON=none POS=SCREEN");
    EXPECT_TRUE(Call(ExecMouse, "MOUSE:1,2" + commas + "L")) << "a comma run is one separator";
    EXPECT_EQ(result, "MOUSE : X=1 Y=2 BUTTON=L POS=SCREEN");
    EXPECT_FALSE(Call(ExecMouse, "MOUSE:1,2,\x82"));
    EXPECT_EQ(result, "第3パラメタのマウスボタン動作[\x82]が認識出来ない");

    EXPECT_FALSE(Call(ExecFocus, "FOCUS:\"" + digits + "\x82\""))
        << "the closing quote is the trail byte of a truncated character: no closing quote";
    EXPECT_EQ(result, "");
    EXPECT_FALSE(Call(ExecLaunch, "LAUNCH:\"" + blanks));
    EXPECT_EQ(result, "");
    EXPECT_TRUE(Call(ExecLaunch, "LAUNCH:" + digits + "\x82,END"));
    EXPECT_EQ(desk.started.back(), digits + "\x82");
    EXPECT_FALSE(Call(ExecType, "TYPE:'" + blanks + "\x82'"));
}

}  // namespace
}  // namespace zv
