#include <gtest/gtest.h>

#include <thread>

#include "fake_desktop.h"
#include "common/syntax/params.h"
#include "engine/input.h"

namespace zv {
namespace {

using test::FakeDesktop;
using Events = std::vector<std::string>;

TEST(MoveMouseStepwise, DiagonalFirstThenStraight) {
    FakeDesktop desk;
    HeldInput held(desk);
    MoveMouseStepwise(held, 5, 2);
    EXPECT_EQ(desk.events, (Events{"mouse 1 1 1 0", "mouse 1 1 1 0", "mouse 1 1 0 0",
                                   "mouse 1 1 0 0", "mouse 1 1 0 0"}));
    desk.events.clear();
    MoveMouseStepwise(held, -3, 1);
    EXPECT_EQ(desk.events, (Events{"mouse 1 -1 1 0", "mouse 1 -1 0 0", "mouse 1 -1 0 0"}));
    desk.events.clear();
    MoveMouseStepwise(held, 0, 0);
    EXPECT_TRUE(desk.events.empty());
    MoveMouseStepwise(held, 0, -2);
    EXPECT_EQ(desk.events, (Events{"mouse 1 0 -1 0", "mouse 1 0 -1 0"}));
}

TEST(MoveMouseStepwise, FarTargetIsBoundedAndEndsWhereTheEdgeWould) {
    FakeDesktop desk;
    desk.record = false;
    HeldInput held(desk);
    MoveMouseStepwise(held, 2147483647, -2147483647 - 1);
    EXPECT_EQ(desk.eventCount, static_cast<std::size_t>(kMaxStepwiseDistance));
    EXPECT_EQ(desk.cursor, (Point{kMaxStepwiseDistance, -kMaxStepwiseDistance}));
}

TEST(TrimTrailingSeparators, BlanksAndCommasOnly) {
    std::string s = "notepad.exe , ,";
    TrimTrailingSeparators(s);
    EXPECT_EQ(s, "notepad.exe");
    s = ", ,";
    TrimTrailingSeparators(s);
    EXPECT_EQ(s, "");
    s = "a,\t";
    TrimTrailingSeparators(s);
    EXPECT_EQ(s, "a,\t") << "a tab is not a separator";
    s = "";
    TrimTrailingSeparators(s);
    EXPECT_EQ(s, "");
}

TEST(FindWindowByCaption, ExactPartialCaseAndOrder) {
    FakeDesktop desk;
    desk.windows = {{0x10, "無題 - メモ帳"}, {0x20, "Untitled - Notepad"}, {0x30, "Notepad Help"}};
    EXPECT_EQ(FindWindowByCaption(desk, "Untitled - Notepad", false), 0x20u);
    EXPECT_EQ(FindWindowByCaption(desk, "untitled - notepad", false), 0u) << "case-sensitive";
    EXPECT_EQ(FindWindowByCaption(desk, "Notepad", false), 0u);
    EXPECT_EQ(FindWindowByCaption(desk, "Notepad", true), 0x20u) << "highest in Z order wins";
    EXPECT_EQ(FindWindowByCaption(desk, "メモ帳", true), 0x10u);
    EXPECT_EQ(FindWindowByCaption(desk, "", true), 0x10u) << "empty partial caption: topmost";
    EXPECT_EQ(FindWindowByCaption(desk, "", false), 0u);
    // "ー" (0x81 0x5B) must not match the trail byte of another character plus the next.
    desk.windows = {{0x40, "\x83\x81\x5B"}};
    EXPECT_EQ(FindWindowByCaption(desk, "\x81\x5B", true), 0u);
    EXPECT_EQ(FindWindowByCaption(desk, "\x83\x81", true), 0x40u);
}

TEST(HeldInput, TracksWhatIsDownAndReleasesInReverse) {
    FakeDesktop desk;
    HeldInput held(desk);
    held.KeyDown(0x11);
    held.KeyDown(0x10);
    held.LegacyKeyDown(0x56);
    held.Mouse(kMouseLeftDown, 0, 0, 0);
    held.Mouse(kMouseXDown, 0, 0, 1);
    held.Mouse(kMouseRightDown | kMouseRightUp, 0, 0, 0);  // pressed and released at once
    held.OverrideMouseParams({6, 10, 1, 4}, {0, 0, 0, 10});
    EXPECT_TRUE(held.AnythingHeld());
    desk.events.clear();

    held.ReleaseAll();
    EXPECT_EQ(desk.events, (Events{"legacykey 56 up", "key 10 up", "key 11 up", "mouse 4 0 0 0",
                                   "mouse 100 0 0 1", "mouseparams 6 10 1 4"}));
    EXPECT_FALSE(held.AnythingHeld());

    // The worker may still be inside its command: nothing more reaches the desktop.
    desk.events.clear();
    held.KeyDown(0x41);
    held.KeyUp(0x11);
    held.Mouse(kMouseMove, 5, 5, 0);
    held.RestoreMouseParams();
    held.ReleaseAll();
    EXPECT_TRUE(desk.events.empty());
}

TEST(HeldInput, BalancedInputLeavesNothingToRelease) {
    FakeDesktop desk;
    HeldInput held(desk);
    held.KeyDown(0x41);
    held.KeyDown(0x41);  // the same key twice in one combination
    held.KeyUp(0x41);
    EXPECT_TRUE(held.AnythingHeld()) << "one down is still unmatched";
    held.KeyUp(0x41);
    held.Mouse(kMouseLeftDown, 0, 0, 0);
    held.Mouse(kMouseMove, 3, 4, 0);
    held.Mouse(kMouseLeftUp, 0, 0, 0);
    held.OverrideMouseParams({1, 2, 3, 4}, {0, 0, 0, 10});
    held.RestoreMouseParams();
    EXPECT_FALSE(held.AnythingHeld());
    desk.events.clear();
    held.ReleaseAll();
    EXPECT_TRUE(desk.events.empty());
    EXPECT_EQ(desk.mouseParams, (MouseParams{1, 2, 3, 4}));
}

TEST(HeldInput, ReleaseFromAnotherThreadWhileKeysArePressed) {
    FakeDesktop desk;
    desk.record = false;
    HeldInput held(desk);
    std::thread worker([&] {
        for (int i = 0; i < 20000; ++i) {
            held.KeyDown(0x11);
            held.KeyDown(0x56);
            held.KeyUp(0x56);
            held.KeyUp(0x11);
        }
        held.KeyDown(0x12);  // left down at the end unless released
    });
    held.ReleaseAll();
    worker.join();
    EXPECT_FALSE(held.AnythingHeld());
}

class ClipboardSaverTest : public ::testing::Test {
protected:
    FakeDesktop desk;
    void SetUp() override {
        desk.clipboard = {{1, std::string("old\0", 4)},
                          {13, std::string("o\0l\0d\0\0\0", 8)},
                          {49161, "rich bytes"}};
    }
};

TEST_F(ClipboardSaverTest, EveryFormatComesBack) {
    const auto before = desk.clipboard;
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_TRUE(saver.HasSaved());
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_EQ(desk.ClipboardTextNow(), "typed");
        EXPECT_EQ(desk.clipboard.size(), 1u);
    }
    ASSERT_EQ(desk.clipboard.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(desk.clipboard[i].format, before[i].format);
        EXPECT_EQ(desk.clipboard[i].bytes, before[i].bytes);
    }
    EXPECT_EQ(desk.events,
              (Events{"clip open", "clip save 3", "clip close", "clip open", "clip set typed",
                      "clip close", "clip open", "clip restore 3", "clip close"}));
    EXPECT_EQ(desk.protocolErrors, 0);
}

TEST_F(ClipboardSaverTest, EmptyClipboardKeepsTheTypedText) {
    desk.clipboard.clear();
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_FALSE(saver.HasSaved());
        ASSERT_TRUE(saver.PlaceText("typed"));
    }
    EXPECT_EQ(desk.ClipboardTextNow(), "typed");
    EXPECT_TRUE(desk.EventsOf("clip restore").empty());
}

TEST_F(ClipboardSaverTest, EmptyTextIsPlacedWithoutOpening) {
    CClipboardTextSaver saver(desk, 50);
    desk.events.clear();
    EXPECT_TRUE(saver.PlaceText(""));
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(ClipboardSaverTest, BusyClipboardRetriesAndCollectsDiagnostics) {
    desk.clipboardBusyUntil = test::kNever;
    CClipboardTextSaver::ClipboardDiagnostics = "left over";
    CClipboardTextSaver saver(desk, 3);
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics, "") << "construction empties it";
    EXPECT_EQ(CClipboardTextSaver::RetryCount, 3);
    desk.events.clear();
    EXPECT_FALSE(saver.PlaceText("typed"));
    EXPECT_EQ(desk.events, (Events{"clip busy", "sleep 100", "clip busy", "sleep 100", "clip busy",
                                   "sleep 100"}));
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics,
              "\n\t\tAccess is denied.\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_EQ(desk.now, 300u);
    EXPECT_FALSE(saver.PlaceText("typed")) << "zero successes, zero changes";
    EXPECT_EQ(desk.clipboard.size(), 3u);
}

TEST_F(ClipboardSaverTest, ZeroRetriesNeverOpens) {
    CClipboardTextSaver saver(desk, 0);
    desk.events.clear();
    EXPECT_FALSE(saver.PlaceText("typed"));
    EXPECT_TRUE(desk.events.empty());
}

TEST_F(ClipboardSaverTest, BusyAtConstructionIsSavedWhenPlacing) {
    desk.clipboardBusyUntil = 150;  // refused at construction, free on the third attempt
    const auto before = desk.clipboard;
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_FALSE(saver.HasSaved());
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_TRUE(saver.HasSaved());
        EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics,
                  "\n\t\tAccess is denied.\n\t\tAccess is denied.");
    }
    EXPECT_EQ(desk.clipboard.size(), before.size()) << "the earlier content was not lost";
    EXPECT_EQ(desk.ClipboardTextNow(), "old");
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics, "") << "destruction empties it";
}

TEST_F(ClipboardSaverTest, FailedSetIsReportedAndTheOldContentRestored) {
    desk.setTextFails = true;
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_FALSE(saver.PlaceText("typed"));
    }
    EXPECT_EQ(desk.ClipboardTextNow(), "old");
    EXPECT_EQ(desk.clipboard.size(), 3u);
}

TEST_F(ClipboardSaverTest, RestoreRetriesWhileTheClipboardIsBusy) {
    {
        CClipboardTextSaver saver(desk, 5);
        ASSERT_TRUE(saver.PlaceText("typed"));
        desk.clipboardBusyUntil = desk.now + 250;
    }
    EXPECT_EQ(desk.ClipboardTextNow(), "old");
    EXPECT_EQ(desk.EventsOf("clip busy").size(), 3u);
}

}  // namespace
}  // namespace zv
