#include <gtest/gtest.h>

#include <random>

#include "common/cp932.h"
#include "common/macrofile.h"
#include "common/strutil.h"
#include "common/winconst.h"
#include "editor/line_describe.h"
#include "engine/commands.h"
#include "editor/recorder.h"
#include "editor/recorder_keys.h"
#include "editor/type_dialog.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

using Lines = std::vector<std::string>;

RecWindow Window(std::uint64_t id, std::string caption, Point origin = {}) {
    RecWindow w;
    w.id = id;
    w.caption = std::move(caption);
    w.clientOrigin = origin;
    return w;
}

const RecWindow kNotepad = Window(0x10, "無題 - メモ帳", {108, 131});
const RecWindow kTarget = Window(0x20, "ZvTarget", {64, 83});
const RecWindow kDialog = Window(0x30, "名前を付けて保存", {300, 200});
const RecWindow kMenu = Window(0x40, "", {150, 120});  // a pop-up menu: no caption

RecWindow Bar() {
    RecWindow w = Window(0x50, "操作を記録", {900, 20});
    w.own = true;
    return w;
}

// An event stream as the capture delivers it: keys and characters as the receiving
// program gets them, mouse buttons from the low-level hook, 10 ms apart unless a pause
// is asked for.
class Stream {
public:
    explicit Stream(std::uint32_t start = 50000) : t_(start) {}

    // Input goes to w, which is also in front.
    Stream& In(const RecWindow& w) {
        window_ = w;
        front_ = w;
        return *this;
    }
    // The window under the pointer or receiving keys is w; the one in front stays.
    Stream& Over(const RecWindow& w) {
        window_ = w;
        return *this;
    }
    Stream& Pause(std::uint32_t ms) {
        t_ += ms;
        return *this;
    }

    // A key pressed with modifiers: the modifiers go down in order, the key goes down
    // (its character follows when it types one), then all come up.
    Stream& Key(std::uint32_t vk, unsigned mods = 0, std::string ch = {}) {
        unsigned held = 0;
        for (const auto& [bit, code] : kModifierKeys) {
            if (mods & bit) {
                held |= bit;
                Add(KeyEvent(RecEvent::Kind::KeyDown, code, held));
            }
        }
        Add(KeyEvent(RecEvent::Kind::KeyDown, vk, held));
        if (!ch.empty())
            Char(ch);
        if (RoleOfKey(vk, 0, false) == KeyRole::Modifier)
            Add(KeyEvent(RecEvent::Kind::KeyUp, vk, held));  // only modifiers' releases come
        for (auto it = kModifierKeys.rbegin(); it != kModifierKeys.rend(); ++it) {
            if (mods & it->first)
                Add(KeyEvent(RecEvent::Kind::KeyUp, it->second, held &= ~it->first));
        }
        return *this;
    }
    Stream& Repeat(int n, std::uint32_t vk, unsigned mods = 0) {
        for (int i = 0; i < n; ++i)
            Key(vk, mods);
        return *this;
    }
    // Characters injected as Unicode input: a VK_PACKET key and the character each.
    Stream& Text(std::string_view cp932) {
        for (std::size_t i = 0; i < cp932.size();) {
            const std::size_t n = CharLength(cp932, i);
            Add(KeyEvent(RecEvent::Kind::KeyDown, kVkPacket, 0));
            Char(std::string(cp932.substr(i, n)));
            i += n;
        }
        return *this;
    }
    // Characters typed on the keyboard: the letter's key, then its character.
    Stream& Typed(std::string_view ascii) {
        for (char c : ascii) {
            const auto upper = static_cast<std::uint32_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
            Add(KeyEvent(RecEvent::Kind::KeyDown, upper == ' ' ? kVkSpace : upper, 0));
            Char(std::string(1, c));
        }
        return *this;
    }
    Stream& Char(std::string ch) {
        RecEvent e = Event(RecEvent::Kind::Char);
        e.text = std::move(ch);
        return Add(std::move(e));
    }
    Stream& Password(int n) {
        for (int i = 0; i < n; ++i)
            Add(Event(RecEvent::Kind::PasswordChar));
        return *this;
    }
    Stream& Down(Point p, RecButton b = RecButton::Left) {
        return Add(Mouse(RecEvent::Kind::ButtonDown, p, b));
    }
    Stream& Up(Point p, RecButton b = RecButton::Left) {
        return Add(Mouse(RecEvent::Kind::ButtonUp, p, b));
    }
    Stream& Click(Point p, RecButton b = RecButton::Left) { return Down(p, b).Pause(60).Up(p, b); }
    Stream& Drag(Point from, Point to) {
        Down(from);
        t_ += 300;
        return Up(to);
    }
    Stream& Wheel(Point p, int delta, bool horizontal = false) {
        RecEvent e = Mouse(RecEvent::Kind::Wheel, p, RecButton::Left);
        e.wheelDelta = delta;
        e.horizontal = horizontal;
        return Add(std::move(e));
    }
    Stream& Stop() { return Add(Event(RecEvent::Kind::Stop)); }
    Stream& Add(RecEvent e) {
        events.push_back(std::move(e));
        t_ += 10;
        return *this;
    }

    RecEvent Event(RecEvent::Kind kind) const {
        RecEvent e;
        e.kind = kind;
        e.time = t_;
        e.window = window_;
        e.foreground = front_;
        return e;
    }
    RecEvent KeyEvent(RecEvent::Kind kind, std::uint32_t vk, unsigned mods) const {
        RecEvent e = Event(kind);
        e.key = vk;
        e.modifiers = mods;
        return e;
    }
    RecEvent Mouse(RecEvent::Kind kind, Point p, RecButton b) const {
        RecEvent e = Event(kind);
        e.point = p;
        e.button = b;
        return e;
    }

    std::vector<RecEvent> events;

private:
    static constexpr std::array<std::pair<unsigned, std::uint32_t>, 4> kModifierKeys{{
        {kRecControl, kVkControl},
        {kRecShift, kVkShift},
        {kRecAlt, kVkMenu},
        {kRecWin, kVkLWin},
    }};

    std::uint32_t t_;
    RecWindow window_ = kNotepad;
    RecWindow front_ = kNotepad;
};

Recording Record(const Stream& s, RecorderOptions options = {}) {
    return TranslateRecording(s.events, options);
}

Lines LinesOf(const Stream& s, RecorderOptions options = {}) {
    return Record(s, options).lines;
}

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkTab = 0x09;
constexpr std::uint32_t kVkDown = 0x28;
constexpr std::uint32_t kVkF4 = 0x73;
constexpr std::uint32_t kVkDelete = 0x2E;

// ---- keys and text ----

TEST(Recorder, NotepadSessionReadsAsAPersonWouldWriteIt) {
    Stream s;
    s.In(kNotepad)
        .Text("こんにちは、世界")
        .Key(kVkReturn, 0, "\r")
        .Key('A', kRecControl, "\x01")
        .Key('C', kRecControl, "\x03")
        .Stop();
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"こんにちは、世界\"",
                                 "KEYIN:RETURN", "KEYIN:CONTROL A", "KEYIN:CONTROL C"}));
}

TEST(Recorder, TextRunsAndWhatEndsThem) {
    Stream s;
    s.In(kTarget).Typed("Hello world").Key(kVkTab, 0, "\t").Typed("ab").Key(kVkReturn, 0, "\r");
    s.Typed("x").Click({200, 200}).Typed("y");
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"Hello world\"", "KEYIN:TAB", "TYPE:\"ab\"",
                     "KEYIN:RETURN", "TYPE:\"x\"", "MOUSE:136,117,L,LOCAL", "TYPE:\"y\""}));
}

TEST(Recorder, TypeLinesReadBackAsTheTextThatWasTyped) {
    // Quotes inside, at either end, blanks at the ends, a trail byte 0x5C (表), a
    // half-width katakana: TYPE's reading (the last quote closes) gives each back.
    const std::string texts[] = {"say \"hi\"", "\"quoted\"", "a\"",    "  blanks  ",
                                 "表示ｶﾅ",     "'single'",   "50% off"};
    for (const std::string& text : texts) {
        Stream s;
        s.In(kTarget).Text(text);
        const Lines lines = LinesOf(s);
        ASSERT_EQ(lines.size(), 2u) << text;
        std::string param = GetParamText(lines[1]);
        ASSERT_TRUE(StripQuotes(param)) << lines[1];
        EXPECT_EQ(param, text);
        EXPECT_EQ(ParseTypeLine(lines[1]).text, text);
    }
}

TEST(Recorder, ATextThatIsATokenStaysLiteral) {
    // TYPE:"%CLIP" would paste the clipboard; split, each part is literal.
    for (const std::string token : {"%CLIP", "%param1", "%Param2"}) {
        Stream s;
        s.In(kTarget).Text(token);
        const Lines lines = LinesOf(s);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[1], "TYPE:\"" + token.substr(0, token.size() - 1) + "\"");
        EXPECT_EQ(lines[2], "TYPE:\"" + token.substr(token.size() - 1) + "\"");
    }
    Stream longer;
    longer.In(kTarget).Text("%CLIPS");
    EXPECT_EQ(LinesOf(longer)[1], "TYPE:\"%CLIPS\"") << "not a token";
}

TEST(Recorder, BackspaceInsideARunTakesBackItsLastCharacter) {
    Stream s;
    s.In(kNotepad).Typed("helo").Key(kVkBack).Typed("lo");
    EXPECT_EQ(LinesOf(s)[1], "TYPE:\"hello\"");

    Stream kanji;  // a double-byte character goes whole, trail byte 0x5C included
    kanji.In(kNotepad).Text("予定表").Key(kVkBack).Text("示");
    EXPECT_EQ(LinesOf(kanji)[1], "TYPE:\"予定示\"");

    Stream emptied;  // a run taken back entirely leaves no line; then Backspace is a key
    emptied.In(kNotepad).Typed("ab").Repeat(3, kVkBack);
    EXPECT_EQ(LinesOf(emptied), (Lines{"FOCUS:\"無題 - メモ帳\"", "KEYIN:BACK"}));

    Stream after;  // after the run ended, Backspace deletes what was there before
    after.In(kNotepad).Typed("a").Key(kVkReturn, 0, "\r").Repeat(2, kVkBack);
    EXPECT_EQ(LinesOf(after),
              (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"a\"", "KEYIN:RETURN", "KEYIN:BACK,REP=2"}));
}

TEST(Recorder, IdenticalKeysFoldIntoRepeats) {
    Stream s;
    s.In(kTarget).Repeat(5, kVkDown).Repeat(2, kVkTab).Key(kVkTab, kRecShift).Repeat(2, kVkTab);
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:DOWN,REP=5", "KEYIN:TAB,REP=2",
                                 "KEYIN:SHIFT TAB", "KEYIN:TAB,REP=2"}));

    Stream many;  // the KEYIN dialog's limit is 999
    many.In(kTarget).Repeat(1001, kVkDown);
    EXPECT_EQ(LinesOf(many),
              (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:DOWN,REP=999", "KEYIN:DOWN,REP=2"}));

    Stream paused;  // a pause between them keeps them apart
    paused.In(kTarget).Key(kVkDown).Pause(1500).Key(kVkDown);
    EXPECT_EQ(LinesOf(paused),
              (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:DOWN", "WAIT:1500,0", "KEYIN:DOWN"}));
}

TEST(Recorder, KeysThatDifferOnlyByAltDoNotFold) {
    Stream s;  // F4, then Alt+F4 to close the window: two strokes, not one repeated
    s.In(kTarget).Key(kVkF4).Key(kVkF4, kRecAlt).Key(kVkF4, kRecAlt).Key(kVkF4);
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:F4", "KEYIN:MENU F4,REP=2", "KEYIN:F4"}));
}

TEST(Recorder, CombinationsUseTheKeyNamesAndTheDialogsOrder) {
    Stream s;
    s.In(kTarget)
        .Key('S', kRecControl | kRecShift, "\x13")
        .Key(kVkF4, kRecAlt)
        .Key('R', kRecWin)
        .Key(kVkDelete, kRecControl | kRecAlt)
        .Key('1', kRecControl)
        .Key(0xA3);  // a modifier alone (right Ctrl) presses nothing
    const Lines lines = LinesOf(s);
    EXPECT_EQ(lines, (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:CONTROL SHIFT S", "KEYIN:MENU F4",
                            "KEYIN:LWIN R", "KEYIN:MENU CONTROL DELETE", "KEYIN:CONTROL 1"}));
    // The engine presses the keys that were held.
    const std::vector<std::uint8_t> pressed[] = {{kVkControl, kVkShift, 'S'},
                                                 {kVkMenu, 0x73},
                                                 {kVkLWin, 'R'},
                                                 {kVkMenu, kVkControl, 0x2E},
                                                 {kVkControl, '1'}};
    for (std::size_t i = 0; i < std::size(pressed); ++i) {
        const KeyinParams p = ParseKeyin(lines.at(i + 1));
        EXPECT_TRUE(p.ok) << lines[i + 1];
        EXPECT_EQ(p.codes, pressed[i]) << lines[i + 1];
    }
}

TEST(Recorder, KeysWithoutANameAndInputMethodKeys) {
    Stream s;
    s.In(kTarget)
        .Key(0xBB, kRecControl)  // Ctrl+; on a Japanese keyboard: no name, its own byte
        .Key(0xE2, kRecControl)  // Ctrl+ろ: 0xE2 is a lead byte, no line can name it
        .Key(kVkProcessKey)      // keys the input method took
        .Key(0x19)               // 半角/全角
        .Key(0xF3)
        .Key(0x1C)  // 変換
        .Key(kVkCapital);
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:CONTROL \xBB"}));
    EXPECT_EQ(r.unrecordable, 1);
}

TEST(Recorder, LoneAltAndMenuKeys) {
    // Alt alone opens the menu bar; letters then choose items and their characters are
    // the menu's: keys, not text.
    Stream s;
    s.In(kNotepad).Key(kVkMenu);
    RecEvent f = s.KeyEvent(RecEvent::Kind::KeyDown, 'F', 0);
    f.menuMode = true;
    s.Add(f);
    RecEvent ch = s.Event(RecEvent::Kind::Char);
    ch.text = "f";
    ch.menuMode = true;
    s.Add(ch);
    s.Key(kVkDown).Key(kVkReturn, 0, "\r");
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "KEYIN:MENU", "KEYIN:F", "KEYIN:DOWN",
                                 "KEYIN:RETURN"}));

    Stream shift;  // Shift or Ctrl alone, or Shift with a letter: no line of their own
    shift.In(kNotepad).Key(kVkShift).Key(kVkControl).Key('A', kRecShift, "A");
    EXPECT_EQ(LinesOf(shift), (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"A\""}));

    Stream win;
    win.In(kNotepad).Key(kVkLWin);
    EXPECT_EQ(LinesOf(win), (Lines{"FOCUS:\"無題 - メモ帳\"", "KEYIN:LWIN"}));

    // Alt+Tab: the program sees Alt alone (the system keeps the Tab), then the input goes
    // to another window.
    Stream altTab;
    altTab.In(kNotepad).Typed("a").Key(kVkMenu).Pause(1500).In(kTarget).Typed("b");
    EXPECT_EQ(LinesOf(altTab), (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"a\"", "WAIT:1500,0",
                                      "FOCUS:\"ZvTarget\"", "TYPE:\"b\""}));
}

TEST(Recorder, CharactersOfCombinations) {
    // Ctrl+Alt typing a character (AltGr) is the character; Ctrl+Space's blank is the
    // shortcut's own.
    Stream s;
    s.In(kTarget).Typed("mail").Key('Q', kRecControl | kRecAlt, "@").Typed("x");
    s.Key(kVkSpace, kRecControl, " ");
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"mail\"", "TYPE:\"@x\"", "KEYIN:CONTROL SPACE"}));
}

// ---- windows ----

TEST(Recorder, AChangeOfWindowFocusesItByItsCaption) {
    Stream s;
    s.In(kNotepad).Typed("a").Key('S', kRecControl, "\x13");
    s.In(kDialog).Typed("memo").Key(kVkReturn, 0, "\r");
    s.In(kNotepad).Typed("b");
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"a\"", "KEYIN:CONTROL S",
                                 "FOCUS:\"名前を付けて保存\"", "TYPE:\"memo\"", "KEYIN:RETURN",
                                 "FOCUS:\"無題 - メモ帳\"", "TYPE:\"b\""}));
}

TEST(Recorder, WindowsFocusCannotFind) {
    // Keys to a window without a caption go to the window in front.
    Stream popup;
    popup.In(kNotepad).Over(kMenu).Key(kVkDown).Key(kVkReturn, 0, "\r");
    EXPECT_EQ(LinesOf(popup), (Lines{"FOCUS:\"無題 - メモ帳\"", "KEYIN:DOWN", "KEYIN:RETURN"}));

    // A caption that is a token is found by a partial match on the same text.
    Stream token;
    token.In(Window(7, "%CLIP")).Typed("x");
    EXPECT_EQ(LinesOf(token)[0], "FOCUS:\"%CLIP*\"");

    // Nothing focusable at all: no FOCUS, screen coordinates.
    Stream none;
    none.In(Window(0, "")).Click({500, 400}).Key(kVkF4);
    EXPECT_EQ(LinesOf(none), (Lines{"MOUSE:500,400,L", "KEYIN:F4"}));
}

// ---- mouse ----

TEST(Recorder, ClicksInClientCoordinatesWithTheirActions) {
    Stream s;
    s.In(kTarget)
        .Click({164, 203})
        .Pause(700)
        .Click({200, 220}, RecButton::Right)
        .Pause(700)
        .Click({210, 230}, RecButton::Middle)
        .Pause(700)
        .Click({220, 240}, RecButton::X1)
        .Pause(700)
        .Click({230, 250}, RecButton::X2);
    const Recording r = Record(s);
    EXPECT_EQ(r.lines,
              (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:100,120,L,LOCAL", "MOUSE:136,137,R,LOCAL",
                     "MOUSE:146,147,M,LOCAL", "MOUSE:156,157,X,LOCAL"}));
    EXPECT_EQ(r.unrecordable, 1) << "the second extra button has no action word";
}

TEST(Recorder, DoubleClicksWithinTheSystemsTimeAndDistance) {
    Stream s;
    s.In(kTarget).Click({164, 203}).Pause(200).Click({166, 204});  // one double click
    s.Pause(900).Click({164, 203}).Pause(200).Click({164, 203}).Pause(100).Click({164, 203});
    s.Pause(900).Click({164, 203}).Pause(600).Click({164, 203});  // too slow
    s.Pause(900).Click({164, 203}).Pause(100).Click({170, 203});  // too far apart
    s.Pause(900).Click({164, 203}, RecButton::Right).Pause(100).Click({164, 203}, RecButton::Right);
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:100,120,LW,LOCAL", "MOUSE:100,120,LW,LOCAL",
                     "MOUSE:100,120,L,LOCAL", "MOUSE:100,120,L,LOCAL", "MOUSE:100,120,L,LOCAL",
                     "MOUSE:100,120,L,LOCAL", "MOUSE:106,120,L,LOCAL", "MOUSE:100,120,RW,LOCAL"}));
}

TEST(Recorder, DragsBecomeAMoveToThePressAndADrop) {
    Stream s;
    s.In(kTarget).Drag({124, 283}, {364, 343});
    s.Pause(800).Drag({164, 203}, {167, 206});  // within the drag distance: a click
    s.Pause(800);
    s.Down({300, 300}, RecButton::Right).Pause(200).Up({340, 300}, RecButton::Right);
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:60,200,LOCAL", "MOUSE:300,260,DD,LOCAL",
                     "MOUSE:100,120,L,LOCAL", "MOUSE:236,217,R,LOCAL"}));
}

TEST(Recorder, ClicksGoToTheWindowUnderThePointer) {
    Stream s;
    s.In(kNotepad).Typed("a");
    s.Over(kTarget).Click({164, 203});  // activates the target: FOCUS first
    s.In(kTarget).Typed("b");
    s.Over(kMenu).Click({170, 140});  // a pop-up menu: the window in front measures it
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"a\"", "FOCUS:\"ZvTarget\"",
                                 "MOUSE:100,120,L,LOCAL", "TYPE:\"b\"", "MOUSE:106,57,L,LOCAL"}));
}

TEST(Recorder, WheelNotches) {
    Stream s;
    s.In(kTarget).Wheel({164, 203}, -360).Wheel({164, 203}, 40).Wheel({164, 203}, 40);
    s.Wheel({164, 203}, 40).Wheel({164, 203}, 120, true);
    const Recording r = Record(s);
    EXPECT_EQ(r.lines,
              (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:100,120,W-,LOCAL", "MOUSE:100,120,W-,LOCAL",
                     "MOUSE:100,120,W-,LOCAL", "MOUSE:100,120,W+,LOCAL"}));
    EXPECT_EQ(r.unrecordable, 1) << "a sideways notch";
}

// ---- pauses ----

TEST(Recorder, PausesLongerThanTheThresholdBecomeWaits) {
    Stream s;
    s.In(kTarget).Pause(5000);  // before the first action: nothing to wait for
    s.Key(kVkF4).Pause(1490).Key(kVkTab).Pause(990).Key(kVkDown).Pause(1030).Key(kVkReturn);
    s.Pause(1040).Typed("abc").Pause(3000).Typed("def");  // not inside a run
    s.Pause(60000).Click({164, 203}).Pause(2000);         // not after the last action
    s.Stop();
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:F4", "WAIT:1500,0", "KEYIN:TAB",
                                 "KEYIN:DOWN", "WAIT:1000,0", "KEYIN:RETURN", "WAIT:1100,0",
                                 "TYPE:\"abcdef\"", "WAIT:30000,0", "MOUSE:100,120,L,LOCAL"}));

    RecorderOptions patient;
    patient.pauseMs = 3000;
    EXPECT_EQ(LinesOf(s, patient),
              (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:F4", "KEYIN:TAB", "KEYIN:DOWN", "KEYIN:RETURN",
                     "TYPE:\"abcdef\"", "WAIT:30000,0", "MOUSE:100,120,L,LOCAL"}));
}

TEST(Recorder, APauseIsMeasuredFromTheEndOfADragToTheNextPress) {
    Stream s;
    s.In(kTarget).Down({124, 283}).Pause(3000).Up({364, 343}).Pause(800).Click({164, 203});
    s.Pause(1200).Click({164, 203});
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:60,200,LOCAL", "MOUSE:300,260,DD,LOCAL",
                     "MOUSE:100,120,L,LOCAL", "WAIT:1200,0", "MOUSE:100,120,L,LOCAL"}));
}

// ---- the stop, the bar, privacy ----

TEST(Recorder, TheStopKeyAndTheBarNeverAppear) {
    Stream s;
    s.In(kTarget).Typed("a").Key(kVkPause).Key(kVkCancel, kRecControl);
    s.Over(Bar()).Click({950, 40}).Wheel({950, 40}, 120);  // the bar's button and wheel
    s.Down({950, 40}).Over(kTarget).Up({200, 200});        // pressed on the bar
    s.In(kTarget).Typed("b").Stop().Typed("c").Click({164, 203});
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"ab\""}));
}

TEST(Recorder, PasswordCharactersLeaveNothingButANote) {
    Stream s;
    s.In(kTarget).Typed("user").Key(kVkTab, 0, "\t").Password(6).Key(kVkReturn, 0, "\r");
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"user\"", "KEYIN:TAB", "KEYIN:RETURN"}));
    EXPECT_TRUE(r.passwordSkipped);
    EXPECT_EQ(RecordingEndNote(r), "パスワード欄に入力された文字は記録していません。");

    Stream between;  // the run before the field and the one after stay apart
    between.In(kTarget).Typed("a").Password(2).Typed("b");
    EXPECT_EQ(LinesOf(between), (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"a\"", "TYPE:\"b\""}));
}

TEST(Recorder, EndNotes) {
    Recording r;
    EXPECT_EQ(RecordingEndNote(r), "記録された操作はありません。");
    r.lines = {"WAIT:0,0"};
    EXPECT_EQ(RecordingEndNote(r), "");
    r.unrecordable = 3;
    r.passwordSkipped = true;
    EXPECT_EQ(RecordingEndNote(r),
              "パスワード欄に入力された文字は記録していません。\r\n"
              "マクロで表せない操作 3 件は記録していません。");

    Stream unknown;  // a character CP932 lacks, a button held at the stop
    unknown.In(kTarget).Char("").Down({100, 100}).Stop();
    EXPECT_EQ(Record(unknown).unrecordable, 2);

    EXPECT_EQ(RecordingBarStatus(0), "記録中  0:00");
    EXPECT_EQ(RecordingBarStatus(65999), "記録中  1:05");
    EXPECT_EQ(RecordingBarStatus(3600000), "記録中  60:00");
}

// ---- order of events ----

TEST(Recorder, EventsAreTakenInTheOrderOfTheirTimes) {
    // A character its program took late arrives after a click the low-level hook saw at
    // once; the tick count wraps during the recording.
    Stream s(0xFFFFFF00u);
    s.In(kTarget).Typed("ab");
    RecEvent late = s.Event(RecEvent::Kind::Char);
    late.text = "c";
    s.Pause(100).Click({164, 203});
    s.Add(late);
    s.Pause(400).Typed("d");
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"abc\"", "MOUSE:100,120,L,LOCAL", "TYPE:\"d\""}));
}

// Random streams of everything the capture can deliver: whatever the user did, every
// line is one the editor describes as valid and the engine can run, FOCUS comes first,
// no KEYIN repeats the line before it, and every WAIT lies in the WAIT dialog's range.
TEST(Recorder, RandomStreamsGiveValidLines) {
    const RecWindow windows[] = {kNotepad, kTarget, kDialog, kMenu, Bar(), Window(0, "")};
    const std::uint32_t keys[] = {kVkReturn,     kVkTab,     kVkDown, kVkF4,    kVkBack,
                                  'A',           'Z',        '5',     kVkSpace, kVkMenu,
                                  kVkShift,      kVkControl, 0xBB,    0xE2,     0x19,
                                  kVkProcessKey, kVkPause,   0x2E,    0x60};
    const char* chars[] = {"a", "Z", "\"", "表", "ｱ", " ", "\r", "\x01", "", "%"};
    std::mt19937 rng(13);
    for (int round = 0; round < 300; ++round) {
        Stream s(rng());
        s.In(kNotepad);
        const int n = 1 + static_cast<int>(rng() % 60);
        for (int i = 0; i < n; ++i) {
            const RecWindow& w = windows[rng() % std::size(windows)];
            if (rng() % 4 == 0)
                s.In(w);
            else if (rng() % 4 == 0)
                s.Over(w);
            s.Pause(rng() % 3 == 0 ? rng() % 4000 : 0);
            const Point p{static_cast<std::int32_t>(rng() % 1280),
                          static_cast<std::int32_t>(rng() % 800)};
            switch (rng() % 8) {
                case 0:
                    s.Key(keys[rng() % std::size(keys)], rng() % 16);
                    break;
                case 1:
                case 2:
                    s.Char(chars[rng() % std::size(chars)]);
                    break;
                case 3:
                    s.Click(p, static_cast<RecButton>(rng() % 5));
                    break;
                case 4:
                    s.Down(p, static_cast<RecButton>(rng() % 5));
                    break;
                case 5:
                    s.Up(p, static_cast<RecButton>(rng() % 5));
                    break;
                case 6:
                    s.Wheel(p, static_cast<int>(rng() % 481) - 240, rng() % 5 == 0);
                    break;
                default:
                    s.Password(1);
                    break;
            }
        }
        const Lines lines = LinesOf(s);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const LineView view = DescribeLine(lines[i]);
            ASSERT_NE(view.type, kCmdNone) << lines[i];
            EXPECT_TRUE(view.description.valid) << lines[i];
            EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << lines[i];
            if (i > 0 && lines[i].rfind("KEYIN:", 0) == 0) {
                EXPECT_NE(lines[i], lines[i - 1]) << "folded into REP=";
            }
            if (lines[i].rfind("WAIT:", 0) == 0) {
                const std::int32_t ms = ParseLeadingInt32(lines[i].substr(5));
                EXPECT_TRUE(ms >= 1000 && ms <= 30000) << lines[i];
            }
            if (lines[i].rfind("TYPE:", 0) == 0) {
                EXPECT_EQ(TypeSourceOfText(ParseTypeLine(lines[i]).text), kTypeSourceText);
            }
        }
        if (!lines.empty() && lines[0].rfind("WAIT:", 0) != 0 && lines[0].rfind("FOCUS:", 0) != 0) {
            // Only a recording whose first action had no window to focus starts otherwise.
            EXPECT_EQ(lines[0].find(",LOCAL"), std::string::npos) << lines[0];
        }
    }
}

// ---- settings and the hook's message ----

TEST(Recorder, PauseThresholdSetting) {
    const std::string ini = "C:\\Users\\u\\AppData\\Roaming\\Ostrand\\Zorvane\\Zorvane.ini";
    test::MemoryFileSystem fs;
    IniProfile profile(fs, ini);
    EXPECT_EQ(LoadRecordPauseMSec(profile), 1000);
    EXPECT_EQ(fs.files[ini], "[RkManagerSettings]\r\nRecordPauseMSec=1000\r\n")
        << "the default is written back";
    profile.WriteInt("RkManagerSettings", "RecordPauseMSec", 2500);
    EXPECT_EQ(LoadRecordPauseMSec(profile), 2500);
    profile.WriteInt("RkManagerSettings", "RecordPauseMSec", -5);
    EXPECT_EQ(LoadRecordPauseMSec(profile), 1000);
    EXPECT_EQ(profile.GetInt("RkManagerSettings", "RecordPauseMSec", 0), 1000);
}

TEST(RecorderHook, MessagesCarryTheEventWhole) {
    const HookEvent events[] = {
        {HookEventKind::KeyDown, kRecControl | kRecShift | kHookMenuMode, 0x41, 0xFFFFFFFFu},
        {HookEventKind::Char, 0, 0x8868, 12345},  // a UTF-16 unit above 0x7FFF
        {HookEventKind::PasswordChar, kRecWin, 0, 0},
        {HookEventKind::KeyUp, kRecAlt, 0xA4, 0x80000000u},
    };
    for (const HookEvent& e : events)
        EXPECT_EQ(UnpackHookEvent(PackHookEvent(e)), e);
    EXPECT_EQ(UnpackHookEvent(0), std::nullopt);
    EXPECT_EQ(UnpackHookEvent(0x1234567800000005ull), std::nullopt);
}

TEST(RecorderHook, APasswordFieldGivesNoKeyThatTypes) {
    using K = HookEventKind;
    EXPECT_FALSE(HookForwardsKey(K::KeyDown, 'A', 0, false, true));
    EXPECT_FALSE(HookForwardsKey(K::KeyDown, '7', kRecShift, false, true));
    EXPECT_FALSE(HookForwardsKey(K::KeyDown, 0x65, 0, false, true)) << "numeric keypad 5";
    EXPECT_TRUE(HookForwardsKey(K::KeyDown, 'A', 0, false, false)) << "elsewhere it counts";
    EXPECT_TRUE(HookForwardsKey(K::KeyDown, kVkTab, 0, false, true));
    EXPECT_TRUE(HookForwardsKey(K::KeyDown, 'V', kRecControl, false, true)) << "a shortcut";
    EXPECT_TRUE(HookForwardsKey(K::KeyUp, 0xA4, 0, false, true)) << "a modifier's release";
    EXPECT_FALSE(HookForwardsKey(K::KeyUp, 'A', 0, false, false));
    EXPECT_FALSE(HookForwardsKey(K::KeyUp, kVkReturn, 0, false, false));
}

}  // namespace
}  // namespace zv
