#include <gtest/gtest.h>

#include <thread>

#include "fake_desktop.h"
#include "common/syntax/params.h"
#include "engine/input.h"

namespace zv {
namespace {

using test::FakeDesktop;
using Events = std::vector<std::string>;

TEST(MoveMouseStepwise, FarTargetIsBoundedAndEndsWhereTheEdgeWould) {
    FakeDesktop desk;
    desk.record = false;
    desk.mouseParams = {0, 0, 0, 10};  // as MOUSE sets them for its moves
    HeldInput held(desk);
    MoveMouseStepwise(held, 2147483647, -2147483647 - 1);
    EXPECT_EQ(desk.eventCount, static_cast<std::size_t>(kMaxStepwiseDistance));
    EXPECT_EQ(desk.cursor, (Point{kMaxStepwiseDistance, -kMaxStepwiseDistance}));
}

TEST(TrimTrailingSeparators, BlanksAndCommasOnly) {
    // A tab is not a separator.
    const std::pair<std::string, std::string> cases[] = {
        {"notepad.exe , ,", "notepad.exe"}, {", ,", ""}, {"a,\t", "a,\t"}, {"", ""}};
    for (auto [text, trimmed] : cases) {
        const std::string before = text;
        TrimTrailingSeparators(text);
        EXPECT_EQ(text, trimmed) << before;
    }
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
    static constexpr std::uint32_t kRich = 49161;  // a registered format
    FakeDesktop desk;
    void SetUp() override {
        // A program put Unicode text and a format of its own; the system lists the locale
        // and the narrow texts it makes from the Unicode one after them.
        desk.SetClipboardUnicodeText("old");
        desk.clipboard.insert(desk.clipboard.begin() + 1, {kRich, "rich bytes"});
    }
};

TEST(ClipboardFormatsToSave, OneTextFormTheLocaleFirstThenTheRestInListOrder) {
    using F = std::vector<std::uint32_t>;
    using I = std::vector<std::size_t>;
    // Unicode listed first: the two narrow forms are the system's.
    EXPECT_EQ(ClipboardFormatsToSave(F{13, 49161, 16, 1, 7}), (I{0, 2, 1}));
    // A program that put ANSI text: its Unicode form is still the one kept, since the
    // narrow text is made back from it without loss.
    EXPECT_EQ(ClipboardFormatsToSave(F{49200, 1, 16, 13, 7}), (I{3, 2, 0}));
    EXPECT_EQ(ClipboardFormatsToSave(F{7, 1}), (I{0})) << "OEM text alone: the first listed";
    // A bitmap handle cannot be copied; its DIB can, in one form only. The palette is
    // copied as its entries.
    EXPECT_EQ(ClipboardFormatsToSave(F{2, 8, 17, 9}), (I{1, 3}));
    EXPECT_EQ(ClipboardFormatsToSave(F{17, 8}), (I{0}));
    // One metafile form, the one listed first; owner-drawn and private handle formats are
    // no memory and no GDI object that can be copied.
    EXPECT_EQ(ClipboardFormatsToSave(F{14, 3, 1}), (I{2, 0}));
    EXPECT_EQ(ClipboardFormatsToSave(
                  F{3, 14, 0x80, 0x82, 0x83, 0x8E, 0x200, 0x2FF, 0x300, 0x3FF, 15, 0x81}),
              (I{0, 10, 11}))
        << "file drops and display text are memory";
    EXPECT_TRUE(ClipboardFormatsToSave(F{}).empty());
}

TEST(FormatsNotBack, WhatTheSystemMakesAgainIsNotMissing) {
    using F = std::vector<std::uint32_t>;
    EXPECT_EQ(FormatsNotBack(F{13, 49161, 16, 1, 7}, F{13, 49161, 16}), 0);
    EXPECT_EQ(FormatsNotBack(F{13, 49161, 16, 1, 7}, F{13, 16}), 1);
    EXPECT_EQ(FormatsNotBack(F{13, 16, 1, 7}, F{}), 4) << "nothing back: every text form";
    EXPECT_EQ(FormatsNotBack(F{2, 8, 17, 9}, F{8}), 1) << "the palette is no form of the DIB";
    EXPECT_EQ(FormatsNotBack(F{2, 8, 17}, F{17}), 0);
    EXPECT_EQ(FormatsNotBack(F{14, 3}, F{3}), 0);
    EXPECT_EQ(FormatsNotBack(F{14, 3, 0x80, 0x200}, F{14}), 2) << "owner-drawn, private";
    EXPECT_EQ(FormatsNotBack(F{}, F{}), 0);
}

TEST_F(ClipboardSaverTest, EveryFormatComesBackAndTheSystemMakesTheRest) {
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_TRUE(saver.HasSaved());
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_EQ(desk.ClipboardTextNow(), "typed");
        EXPECT_EQ(desk.clipboard.size(), 4u) << "the text and the three exclusion marks";
        EXPECT_EQ(saver.LostFormats(), 0);
    }
    ASSERT_EQ(desk.clipboard.size(), 3u);
    EXPECT_EQ(desk.clipboard[0].format, kCfUnicodeText) << "put back in their listed order";
    EXPECT_EQ(desk.clipboard[1].format, kRich);
    EXPECT_EQ(desk.clipboard[1].bytes, "rich bytes");
    EXPECT_EQ(desk.clipboard[2].format, kCfLocale);
    EXPECT_EQ(desk.ClipboardTextNow(), "old");
    EXPECT_EQ(desk.events,
              (Events{"bounded 1050", "clip open", "clip list 5", "clip read D", "clip read 10",
                      "clip read C009", "clip close", "clip open", "clip offer typed", "clip close",
                      "clip open", "clip restore 3", "clip close"}));
    EXPECT_EQ(desk.protocolErrors, 0);
}

TEST_F(ClipboardSaverTest, MetafilesComeBackAndEveryFormatThatDoesNotIsCounted) {
    desk.clipboard = {{kCfEnhMetafile, "enhanced metafile bits"},
                      {kCfMetafilePict, "made from it"},
                      {kCfOwnerDisplay, ""},
                      {49300, "rendered as nothing"}};
    desk.renderNothing = {49300};
    {
        CClipboardTextSaver saver(desk, 50);
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_EQ(saver.LostFormats(), 2);
        ASSERT_TRUE(saver.Restore());
        EXPECT_EQ(saver.LostFormats(), 2);
    }
    ASSERT_EQ(desk.clipboard.size(), 1u);
    EXPECT_EQ(desk.clipboard[0].format, kCfEnhMetafile);
    EXPECT_EQ(desk.clipboard[0].bytes, "enhanced metafile bits");

    // A format the system refuses to take back is missing too.
    SetUp();
    desk.refusedOnRestore = {kRich};
    CClipboardTextSaver saver(desk, 50);
    ASSERT_TRUE(saver.PlaceText("typed"));
    EXPECT_EQ(saver.LostFormats(), 0);
    ASSERT_TRUE(saver.Restore());
    EXPECT_EQ(saver.LostFormats(), 1);
}

TEST_F(ClipboardSaverTest, LargeFormatsBeyondTheByteLimitAreLeftAndCounted) {
    desk.clipboard.push_back({49200, std::string(60, 'a')});
    desk.clipboard.push_back({49201, std::string(30, 'b')});
    desk.clipboard.push_back({49202, std::string(5, 'c')});
    // Text (8 bytes) and locale (4) come first; then 10, 60 (too much), 30, 5: 57 of 60.
    {
        CClipboardTextSaver saver(desk, 50, {60, 1000});
        EXPECT_EQ(saver.LostFormats(), 0) << "nothing is lost while the clipboard is untouched";
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_EQ(saver.LostFormats(), 1);
    }
    std::vector<std::uint32_t> back;
    for (const auto& f : desk.clipboard)
        back.push_back(f.format);
    EXPECT_EQ(back, (std::vector<std::uint32_t>{kCfUnicodeText, kRich, kCfLocale, 49201, 49202}));
    EXPECT_EQ(desk.ClipboardTextNow(), "old") << "the text was saved first";
}

TEST_F(ClipboardSaverTest, AReadThatOutlastsTheTimeLimitIsLeftBehind) {
    desk.clipboard.push_back({49200, "slow one"});
    desk.clipboard.push_back({49201, "slow two"});
    desk.clipboard.push_back({49202, "never asked"});
    desk.renderMs = {{49200, 700}, {49201, 600}};
    {
        CClipboardTextSaver saver(desk, 50, {1 << 20, 1000});
        EXPECT_EQ(desk.now, 1050u) << "the budget and the grace, not the second render's end";
        // Its owner answers at 1300; until then the reading holds the clipboard open.
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_EQ(desk.now, 1350u);
        EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics,
                  "\n\t\tAccess is denied.\n\t\tAccess is denied.\n\t\tAccess is denied.");
        EXPECT_EQ(saver.LostFormats(), 2);
    }
    EXPECT_TRUE(desk.EventsOf("clip read C012").empty()) << "its owner was not asked";
    EXPECT_EQ(desk.clipboard.size(), 4u);
}

TEST_F(ClipboardSaverTest, ClipboardThatStaysBusyForThePasteIsLeftAsItWas) {
    desk.clipboard.push_back({49200, std::string(100, 'a')});
    const auto before = desk.clipboard;
    {
        CClipboardTextSaver saver(desk, 2, {50, 1000});
        desk.clipboardBusyUntil = test::kNever;
        EXPECT_FALSE(saver.PlaceText("typed"));
        EXPECT_EQ(saver.LostFormats(), 0);
        desk.clipboardBusyUntil = 0;
    }
    EXPECT_TRUE(desk.EventsOf("clip restore").empty())
        << "not rewritten: what was too large to save is still there";
    ASSERT_EQ(desk.clipboard.size(), before.size());
    EXPECT_EQ(desk.clipboard.back().bytes, before.back().bytes);
}

TEST_F(ClipboardSaverTest, EmptyClipboardIsLeftEmpty) {
    desk.clipboard.clear();
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_FALSE(saver.HasSaved());
        ASSERT_TRUE(saver.PlaceText("typed"));
    }
    EXPECT_TRUE(desk.clipboard.empty());
    EXPECT_EQ(desk.EventsOf("clip restore"), (Events{"clip restore 0"}));
}

TEST_F(ClipboardSaverTest, EmptyTextOrZeroRetriesNeverOpen) {
    CClipboardTextSaver saver(desk, 50);
    CClipboardTextSaver none(desk, 0);
    desk.events.clear();
    EXPECT_TRUE(saver.PlaceText(""));
    EXPECT_FALSE(none.PlaceText("typed"));
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
    EXPECT_EQ(desk.events,
              (Events{"bounded 1050", "clip busy", "sleep 100", "bounded 950", "clip busy",
                      "sleep 100", "bounded 850", "clip busy", "sleep 100"}))
        << "each attempt tries to save first, within what is left of the save's time";
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics,
              "\n\t\tAccess is denied.\n\t\tAccess is denied.\n\t\tAccess is denied.");
    EXPECT_EQ(desk.now, 300u);
    EXPECT_FALSE(saver.PlaceText("typed")) << "zero successes, zero changes";
    EXPECT_EQ(desk.clipboard.size(), 5u);
}

TEST_F(ClipboardSaverTest, BusyAtConstructionIsSavedWhenPlacing) {
    desk.clipboardBusyUntil = 150;  // refused at construction, free on the third attempt
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_FALSE(saver.HasSaved());
        ASSERT_TRUE(saver.PlaceText("typed"));
        EXPECT_TRUE(saver.HasSaved());
        EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics,
                  "\n\t\tAccess is denied.\n\t\tAccess is denied.");
    }
    EXPECT_EQ(desk.clipboard.size(), 3u) << "the earlier content was not lost";
    EXPECT_EQ(desk.ClipboardTextNow(), "old");
    EXPECT_EQ(CClipboardTextSaver::ClipboardDiagnostics, "") << "destruction empties it";
}

TEST_F(ClipboardSaverTest, AContentCopiedBetweenTheSaveAndThePasteIsTheOneRestored) {
    CClipboardTextSaver saver(desk, 50);
    desk.SetClipboardTextFormat("copied since");  // another program, after the save
    ++desk.clipboardSequence;
    ASSERT_TRUE(saver.PlaceText("typed"));
    ASSERT_TRUE(saver.Restore());
    EXPECT_EQ(desk.ClipboardTextNow(), "copied since");
    EXPECT_EQ(desk.clipboard.size(), 1u);
}

TEST_F(ClipboardSaverTest, FailedSetIsReportedAndTheOldContentRestored) {
    desk.setTextFails = true;
    {
        CClipboardTextSaver saver(desk, 50);
        EXPECT_FALSE(saver.PlaceText("typed"));
    }
    EXPECT_EQ(desk.ClipboardTextNow(), "old");
    EXPECT_EQ(desk.clipboard.size(), 3u) << "what was saved; the system makes the rest";
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

TEST_F(ClipboardSaverTest, OnlyTheTargetsRequestSaysTheTextWasTaken) {
    CClipboardTextSaver saver(desk, 50);
    EXPECT_FALSE(saver.WaitTextTaken(50, 100)) << "nothing placed yet";
    ASSERT_TRUE(saver.PlaceText("typed"));
    desk.paster = {{60, 0}};
    desk.SendLegacyKeyEvent(kVkControl, kKeyDown);
    desk.SendLegacyKeyEvent(kVkV, kKeyDown);
    const std::uint64_t start = desk.now;
    EXPECT_FALSE(saver.WaitTextTaken(50, 400)) << "another process asked";
    EXPECT_EQ(desk.now - start, 400u);
    ASSERT_TRUE(saver.PlaceText("typed"));
    desk.SendLegacyKeyEvent(kVkV, kKeyDown);
    EXPECT_TRUE(saver.WaitTextTaken(0, 400)) << "no target known: any request";
    ASSERT_TRUE(saver.PlaceText("typed"));
    desk.SendLegacyKeyEvent(kVkV, kKeyDown);
    EXPECT_TRUE(saver.WaitTextTaken(60, 400));
}

}  // namespace
}  // namespace zv
