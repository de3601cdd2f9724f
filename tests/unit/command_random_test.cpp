// Command lines through every handler, made with what they stand for: each handler does
// what its line says (outcome, result text, input), or fails with the line's message and
// sends nothing; after every line nothing is held and the pointer settings and the
// clipboard are back. Random bytes get the same checks in the fuzz targets.
#include <gtest/gtest.h>

#include "command_fixture.h"
#include "command_lines.h"
#include "common/strutil.h"

namespace zv {
namespace {

using Events = std::vector<std::string>;
using Handler = bool (*)(CommandContext&, const std::string&, std::string&);

constexpr Point kOrigin{100, 50};  // the client area of the front window

// The button events of each MOUSE action word, sent after the pointer settings are back.
const Events kActionEvents[] = {
    {"mouse 2 0 0 0", "mouse 4 0 0 0"},
    {"mouse 8 0 0 0", "mouse 10 0 0 0"},
    {"mouse 20 0 0 0", "mouse 40 0 0 0"},
    {"mouse 2 0 0 0", "mouse 4 0 0 0", "sleep 100", "mouse 2 0 0 0", "mouse 4 0 0 0"},
    {"mouse 8 0 0 0", "mouse 10 0 0 0", "sleep 100", "mouse 8 0 0 0", "mouse 10 0 0 0"},
    {"mouse 20 0 0 0", "mouse 40 0 0 0", "sleep 100", "mouse 20 0 0 0", "mouse 40 0 0 0"},
    {"mouse 80 0 0 1", "mouse 100 0 0 1"},
    {"mouse 800 0 0 -120"},
    {"mouse 800 0 0 120"},
    {},  // DD: the button is pressed before the move and released before the settings
};

class CommandLines : public test::CommandFixture, public ::testing::Test {
protected:
    void SetUp() override {
        desk.windows = {
            {0x10, "表示 - W", 3, 0, false, kOrigin}, {0x20, "W", 4, 0, true}, {0x30, "Wide", 5}};
        desk.processes[3] = desk.processes[5] = {0};
        desk.startedProcess.endsAt = 0;
        desk.SetClipboardTextFormat(test::kClipValue);
        desk.clipboard.push_back({49161, "more"});
        app.params.param1 = test::kParam1Value;
        app.settings.focusCheckRetry = 2;
        desk.paster = {{3, 0}};  // the window in front pastes as soon as Ctrl+V reaches it
    }
    // Runs a line with the first window in front and the pointer at 0, 0, and checks what
    // holds after any line.
    bool Run(Handler handler, const std::string& line) {
        desk.events.clear();
        desk.started.clear();
        desk.pasted.clear();
        desk.inputs = 0;
        desk.foreground = 0x10;
        desk.focus = 0x11;
        desk.cursor = {0, 0};
        const bool ok = Call(handler, line);
        EXPECT_FALSE(held.AnythingHeld()) << line;
        EXPECT_EQ(desk.mouseParams, (MouseParams{6, 10, 1, 4})) << line;
        EXPECT_EQ(desk.clipboard.size(), 2u) << line;
        EXPECT_EQ(desk.ClipboardTextNow(), test::kClipValue) << line;
        EXPECT_EQ(desk.protocolErrors, 0) << line;
        if (!ok) {
            EXPECT_EQ(desk.inputs, 0u) << line;
        }
        return ok;
    }

public:
    // What each handler must have done with a line it reads; false when it must fail.
    bool Waited(const test::LineCase& c) {
        EXPECT_EQ(result,
                  StrPrintf("WAIT  : %d mm sec", c.time) +
                      (c.loops ? StrPrintf(" [%d max loop] -OK[wh=00000010]", c.loops) : ""));
        EXPECT_EQ(desk.events, (c.loops ? Events{StrPrintf("sleep %d", c.time), "idlewait 3 0"}
                                        : Events{StrPrintf("sleep %d", c.time)}));
        return true;
    }
    bool Pressed(const test::LineCase& c) {
        std::string text = "KEYIN : ";
        Events once;
        for (std::size_t i = 0; i < c.codes.size(); ++i) {
            text += (i ? " + " : "") + c.pressed[i];
            once.push_back(StrPrintf("key %02X down", c.codes[i]));
        }
        once.push_back("sleep 100");
        for (auto code = c.codes.rbegin(); code != c.codes.rend(); ++code)
            once.push_back(StrPrintf("key %02X up", *code));
        once.push_back("sleep 100");
        Events all;
        for (int i = 0; i < c.repeat; ++i)
            all.insert(all.end(), once.begin(), once.end());
        EXPECT_EQ(result, text + (c.repeat > 1 ? StrPrintf(" <Repeat=%d>", c.repeat) : ""));
        EXPECT_EQ(desk.events, all);
        return true;
    }
    bool Clicked(const test::LineCase& c) {
        const auto at = [](std::int32_t v, std::int32_t origin) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(
                std::int64_t{v} + origin, std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max()));
        };
        const Point target =
            c.local ? Point{at(c.x, kOrigin.x), at(c.y, kOrigin.y)} : Point{c.x, c.y};
        std::string text = StrPrintf("MOUSE : X=%d Y=%d BUTTON=", target.x, target.y) +
                           (c.action < 0 ? "none" : test::kMouseWords[c.action]);
        text += c.local ? StrPrintf(" POS=LOCAL(wh=00000010 X=%d,Y=%d)", c.x, c.y) : " POS=SCREEN";
        EXPECT_EQ(result, text);
        EXPECT_EQ(desk.cursor, target) << c.line;
        const auto restored =
            std::find(desk.events.begin(), desk.events.end(), "mouseparams 6 10 1 4");
        EXPECT_EQ(Events(restored + (restored != desk.events.end()), desk.events.end()),
                  c.action < 0 ? Events{} : kActionEvents[c.action])
            << c.line;
        return true;
    }
    bool Focused(const test::LineCase& c) {
        std::string caption = c.value;
        const bool partial = caption.ends_with('*');
        if (partial)
            caption.pop_back();
        std::string text = "FOCUS : >" + caption + (partial ? "< [部分一致]" : "< [完全一致]");
        const auto found =
            std::find_if(desk.windows.begin(), desk.windows.end(), [&](const auto& w) {
                return partial ? w.caption.find(caption) != std::string::npos
                               : w.caption == caption;
            });
        const bool ok = found != desk.windows.end() && !found->refuseActivation;
        EXPECT_EQ(result,
                  text + (ok ? "  Check=1 -OK" : "\n\t上記キャプションのウィンドウが見つからない"));
        if (ok) {
            EXPECT_EQ(desk.foreground, found->handle) << c.line;
        }
        return ok;
    }
    bool Typed(const test::LineCase& c) {
        EXPECT_EQ(result, "TYPE  : [Fgwh=00000010][wh=00000011]>" + c.value + "<");
        EXPECT_EQ(desk.pasted, c.value.empty() ? Events{} : Events{c.value}) << c.line;
        return true;
    }
    bool Launched(const test::LineCase& c) {
        EXPECT_EQ(result, "LAUNCH: >" + c.text + "< 完了=" +
                              (c.mode == 0   ? "待たない"
                               : c.mode == 1 ? "起動待ち -OK"
                                             : "終了待ち"));
        EXPECT_EQ(desk.started, Events{c.text});
        return true;
    }
};

TEST_F(CommandLines, EveryHandlerDoesWhatItsLineSays) {
    const struct {
        test::LineCase (test::LineMaker::*make)();
        Handler handler;
        bool (CommandLines::*done)(const test::LineCase&);
    } commands[] = {
        {&test::LineMaker::Wait, ExecWait, &CommandLines::Waited},
        {&test::LineMaker::Keyin, ExecKeyin, &CommandLines::Pressed},
        {&test::LineMaker::Mouse, ExecMouse, &CommandLines::Clicked},
        {&test::LineMaker::Focus, ExecFocus, &CommandLines::Focused},
        {&test::LineMaker::Type, ExecType, &CommandLines::Typed},
        {&test::LineMaker::Launch, ExecLaunch, &CommandLines::Launched},
    };
    test::LineMaker make(20240607);
    int outcomes[std::size(commands)][2] = {};
    for (int i = 0; i < 6 * 1500; ++i) {
        const std::size_t k = static_cast<std::size_t>(i) % std::size(commands);
        const test::LineCase c = (make.*commands[k].make)();
        // Stepwise moves only over short ways, or the run takes long.
        app.settings.mouseMoveReal =
            std::abs(std::int64_t{c.x}) + std::abs(std::int64_t{c.y}) < 6400 && i % 7 == 0;
        const bool ok = Run(commands[k].handler, c.line);
        if (!c.ok) {
            EXPECT_FALSE(ok) << c.line;
            EXPECT_EQ(result, c.error) << c.line;
            EXPECT_TRUE(desk.events.empty()) << c.line;
        } else {
            EXPECT_EQ(ok, (this->*commands[k].done)(c)) << c.line;
        }
        ++outcomes[k][ok];
        if (HasFailure())
            FAIL() << "line " << i << ": " << c.line;
    }
    for (const auto& [failed, succeeded] : outcomes) {
        EXPECT_GT(succeeded, 300);
        EXPECT_GT(failed, 200);
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
