#include <gtest/gtest.h>

#include <functional>
#include <optional>
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

const RecWindow kNotepadA = Window(0x61, "a.txt - メモ帳", {30, 50});
const RecWindow kNotepadB = Window(0x62, "b.txt - メモ帳", {400, 50});

// A window that closed before its program's reports reached the editor: its caption is
// gone, and another window is in front.
RecWindow Closed(const RecWindow& w) {
    return Window(w.id, "", w.clientOrigin);
}

// The key of a character typed on the keyboard.
std::uint32_t VkOf(char c) {
    return static_cast<std::uint32_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
}

// An event stream as the capture delivers it: what the receiving program got (keys, its
// characters, in its time), what the keyboard did at the same moment with the window in
// front then, mouse buttons from the low-level hook; 10 ms apart unless a pause is asked
// for.
class Stream {
public:
    explicit Stream(std::uint32_t start = 50000) : t_(start) {}

    // Input goes to w, which is also in front; its program reports as it takes it.
    Stream& In(const RecWindow& w) {
        window_ = w;
        front_ = w;
        reportedWindow_.reset();
        reportedFront_.reset();
        return *this;
    }
    // The window under the pointer or receiving keys is w; the one in front stays.
    Stream& Over(const RecWindow& w) {
        window_ = w;
        return *this;
    }
    // What the editor reads when the program's reports arrive, when that differs from
    // the moment of the input: the window it names (a window that closed meanwhile has
    // no caption left) and the one in front by then.
    Stream& ReadLate(const RecWindow& window, const RecWindow& front) {
        reportedWindow_ = window;
        reportedFront_ = front;
        return *this;
    }
    // The kind of the control that has the focus, and its identity.
    Stream& Field(RecField kind, std::uint64_t id = 0) {
        field_ = kind;
        fieldId_ = id;
        return *this;
    }
    // Whether the program in front reports what it receives (the hook runs there).
    Stream& Hooked(bool hooked) {
        hooked_ = hooked;
        return *this;
    }
    Stream& Pause(std::uint32_t ms) {
        t_ += ms;
        return *this;
    }

    // A key pressed with modifiers: the modifiers go down in order, the key goes down
    // (its character follows when it types one), then all come up.
    Stream& Key(std::uint32_t vk, unsigned mods = 0, std::string ch = {}) {
        Hold(mods);
        Down(vk);
        if (!ch.empty())
            Char(ch);
        Up(vk);
        return Release(mods);
    }
    // A chord the system or another program takes: the program gets the modifiers only.
    Stream& Taken(std::uint32_t vk, unsigned mods) {
        Hold(mods);
        const bool hooked = hooked_;
        hooked_ = false;
        Down(vk).Up(vk);
        hooked_ = hooked;
        return Release(mods);
    }
    Stream& Hold(unsigned mods) {
        for (const auto& [bit, code] : kModifierKeys) {
            if (mods & bit)
                Down(code);
        }
        return *this;
    }
    Stream& Release(unsigned mods) {
        for (auto it = kModifierKeys.rbegin(); it != kModifierKeys.rend(); ++it) {
            if (mods & it->first)
                Up(it->second);
        }
        return *this;
    }
    // One key down as the keyboard and the program see it, at the same time; the program
    // gets what the hook passes on.
    Stream& Down(std::uint32_t vk) {
        Raw(RecEvent::Kind::RawKeyDown, vk);
        const HookKeyAction action =
            hooked_ ? HookActionForKey(HookEventKind::KeyDown, vk, held_, false, field_)
                    : HookKeyAction::Drop;
        if (action != HookKeyAction::Drop)
            Add(ProgramKey(RecEvent::Kind::KeyDown, action == HookKeyAction::Forward ? vk : 0));
        else
            t_ += 10;
        held_ |= ModifierBit(vk);
        return *this;
    }
    Stream& Up(std::uint32_t vk) {
        held_ &= ~ModifierBit(vk);
        Raw(RecEvent::Kind::RawKeyUp, vk);
        if (hooked_ && HookActionForKey(HookEventKind::KeyUp, vk, held_, false, field_) ==
                           HookKeyAction::Forward)
            Add(ProgramKey(RecEvent::Kind::KeyUp, vk));
        return *this;
    }
    Stream& Repeat(int n, std::uint32_t vk, unsigned mods = 0) {
        for (int i = 0; i < n; ++i)
            Key(vk, mods);
        return *this;
    }
    // Characters injected as Unicode input: a VK_PACKET key and the character each.
    Stream& Text(std::string_view cp932) {
        for (std::size_t i = 0; i < cp932.size(); i += CharLength(cp932, i))
            Key(kVkPacket, 0, std::string(cp932.substr(i, CharLength(cp932, i))));
        return *this;
    }
    // Characters typed on the keyboard: the letter's key, then its character.
    Stream& Typed(std::string_view ascii) {
        for (char c : ascii)
            Key(VkOf(c), 0, std::string(1, c));
        return *this;
    }
    Stream& Char(std::string ch) {
        if (!hooked_)
            return *this;
        RecEvent e =
            Program(IsSecretField(field_) ? RecEvent::Kind::PasswordChar : RecEvent::Kind::Char);
        if (!IsSecretField(field_))
            e.text = std::move(ch);
        return Add(std::move(e));
    }
    // A character CP932 lacks (an emoji, some kanji).
    Stream& Missing(std::uint32_t codePoint) {
        RecEvent e = Program(RecEvent::Kind::Char);
        e.codePoint = codePoint;
        return Add(std::move(e));
    }
    // Characters typed into a password field: each key reaches the program held back.
    Stream& Password(int n, RecField kind = RecField::Password) {
        const RecField was = field_;
        field_ = kind;
        for (int i = 0; i < n; ++i)
            Key('A', 0, "a");
        field_ = was;
        return *this;
    }
    // Keys the input method takes as the user types a reading: the program gets each as
    // VK_PROCESSKEY.
    Stream& Reading(std::string_view ascii) {
        for (char c : ascii) {
            Raw(RecEvent::Kind::RawKeyDown, VkOf(c));
            if (hooked_)
                Add(ProgramKey(RecEvent::Kind::KeyDown, kVkProcessKey));
            else
                t_ += 10;
            Raw(RecEvent::Kind::RawKeyUp, VkOf(c));
        }
        return *this;
    }
    // The input method's composition messages in the focus field.
    Stream& Composing(HookComposing what) {
        RecEvent e = Program(RecEvent::Kind::Composing);
        e.composing = what;
        return Add(std::move(e));
    }
    // The input method's result, as the program gets it, in field (default: the focus).
    Stream& Result(std::string_view cp932, std::uint64_t field = 0) {
        for (std::size_t i = 0; i < cp932.size(); i += CharLength(cp932, i)) {
            RecEvent e = Program(RecEvent::Kind::Char);
            e.text = std::string(cp932.substr(i, CharLength(cp932, i)));
            e.composed = true;
            if (field != 0)
                e.fieldId = field;
            events.push_back(std::move(e));
        }
        return Pause(10);
    }
    // The window w came in front (seen by the capture without any input).
    Stream& Front(const RecWindow& w) {
        RecEvent e = Event(RecEvent::Kind::Front);
        e.foreground = w;
        return Add(std::move(e));
    }
    Stream& Down(Point p, RecButton b = RecButton::Left) {
        return Add(Mouse(RecEvent::Kind::ButtonDown, p, b));
    }
    Stream& Up(Point p, RecButton b = RecButton::Left) {
        return Add(Mouse(RecEvent::Kind::ButtonUp, p, b));
    }
    Stream& Click(Point p, RecButton b = RecButton::Left) { return Down(p, b).Pause(60).Up(p, b); }
    Stream& Drag(Point from, Point to, RecButton b = RecButton::Left) {
        return Down(from, b).Pause(300).Up(to, b);
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
        return Pause(10);
    }

    RecEvent Event(RecEvent::Kind kind) const {
        RecEvent e;
        e.kind = kind;
        e.time = t_;
        e.window = window_;
        e.foreground = front_;
        return e;
    }
    // An event the program reports.
    RecEvent Program(RecEvent::Kind kind) const {
        RecEvent e = Event(kind);
        e.window = reportedWindow_.value_or(window_);
        e.foreground = reportedFront_.value_or(front_);
        e.field = field_;
        e.fieldId = fieldId_;
        return e;
    }
    RecEvent ProgramKey(RecEvent::Kind kind, std::uint32_t vk) const {
        RecEvent e = Program(kind);
        e.key = vk;
        e.modifiers = held_ & ~ModifierBit(vk);
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

    // What the keyboard did, with the window in front then; at the time of the program's
    // report of the same key.
    void Raw(RecEvent::Kind kind, std::uint32_t vk) {
        RecEvent raw = Event(kind);
        raw.key = vk;
        raw.window = front_;
        events.push_back(raw);
    }

    std::uint32_t t_;
    RecWindow window_ = kNotepad;
    RecWindow front_ = kNotepad;
    std::optional<RecWindow> reportedWindow_;
    std::optional<RecWindow> reportedFront_;
    RecField field_ = RecField::Text;
    std::uint64_t fieldId_ = 0;
    bool hooked_ = true;
    unsigned held_ = 0;
};

Recording Record(const Stream& s, RecorderOptions options = {}) {
    return TranslateRecording(s.events, options);
}

Lines LinesOf(const Stream& s, RecorderOptions options = {}) {
    return Record(s, options).lines;
}

constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkDown = 0x28;
constexpr std::uint32_t kVkF4 = 0x73;
constexpr std::uint32_t kVkDelete = 0x2E;

// ---- keys and text ----

TEST(Recorder, TextRunsAndWhatEndsThem) {
    // Ctrl+Alt typing a character (AltGr) is the character; Ctrl+Space's blank is the
    // shortcut's own.
    Stream s;
    s.In(kNotepad).Text("こんにちは、世界").Key(kVkReturn, 0, "\r");
    s.Key('A', kRecControl, "\x01").Key('C', kRecControl, "\x03");
    s.In(kTarget).Typed("Hello world").Key(kVkTab, 0, "\t").Typed("ab").Key(kVkReturn, 0, "\r");
    s.Typed("x").Click({200, 200}).Typed("y").Key('Q', kRecControl | kRecAlt, "@").Typed("x");
    s.Key(kVkSpace, kRecControl, " ").Stop();
    EXPECT_EQ(
        LinesOf(s),
        (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"こんにちは、世界\"", "KEYIN:RETURN",
               "KEYIN:CONTROL A", "KEYIN:CONTROL C", "FOCUS:\"ZvTarget\"", "TYPE:\"Hello world\"",
               "KEYIN:TAB", "TYPE:\"ab\"", "KEYIN:RETURN", "TYPE:\"x\"", "MOUSE:136,117,L,LOCAL",
               "TYPE:\"y\"", "TYPE:\"@x\"", "KEYIN:CONTROL SPACE"}));
}

TEST(Recorder, TypeLinesReadBackAsTheTextThatWasTyped) {
    // Quotes inside, at either end, blanks at the ends, a trail byte 0x5C (表), a
    // half-width katakana: TYPE's reading (the last quote closes) gives each back.
    const std::string texts[] = {"say \"hi\"", "\"quoted\"", "a\"",    "  blanks  ",
                                 "表示ｶﾅ",     "'single'",   "50% off"};
    for (const std::string& text : texts) {
        const Lines lines = LinesOf(Stream().In(kTarget).Text(text));
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
        const Lines lines = LinesOf(Stream().In(kTarget).Text(token));
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[1], "TYPE:\"" + token.substr(0, token.size() - 1) + "\"");
        EXPECT_EQ(lines[2], "TYPE:\"" + token.substr(token.size() - 1) + "\"");
    }
    EXPECT_EQ(LinesOf(Stream().In(kTarget).Text("%CLIPS"))[1], "TYPE:\"%CLIPS\"") << "no token";
}

TEST(Recorder, BackspaceInsideARunTakesBackItsLastCharacter) {
    // A double-byte character goes whole, trail byte 0x5C included. A run taken back
    // entirely leaves no line; after the run ended, Backspace deletes what was before.
    Stream s;
    s.In(kNotepad).Typed("helo").Key(kVkBack).Typed("lo").Key(kVkReturn, 0, "\r");
    s.Text("予定表").Key(kVkBack).Text("示").Key(kVkTab, 0, "\t").Key(kVkBack);
    s.Typed("ab").Repeat(3, kVkBack).Typed("cd").Key(kVkBack, kRecControl);  // a word: a key
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"hello\"", "KEYIN:RETURN", "TYPE:\"予定示\"",
                     "KEYIN:TAB", "KEYIN:BACK,REP=2", "TYPE:\"cd\"", "KEYIN:CONTROL BACK"}));
}

TEST(Recorder, IdenticalKeysFoldIntoRepeats) {
    // Up to the KEYIN dialog's limit, 999; a pause between them keeps them apart.
    Stream s;
    s.In(kTarget).Repeat(1001, kVkDown).Repeat(2, kVkTab).Key(kVkTab, kRecShift).Repeat(2, kVkTab);
    s.Key(kVkDown).Pause(1500).Key(kVkDown);
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:DOWN,REP=999", "KEYIN:DOWN,REP=2",
                                 "KEYIN:TAB,REP=2", "KEYIN:SHIFT TAB", "KEYIN:TAB,REP=2",
                                 "KEYIN:DOWN", "WAIT:1500,0", "KEYIN:DOWN"}));
}

TEST(Recorder, KeysThatDifferOnlyByAltDoNotFold) {
    Stream s;  // F4, then Alt+F4 to close the window: two strokes, not one repeated
    s.In(kTarget).Key(kVkF4).Key(kVkF4, kRecAlt).Key(kVkF4, kRecAlt).Key(kVkF4);
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:F4", "KEYIN:MENU F4,REP=2", "KEYIN:F4"}));
}

TEST(Recorder, CombinationsUseTheKeyNamesAndTheDialogsOrder) {
    Stream s;
    s.In(kTarget).Key('S', kRecControl | kRecShift, "\x13").Key(kVkF4, kRecAlt).Key('R', kRecWin);
    s.Key(kVkDelete, kRecControl | kRecAlt).Key('1', kRecControl);
    s.Key(0xA3);  // a modifier alone (right Ctrl) presses nothing
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
    // Ctrl+; on a Japanese keyboard has no name: its own byte. Ctrl+ろ: 0xE2 is a lead
    // byte, no line can name it. Then keys the input method took, 半角/全角, 変換.
    Stream s;
    s.In(kTarget).Key(0xBB, kRecControl).Key(0xE2, kRecControl).Key(kVkProcessKey).Key(0x19);
    s.Key(0xF3).Key(0x1C).Key(kVkCapital);
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:CONTROL \xBB"}));
    EXPECT_EQ(r.unrecordable, 1);
}

TEST(Recorder, LoneAltAndMenuKeys) {
    // Alt alone opens the menu bar; letters then choose items and their characters are
    // the menu's: keys, not text.
    Stream s;
    s.In(kNotepad).Key(kVkMenu);
    RecEvent f = s.ProgramKey(RecEvent::Kind::KeyDown, 'F');
    f.menuMode = true;
    s.Add(f);
    RecEvent ch = s.Event(RecEvent::Kind::Char);
    ch.text = "f";
    ch.menuMode = true;
    s.Add(ch);
    s.Key(kVkDown).Key(kVkReturn, 0, "\r");
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "KEYIN:MENU", "KEYIN:F", "KEYIN:DOWN",
                                 "KEYIN:RETURN"}));

    // Shift or Ctrl alone, or Shift with a letter: no line of their own. Alt+Tab: the
    // program sees Alt alone (the system keeps the Tab), then the input goes elsewhere.
    Stream alone;
    // Alt+Shift and Shift+Alt (switching the keyboard layout): no lone Alt either.
    alone.In(kNotepad).Key(kVkShift).Key(kVkControl).Key('A', kRecShift, "A").Key(kVkLWin);
    alone.Key(kVkShift, kRecAlt).Key(kVkMenu, kRecShift);
    alone.Typed("a").Key(kVkMenu).Pause(1500).In(kTarget).Typed("b");
    EXPECT_EQ(LinesOf(alone),
              (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"A\"", "KEYIN:LWIN", "TYPE:\"a\"",
                     "WAIT:1500,0", "FOCUS:\"ZvTarget\"", "TYPE:\"b\""}));
}

// ---- windows ----

TEST(Recorder, WindowsFocusCannotFind) {
    // A caption that is a token is found by a partial match on the same text.
    EXPECT_EQ(LinesOf(Stream().In(Window(7, "%CLIP")).Typed("x"))[0], "FOCUS:\"%CLIP*\"");

    // Nothing focusable at all: no FOCUS, screen coordinates.
    Stream none;
    none.In(Window(0, "")).Click({500, 400}).Key(kVkF4);
    EXPECT_EQ(LinesOf(none), (Lines{"MOUSE:500,400,L", "KEYIN:F4"}));
}

// ---- mouse ----

TEST(Recorder, ClicksInClientCoordinatesWithTheirActions) {
    Stream s;
    s.In(kTarget).Click({164, 203}).Pause(700).Click({200, 220}, RecButton::Right).Pause(700);
    s.Click({210, 230}, RecButton::Middle).Pause(700).Click({220, 240}, RecButton::X1).Pause(700);
    s.Click({230, 250}, RecButton::X2);
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
    // A pause is measured from the end of a drag (or a drag left out) to the next press.
    Stream s;
    s.In(kTarget).Down({124, 283}).Pause(3000).Up({364, 343});
    s.Pause(800).Drag({164, 203}, {167, 206});  // within the drag distance: a click
    s.Pause(800);
    s.Down({300, 300}, RecButton::Right).Pause(200).Up({302, 301}, RecButton::Right);
    s.Pause(800).Down({300, 300}, RecButton::Right).Pause(200).Up({340, 300}, RecButton::Right);
    s.Pause(1200).Click({164, 203});
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:60,200,LOCAL", "MOUSE:300,260,DD,LOCAL",
                              "MOUSE:100,120,L,LOCAL", "MOUSE:236,217,R,LOCAL", "WAIT:1200,0",
                              "MOUSE:100,120,L,LOCAL"}));
    EXPECT_EQ(r.otherDrags, 1) << "a right drag is no right click";
}

TEST(Recorder, ClicksGoToTheWindowUnderThePointer) {
    Stream s;
    s.In(kNotepad).Typed("a");
    s.Over(kTarget).Click({164, 203});  // activates the target: FOCUS first
    s.In(kTarget).Typed("b");
    // A pop-up menu has no caption: the window in front measures its click, takes its keys.
    s.Over(kMenu).Click({170, 140}).Key(kVkDown).Key(kVkReturn, 0, "\r");
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "TYPE:\"a\"", "FOCUS:\"ZvTarget\"",
                                 "MOUSE:100,120,L,LOCAL", "TYPE:\"b\"", "MOUSE:106,57,L,LOCAL",
                                 "KEYIN:DOWN", "KEYIN:RETURN"}));
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

    // The recording starts with the window in front; the first action, a click or a
    // wheel notch, comes later: still nothing to wait for.
    for (const bool wheel : {false, true}) {
        Stream first;
        first.Front(kTarget).Pause(3000).In(kTarget);
        EXPECT_EQ(LinesOf(wheel ? first.Wheel({164, 203}, -120) : first.Click({164, 203}))[0],
                  "FOCUS:\"ZvTarget\"");
    }

    // A wheel turned less than a notch writes no line, but the user was not idle.
    Stream fine;
    fine.In(kTarget).Key(kVkF4).Pause(700).Wheel({164, 203}, 40).Pause(700).Key(kVkTab);
    EXPECT_EQ(LinesOf(fine), (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:F4", "KEYIN:TAB"}));

    RecorderOptions patient;
    patient.pauseMs = 3000;
    EXPECT_EQ(LinesOf(s, patient),
              (Lines{"FOCUS:\"ZvTarget\"", "KEYIN:F4", "KEYIN:TAB", "KEYIN:DOWN", "KEYIN:RETURN",
                     "TYPE:\"abcdef\"", "WAIT:30000,0", "MOUSE:100,120,L,LOCAL"}));
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
    s.Typed("a").Password(2).Typed("b");  // the runs before and after stay apart
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"user\"", "KEYIN:TAB", "KEYIN:RETURN",
                              "TYPE:\"a\"", "TYPE:\"b\""}));
    EXPECT_TRUE(r.passwordSkipped);
    EXPECT_EQ(RecordingEndNote(r), "パスワード欄に入力された文字は記録していません。");
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

    // A character CP932 lacks, a button held at the stop.
    EXPECT_EQ(Record(Stream().In(kTarget).Char("").Down({100, 100}).Stop()).unrecordable, 2);

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

// ---- the window of every key ----

TEST(Recorder, AKeyThatClosesItsWindowStaysWithThatWindow) {
    // Alt+F4 in the Notepad in front, the other one behind it.
    Stream s;
    s.In(kNotepadB).Typed("b");
    s.Over(kNotepadA).Click({80, 100}).In(kNotepadA).ReadLate(Closed(kNotepadA), kNotepadB);
    s.Key(kVkF4, kRecAlt);
    s.In(kNotepadB).Typed("y");
    // A save dialog closed by Enter, its caption gone when its program's reports were
    // read: its characters and its Enter are still the dialog's, not the main window's.
    s.In(kNotepad).Typed("a").Key('S', kRecControl, "\x13").In(kDialog);
    s.ReadLate(Closed(kDialog), kNotepad).Typed("memo").Key(kVkReturn, 0, "\r");
    s.In(kNotepad).Typed("x");
    EXPECT_EQ(LinesOf(s),
              (Lines{"FOCUS:\"b.txt - メモ帳\"", "TYPE:\"b\"", "FOCUS:\"a.txt - メモ帳\"",
                     "MOUSE:50,50,L,LOCAL", "KEYIN:MENU F4", "FOCUS:\"b.txt - メモ帳\"",
                     "TYPE:\"y\"", "FOCUS:\"無題 - メモ帳\"", "TYPE:\"a\"", "KEYIN:CONTROL S",
                     "FOCUS:\"名前を付けて保存\"", "TYPE:\"memo\"", "KEYIN:RETURN",
                     "FOCUS:\"無題 - メモ帳\"", "TYPE:\"x\""}));
}

// ---- chords the system takes ----

TEST(Recorder, AChordTheSystemTookIsRecordedWhole) {
    // Alt+Z is the launcher's hotkey. Alt+Tab switches windows: the window the input goes
    // to next is the line.
    Stream s;
    s.In(kNotepad).Taken('E', kRecWin).Taken('R', kRecWin).Taken('D', kRecWin).Taken('Z', kRecAlt);
    s.Typed("a").Taken(kVkTab, kRecAlt).Pause(1450).In(kTarget).Typed("b").Stop();
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"無題 - メモ帳\"", "KEYIN:LWIN E", "KEYIN:LWIN R",
                                 "KEYIN:LWIN D", "KEYIN:MENU Z", "TYPE:\"a\"", "WAIT:1500,0",
                                 "FOCUS:\"ZvTarget\"", "TYPE:\"b\""}));
}

TEST(Recorder, KeysAProgramNeverReceivedAreCountedNotGuessed) {
    // The target stops taking its messages: the keyboard saw Enter and three letters.
    Stream s;
    s.In(kTarget).Typed("a").Hooked(false).Key(kVkReturn).Typed("xy").Text("z").Hooked(true);
    Stream running = s;
    s.Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"a\"", "KEYIN:RETURN"}));
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0], (RecNotice{RecNotice::Kind::KeysNotReceived, "ZvTarget", 3}));
    EXPECT_EQ(RecordingEndNote(r),
              "「ZvTarget」が受け取らなかったキー入力 3 件は記録していません。");
    // While recording, its reports may still come.
    EXPECT_TRUE(Record(running).notices.empty());
    EXPECT_EQ(Record(running).lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"a\""}));
}

// ---- where the focus takes no text ----

TEST(Recorder, SpaceAndMnemonicsOnButtonsAreKeys) {
    // A character without its key ("c") is the key that types it.
    Stream s;
    s.In(Window(0x70, "ZvTarget 質問", {500, 300})).Field(RecField::Keys).Key(kVkSpace, 0, " ");
    s.Key('Y', 0, "y").Key('N', kRecShift, "N").Text("c ").Field(RecField::Text).Typed("ok");
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"ZvTarget 質問\"", "KEYIN:SPACE", "KEYIN:Y",
                                 "KEYIN:SHIFT N", "KEYIN:C", "KEYIN:SPACE", "TYPE:\"ok\""}));
}

TEST(Recorder, TheFocusControlsKind) {
    using A = FieldFacts::Access;
    auto kind = [](std::string cls, std::uint32_t dlgCode = 0, bool password = false,
                   A access = A::None, std::uint32_t state = 0, std::uint32_t role = 0) {
        FieldFacts f;
        f.className = std::move(cls);
        f.dialogCode = dlgCode;
        f.passwordStyle = password;
        f.access = access;
        f.state = state;
        f.role = role;
        return ClassifyField(f);
    };
    EXPECT_EQ(kind("Edit", 0x89), RecField::Text);
    EXPECT_EQ(kind("Edit", 0x89, true), RecField::Password);
    EXPECT_EQ(kind("RichEdit20W", 0x89, true), RecField::Password);
    EXPECT_EQ(kind("WindowsForms10.EDIT.app.0.1", 0x89, true), RecField::Password);
    EXPECT_EQ(kind("Button", 0x2010), RecField::Keys) << "a message box's button";
    EXPECT_EQ(kind("button"), RecField::Keys) << "a check box";
    EXPECT_EQ(kind("ListBox", 0x81), RecField::Keys);
    EXPECT_EQ(kind("SysListView32"), RecField::Keys);
    EXPECT_EQ(kind("#32770"), RecField::Keys);
    EXPECT_EQ(kind("ThunderRT6CommandButton", 0x2010), RecField::Keys) << "by its dialog code";
    EXPECT_EQ(kind("Scintilla", 0x8C), RecField::Text) << "wants characters";
    EXPECT_EQ(kind("MyCanvas"), RecField::Text) << "nothing says otherwise";
    // Accessibility: protected is a password, whatever the class.
    EXPECT_EQ(kind("ZvSecretField", 0, false, A::Read, kStateSystemProtected), RecField::Protected);
    EXPECT_EQ(kind("Chrome_RenderWidgetHostHWND", 0, false, A::Read, kStateSystemProtected | 0x4,
                   kRoleSystemText),
              RecField::Protected);
    EXPECT_EQ(kind("Chrome_RenderWidgetHostHWND", 0, false, A::Read, 0x4, kRoleSystemText),
              RecField::Text);
    EXPECT_EQ(kind("Chrome_RenderWidgetHostHWND", 0, false, A::Read, 0x4, kRoleSystemPushButton),
              RecField::Keys);
    // When in doubt: kept secret.
    EXPECT_EQ(kind("Chrome_RenderWidgetHostHWND", 0, false, A::Unreadable), RecField::Unsure);
    EXPECT_EQ(kind("Chrome_RenderWidgetHostHWND"), RecField::Unsure);
    EXPECT_EQ(kind("HwndWrapper[App.exe;;1b2c]"), RecField::Unsure) << "WPF";
    EXPECT_EQ(kind("Qt5152QWindowIcon"), RecField::Unsure);
    EXPECT_EQ(kind("SunAwtFrame"), RecField::Unsure) << "Java";
    EXPECT_EQ(kind("MyCanvas", 0, false, A::Unreadable), RecField::Unsure);
}

// ---- passwords ----

TEST(Recorder, FieldsProtectedOrUncertainLeaveNothingButANote) {
    Stream s;
    s.In(kTarget).Typed("user").Key(kVkTab, 0, "\t").Password(5, RecField::Protected);
    s.Key(kVkTab, 0, "\t").Password(3, RecField::Unsure).Key(kVkReturn, 0, "\r").Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines,
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"user\"", "KEYIN:TAB,REP=2", "KEYIN:RETURN"}));
    EXPECT_TRUE(r.notices.empty()) << "the keys were received, held back";
    EXPECT_EQ(RecordingEndNote(r),
              "パスワード欄に入力された文字は記録していません。\r\n"
              "パスワード欄かどうかを確認できない入力欄に入力された文字は記録していません。");
}

// ---- the input method ----

TEST(Recorder, AConversionCommittedByAClickGoesIntoItsOwnField) {
    Stream s;
    s.In(kTarget).Field(RecField::Text, 1).Click({164, 103});
    s.Reading("kyou").Composing(kHookComposingStart).Reading(" ");
    s.Pause(400).Click({164, 143});  // the input method commits as the focus leaves the field
    s.Composing(kHookComposingUpdate).Result("今日", 1).Composing(kHookComposingEnd);
    s.Field(RecField::Text, 2).Typed("abc").Stop();
    EXPECT_EQ(LinesOf(s), (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:100,20,L,LOCAL", "TYPE:\"今日\"",
                                 "MOUSE:100,60,L,LOCAL", "TYPE:\"abc\""}));

    // Committed by Tab: the text goes in before the Tab that left the field.
    Stream tab;
    tab.In(kTarget).Field(RecField::Text, 1).Reading("kyou").Composing(kHookComposingStart);
    tab.Reading(" ").Key(kVkTab, 0, "\t").Result("今日", 1);
    tab.Field(RecField::Text, 2).Typed("x").Stop();
    EXPECT_EQ(LinesOf(tab),
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"今日\"", "KEYIN:TAB", "TYPE:\"x\""}));

    // Committed by Enter, which the input method took: nothing moves.
    Stream enter;
    enter.In(kTarget).Field(RecField::Text, 1).Typed("a").Reading("kyou ");
    enter.Composing(kHookComposingStart).Reading("\r").Result("今日", 1).Typed("b").Stop();
    EXPECT_EQ(LinesOf(enter), (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"a今日b\""}));
    EXPECT_TRUE(Record(enter).notices.empty());
}

TEST(Recorder, AnInputMethodWithoutTextIsSaidAndNeverClosedUp) {
    // A program of the newer text framework: the keys go to the input method, its text
    // reaches the program without a message the hook reads.
    const RecWindow browser = Window(0x80, "検索 - ブラウザ", {10, 80});
    Stream s;
    s.In(browser).Typed("ab").Reading("nihongo").Key(kVkConvert).Reading("\r");
    Stream undecided = s;  // still composing, as far as anyone can tell
    s.Typed("cd");
    Stream moved_on = s;
    s.Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"検索 - ブラウザ\"", "TYPE:\"ab\"", "TYPE:\"cd\""}))
        << "no TYPE line runs across the missing text";
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].kind, RecNotice::Kind::ImeTextUnseen);
    EXPECT_EQ(RecordingEndNote(r),
              "「検索 - ブラウザ」で IME などから入力された文字は記録できませんでした。"
              "TYPE 行にその文字はありません。");
    // On the bar as soon as the user moved on, not before.
    EXPECT_EQ(RecordingBarNotice(Record(undecided)), "");
    EXPECT_EQ(RecordingBarNotice(Record(moved_on)),
              "「検索 - ブラウザ」の IME 入力を記録できません");

    // A classic program: its composition messages come; a cancelled conversion is no
    // loss, a finished one is text.
    Stream classic;
    classic.In(kTarget).Reading("kyou").Composing(kHookComposingStart).Reading("\x1b");
    classic.Composing(kHookComposingEnd).Typed("x").Reading("ashita");
    classic.Composing(kHookComposingStart).Reading("\r").Result("明日").Typed("y").Stop();
    const Recording c = Record(classic);
    EXPECT_EQ(c.lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"x明日y\""}));
    EXPECT_TRUE(c.notices.empty());
}

TEST(Recorder, KeysThatTypedNoCharacterAreSaid) {
    // The text framework's input method takes the keys as the program gets them, with
    // their own codes: no character follows them.
    const RecWindow word = Window(0x81, "文書1 - ワード", {0, 0});
    Stream s;
    s.In(word).Typed("ab").Key('K').Key('Y').Key('O').Key('U').Key(kVkSpace);
    s.Pause(300).Click({40, 40}).Typed("c").Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"文書1 - ワード\"", "TYPE:\"ab\"", "MOUSE:40,40,L,LOCAL",
                              "TYPE:\"c\""}));
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].kind, RecNotice::Kind::ImeTextUnseen);

    // A program that takes its keys late stamps a character after the next key's press;
    // it still is its own key's character: the program reported it first.
    Stream late;
    late.In(kTarget).Typed("ab").Stop();
    for (RecEvent& e : late.events) {
        if (e.kind == RecEvent::Kind::Char && e.text == "a")
            e.time += 15;
    }
    const Recording l = Record(late);
    EXPECT_EQ(l.lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"ab\""}));
    EXPECT_TRUE(l.notices.empty());
}

TEST(Recorder, ClicksOnTheInputMethodsWindowsAreLeftOut) {
    RecWindow candidates = Window(0x90, "", {600, 400});
    candidates.className = "MSCandUIWindow_Candidate";
    Stream s;
    s.In(kTarget).Reading("kanji").Composing(kHookComposingStart).Reading(" ");
    s.Over(candidates).Click({620, 440}).Over(kTarget);
    s.Reading("\r").Result("感じ").Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"感じ\""}));
    EXPECT_EQ(r.inputMethodClicks, 1);
    EXPECT_EQ(RecordingEndNote(r),
              "IME のウィンドウでのクリック 1 件は記録していません (選んだ文字は記録しています)。");
    for (const char* cls :
         {"IME", "MSCTFIME UI", "CiceroUIWndFrame", "GoogleJapaneseInputCandidateWindow",
          "Microsoft.IME.UIManager.CandidateWindow.Host"})
        EXPECT_TRUE(IsInputMethodWindowClass(cls)) << cls;
    for (const char* cls : {"Notepad", "Edit", "", "IMEX", "#32770"})
        EXPECT_FALSE(IsInputMethodWindowClass(cls)) << cls;
}

// ---- mouse actions no line expresses ----

TEST(Recorder, ModifiedMouseActionsAndOtherDragsAreCountedNotFlattened) {
    Stream s;
    s.In(kTarget).Hold(kRecControl).Click({164, 203}).Release(kRecControl);
    s.Hold(kRecShift).Click({170, 210}).Wheel({170, 210}, -120).Release(kRecShift);
    s.Hold(kRecAlt).Drag({124, 283}, {364, 343}).Release(kRecAlt);
    s.Pause(800).Drag({300, 300}, {340, 300}, RecButton::Right);
    s.Pause(800).Drag({300, 300}, {300, 360}, RecButton::Middle);
    s.Pause(800).Click({164, 203}).Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines, (Lines{"FOCUS:\"ZvTarget\"", "MOUSE:100,120,L,LOCAL"}))
        << "no plain click, no lone Alt, no plain drag";
    EXPECT_EQ(r.modifiedMouse, 4);
    EXPECT_EQ(r.otherDrags, 2);
    EXPECT_EQ(RecordingEndNote(r),
              "Shift・Ctrl・Alt・Windows キーを押しながらのマウス操作 4 件は記録していません。\r\n"
              "左ボタン以外でのドラッグ 2 件は記録していません。");
}

// ---- programs the hook cannot enter ----

TEST(Recorder, AProgramTheHookCannotEnterGetsKeysOnlyAndANote) {
    RecWindow old = Window(0xA0, "古いアプリ", {100, 100});
    old.reach = RecReach::Bits32;
    Stream s;
    s.In(kTarget).Typed("a").Front(old);
    Stream inFront = s;
    s.In(old).Hooked(false).Typed("secret").Key(kVkReturn).Key('S', kRecControl);
    s.Key(kVkMenu).Click({150, 130}).Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines,
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"a\"", "FOCUS:\"古いアプリ\"", "KEYIN:RETURN",
                     "KEYIN:CONTROL S", "KEYIN:MENU", "MOUSE:50,30,L,LOCAL"}));
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0], (RecNotice{RecNotice::Kind::Bits32, "古いアプリ", 6}));
    EXPECT_EQ(RecordingEndNote(r),
              "「古いアプリ」は 32 ビットのプログラムのため、入力された文字は記録していません "
              "(キー操作とマウス操作だけを記録しています)。");
    // Said on the bar as soon as it comes in front.
    EXPECT_EQ(RecordingBarNotice(Record(inFront)),
              "「古いアプリ」の文字入力は記録できません (32 ビット)");

    RecWindow admin = Window(0xA1, "管理ツール", {0, 0});
    admin.reach = RecReach::Elevated;
    RecWindow store = Window(0xA2, "電卓", {0, 0});
    store.reach = RecReach::AppContainer;
    Stream two;
    two.Front(admin).Front(store).Front(admin).Stop();
    const Recording t = Record(two);
    EXPECT_EQ(RecordingBarNotice(t),
              "「電卓」の文字入力は記録できません (ストア アプリ) ほか 1 件");
    EXPECT_EQ(RecordingEndNote(t),
              "記録された操作はありません。\r\n"
              "「管理ツール」は管理者として実行されているため、入力された文字は記録していません "
              "(キー操作も記録できない場合があります)。\r\n"
              "「電卓」はストア アプリのため、入力された文字は記録していません "
              "(キー操作とマウス操作だけを記録しています)。");
}

TEST(Recorder, TheBarShortensALongCaption) {
    RecWindow w =
        Window(0xB0, "とても長いウィンドウのキャプションがここに続いていきます - アプリ", {});
    w.reach = RecReach::Bits32;
    Stream s;
    s.Front(w);
    EXPECT_EQ(RecordingBarNotice(Record(s)),
              "「とても長いウィンドウのキャプションがここに続い…」の文字入力は記録できません (32 "
              "ビット)");
}

// ---- characters Shift-JIS lacks ----

TEST(Recorder, ACharacterShiftJisLacksKeepsTheTextAroundItApart) {
    Stream s;
    s.In(kTarget).Text("今日は").Missing(0x1F600).Text("晴れ").Missing(0x20B9F).Missing(0x1F600);
    s.Text("です").Stop();
    const Recording r = Record(s);
    EXPECT_EQ(r.lines,
              (Lines{"FOCUS:\"ZvTarget\"", "TYPE:\"今日は\"", "TYPE:\"晴れ\"", "TYPE:\"です\""}));
    EXPECT_EQ(RecordingEndNote(r),
              "Shift-JIS で表せない文字 3 文字 (U+1F600、U+20B9F) は記録していません。"
              "前後の文字は別の TYPE 行です。");
    Stream many;
    for (std::uint32_t c = 0x1F600; c < 0x1F607; ++c)
        many.Missing(c);
    EXPECT_NE(
        RecordingEndNote(Record(many)).find("(U+1F600、U+1F601、U+1F602、U+1F603、U+1F604 ほか)"),
        std::string::npos);
}

// Random streams of everything the capture can deliver: whatever the user did, every
// line is one the editor describes as valid and the engine can run, FOCUS comes first,
// no KEYIN repeats the line before it, and every WAIT lies in the WAIT dialog's range.
TEST(Recorder, RandomStreamsGiveValidLines) {
    RecWindow old = Window(0xA0, "古いアプリ", {100, 100});
    old.reach = RecReach::Bits32;
    RecWindow candidates = Window(0x90, "", {600, 400});
    candidates.className = "MSCandUIWindow_Candidate";
    const RecWindow windows[] = {kNotepad,   kTarget,       kDialog,          kMenu, Bar(), old,
                                 candidates, Window(0, ""), Closed(kNotepadA)};
    const RecField fields[] = {RecField::Text, RecField::Keys, RecField::Password,
                               RecField::Protected, RecField::Unsure};
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
            const std::function<void()> actions[] = {
                [&] { s.Key(keys[rng() % std::size(keys)], rng() % 16); },
                [&] { s.Char(chars[rng() % std::size(chars)]); },
                [&] { s.Char(chars[rng() % std::size(chars)]); },
                [&] { s.Click(p, static_cast<RecButton>(rng() % 5)); },
                [&] { s.Down(p, static_cast<RecButton>(rng() % 5)); },
                [&] { s.Up(p, static_cast<RecButton>(rng() % 5)); },
                [&] { s.Wheel(p, static_cast<int>(rng() % 481) - 240, rng() % 5 == 0); },
                [&] { s.Password(1); },
                [&] { s.Taken(keys[rng() % std::size(keys)], rng() % 16); },
                [&] { s.Reading("ka").Composing(static_cast<HookComposing>(1 + rng() % 3)); },
                [&] { s.Result("漢字", rng() % 3); },
                [&] { s.Field(fields[rng() % std::size(fields)], rng() % 3); },
                [&] { s.Hooked(rng() % 3 != 0); },
                [&] { s.Missing(0x1F600); },
                [&] { s.Front(w).Typed("x"); },
            };
            actions[rng() % std::size(actions)]();
        }
        if (rng() % 2 == 0)
            s.Stop();
        const Recording r = Record(s);
        const Lines& lines = r.lines;
        EXPECT_FALSE(RecordingEndNote(r).empty() && lines.empty());
        for (const RecNotice& notice : r.notices)
            EXPECT_NE(RecordingEndNote(r).find(notice.window), std::string::npos);
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
        {HookEventKind::KeyDown, HookFlags(kRecControl | kRecShift, true, RecField::Keys), 0x41,
         0xFFFFFFFFu},
        {HookEventKind::Char, 0, 0x8868, 12345},  // a UTF-16 unit above 0x7FFF
        {HookEventKind::PasswordChar, HookFlags(kRecWin, false, RecField::Unsure), 0, 0},
        {HookEventKind::KeyUp, kRecAlt, 0xA4, 0x80000000u},
        {HookEventKind::ResultChar, HookFlags(0, false, RecField::Protected), 0xD83D, 7},
        {HookEventKind::Composing, 0, kHookComposingEnd, 8},
    };
    for (const HookEvent& e : events)
        EXPECT_EQ(UnpackHookEvent(PackHookEvent(e)), e);
    EXPECT_EQ(UnpackHookEvent(0), std::nullopt);
    EXPECT_EQ(UnpackHookEvent(0x1234567800000007ull), std::nullopt);

    // Every field and the modifiers and menu mode beside it come back apart.
    for (std::uint8_t f = 0; f < kRecFieldCount; ++f) {
        const auto field = static_cast<RecField>(f);
        const std::uint8_t flags = HookFlags(kRecModifierMask, true, field);
        EXPECT_EQ(HookFieldOf(flags), field);
        EXPECT_EQ(flags & kRecModifierMask, kRecModifierMask);
        EXPECT_NE(flags & kHookMenuMode, 0);
        EXPECT_EQ(HookFieldOf(HookFlags(0, false, field)), field);
    }
    EXPECT_EQ(HookFieldOf(0xE0), RecField::Unsure) << "a field no hook writes is kept secret";

    const HookWindows windows[] = {{0x00020050u, 0x0003007Au}, {0xFFFFFFFFu, 0}, {0, 0x80000001u}};
    for (const HookWindows& w : windows)
        EXPECT_EQ(UnpackHookWindows(PackHookWindows(w)), w);
}

TEST(RecorderHook, ASecretFieldGivesNoKeyThatTypes) {
    using K = HookEventKind;
    using A = HookKeyAction;
    for (RecField secret : {RecField::Password, RecField::Protected, RecField::Unsure}) {
        EXPECT_EQ(HookActionForKey(K::KeyDown, 'A', 0, false, secret), A::Withhold);
        EXPECT_EQ(HookActionForKey(K::KeyDown, '7', kRecShift, false, secret), A::Withhold);
        EXPECT_EQ(HookActionForKey(K::KeyDown, 0x65, 0, false, secret), A::Withhold)
            << "numeric keypad 5";
        EXPECT_EQ(HookActionForKey(K::KeyDown, kVkTab, 0, false, secret), A::Forward);
        EXPECT_EQ(HookActionForKey(K::KeyDown, 'V', kRecControl, false, secret), A::Forward)
            << "a shortcut";
        EXPECT_EQ(HookActionForKey(K::KeyUp, 0xA4, 0, false, secret), A::Forward)
            << "a modifier's release";
    }
    EXPECT_EQ(HookActionForKey(K::KeyDown, 'A', 0, false, RecField::Text), A::Forward);
    EXPECT_EQ(HookActionForKey(K::KeyDown, 'A', 0, false, RecField::Keys), A::Forward);
    EXPECT_EQ(HookActionForKey(K::KeyUp, 'A', 0, false, RecField::Text), A::Drop);
    EXPECT_EQ(HookActionForKey(K::KeyUp, kVkReturn, 0, false, RecField::Text), A::Drop);
}

}  // namespace
}  // namespace zv
