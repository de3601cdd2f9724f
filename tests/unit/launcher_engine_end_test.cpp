// The launcher's answer to the end of an engine it started: nothing after the engine's own
// end; after a cut-off, key-ups for exactly the modifiers the system still counts as down
// and one entry at the end of the run log.
#include <gtest/gtest.h>

#include <set>

#include "fake_filesystem.h"
#include "common/winconst.h"
#include "launcher/engine_end.h"

namespace zv {
namespace {

const LocalTime kMarch5 = {2009, 3, 5, 14, 7, 9};
const std::string kLog = "C:\\u\\Zorvane_Log.txt";
const std::string kMacro = "C:\\m\\朝の準備 表.rkm";

// The system's key state: keys are down by their left or right code, and the shared code
// (SHIFT, CONTROL, MENU) reads as down while either side is. A key-up of the shared code
// lets go of both sides. Tracks every event sent.
class FakeKeyboard : public IModifierKeyboard {
public:
    std::set<std::uint32_t> down;
    std::vector<std::pair<std::uint32_t, bool>> sent;  // (code, up)

    bool IsDown(std::uint32_t vk) override {
        if (down.count(vk))
            return true;
        const std::uint32_t left = SideOf(vk);
        return left != 0 && (down.count(left) || down.count(left + 1));
    }
    void SendKey(std::uint32_t vk, bool up) override {
        sent.push_back({vk, up});
        if (!up) {
            down.insert(vk);
            return;
        }
        down.erase(vk);
        if (const std::uint32_t left = SideOf(vk); left != 0) {
            down.erase(left);
            down.erase(left + 1);
        }
    }

private:
    static std::uint32_t SideOf(std::uint32_t shared) {
        return shared >= 0x10 && shared <= 0x12 ? 0xA0 + 2 * (shared - 0x10) : 0;
    }
};

using Events = std::vector<std::pair<std::uint32_t, bool>>;

TEST(LauncherEngineEnd, AnEngineThatEndedByItselfIsLeftAlone) {
    test::MemoryFileSystem fs;
    fs.files[kLog] = "run\r\n";
    FakeKeyboard keyboard;
    keyboard.down = {0xA0};  // the user's own Shift, say
    const EngineEndOutcome outcome = HandleEngineEnd(kMacro, 0, keyboard, fs, kLog, kMarch5);
    EXPECT_FALSE(outcome.cutOff);
    EXPECT_TRUE(keyboard.sent.empty());
    EXPECT_EQ(fs.files[kLog], "run\r\n");
}

TEST(LauncherEngineEnd, KeyUpsOnlyForTheModifiersStillDown) {
    test::MemoryFileSystem fs;
    FakeKeyboard keyboard;
    keyboard.down = {0xA0, 0xA3, 'V', 0x14};  // LSHIFT, RCONTROL, V, Caps Lock
    const EngineEndOutcome outcome = HandleEngineEnd(kMacro, 1, keyboard, fs, kLog, kMarch5);
    EXPECT_TRUE(outcome.cutOff);
    EXPECT_EQ(keyboard.sent, (Events{{0xA0, true}, {0xA3, true}}));
    EXPECT_EQ(outcome.released, (std::vector<std::uint32_t>{0xA0, 0xA3}));
    EXPECT_EQ(keyboard.down, (std::set<std::uint32_t>{'V', 0x14})) << "other keys are not touched";
}

TEST(LauncherEngineEnd, AltOrWinIsLetGoBehindAKeyWithoutMeaning) {
    for (std::uint32_t vk : {0xA4u, 0xA5u, 0x5Bu, 0x5Cu}) {
        FakeKeyboard keyboard;
        keyboard.down = {vk};
        EXPECT_EQ(ReleaseHeldModifiers(keyboard), (std::vector<std::uint32_t>{vk}));
        EXPECT_EQ(keyboard.sent, (Events{{kVkMenuMask, false}, {kVkMenuMask, true}, {vk, true}}))
            << "the mask comes first, while the key is still down: " << vk;
    }
    FakeKeyboard shiftOnly;
    shiftOnly.down = {0xA1};
    ReleaseHeldModifiers(shiftOnly);
    EXPECT_EQ(shiftOnly.sent, (Events{{0xA1, true}})) << "no mask for Shift or Ctrl";
}

// A system that keeps only the shared codes (no side is down) is let go through them.
class SharedCodesOnly : public FakeKeyboard {
public:
    bool IsDown(std::uint32_t vk) override { return down.count(vk) > 0; }
};

TEST(LauncherEngineEnd, SharedCodeWhenNoSideIsDown) {
    SharedCodesOnly keyboard;
    keyboard.down = {0x11};
    EXPECT_EQ(ReleaseHeldModifiers(keyboard), (std::vector<std::uint32_t>{0x11}));
    EXPECT_EQ(keyboard.sent, (Events{{0x11, true}}));
    EXPECT_TRUE(keyboard.down.empty());

    FakeKeyboard sides;  // both codes down: the side is let go, not the shared code as well
    sides.down = {0xA2};
    ReleaseHeldModifiers(sides);
    EXPECT_EQ(sides.sent, (Events{{0xA2, true}}));
}

TEST(LauncherEngineEnd, CutOffIsAppendedToTheRunLog) {
    test::MemoryFileSystem fs;
    const std::string run = "[09/03/05 14:07:01] " + kMacro + " マクロ処理開始\r\n";
    fs.files[kLog] = run;
    FakeKeyboard keyboard;
    keyboard.down = {0xA0, 0xA2};
    const EngineEndOutcome outcome =
        HandleEngineEnd(kMacro, 0xC0000005, keyboard, fs, kLog, kMarch5);
    EXPECT_TRUE(outcome.logged);
    EXPECT_EQ(fs.files[kLog],
              run +
                  "[09/03/05 14:07:09] <ERROR>RkEngineの強制終了により下記のマクロ処理は中断"
                  "（終了コード=0xC0000005）\r\n"
                  "\t" +
                  kMacro +
                  "\r\n"
                  "\t押されたままの修飾キーを解放：LSHIFT(A0) + LCONTROL(A2)\r\n");
    EXPECT_TRUE(fs.openExclusive.empty()) << "the log is let go at once";

    // Nothing held and no log yet: the entry starts one, without the keys line.
    fs.files.clear();
    FakeKeyboard idle;
    EXPECT_TRUE(HandleEngineEnd("C:\\%s.rkm", 1, idle, fs, kLog, kMarch5).logged);
    EXPECT_EQ(fs.files[kLog],
              "[09/03/05 14:07:09] <ERROR>RkEngineの強制終了により下記のマクロ処理は中断"
              "（終了コード=0x00000001）\r\n\tC:\\%s.rkm\r\n");
    EXPECT_TRUE(idle.sent.empty());
}

TEST(LauncherEngineEnd, KeysAreLetGoEvenWhenTheLogIsHeld) {
    test::MemoryFileSystem fs;
    fs.files[kLog] = "another run\r\n";
    fs.openExclusive.insert(kLog);  // another engine is running and holds it
    FakeKeyboard keyboard;
    keyboard.down = {0xA4};
    const EngineEndOutcome outcome = HandleEngineEnd(kMacro, 1, keyboard, fs, kLog, kMarch5);
    EXPECT_FALSE(outcome.logged);
    EXPECT_EQ(outcome.released, (std::vector<std::uint32_t>{0xA4}));
    EXPECT_EQ(fs.files[kLog], "another run\r\n");
}

}  // namespace
}  // namespace zv
