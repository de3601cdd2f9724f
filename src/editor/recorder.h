// "操作を記録": what the user did while the recording bar showed, turned into macro lines
// a person would write. The Win32 side captures facts as RecEvent: what each program
// received (keys, characters, the input method's results, the kind of control that had
// the focus), what the keyboard and the mouse did at the moment they did it (with the
// window in front then), and which window came in front. This translation decides every
// line:
//   - a change of the window the input goes to becomes FOCUS with its caption (the first
//     line of a recording focuses); a key belongs to the window that was in front when it
//     was pressed, even when that window closed at once (Alt+F4, Enter on a dialog);
//   - the characters programs received (after the input method) become one TYPE line per
//     run; Backspace inside a run takes back its last character; Enter and Tab end a run
//     and are KEYIN lines like every key that types nothing or is pressed with Ctrl, Alt
//     or Win; identical consecutive keys fold into REP=; where the focus takes no text
//     (a button, a list, a message box) every key is a KEYIN line, Space and letters too;
//   - an input method's result goes where the conversion was made: before the click or
//     key that left the field;
//   - a chord the system or another program took (Win+E, Alt+Z) is a KEYIN of the chord
//     as the keyboard pressed it;
//   - clicks, double clicks and wheel notches become MOUSE lines in client coordinates of
//     the window they went to (LOCAL); a left press and release further apart than the
//     drag distance become a move to the press point and a DD line to the release point;
//   - a pause longer than the threshold before an action becomes WAIT, rounded to 100 ms
//     (pauses between the characters of one run do not: TYPE enters the run at once);
//   - the stop key, the recording bar and everything after the stop are left out.
// What no line can express, and what the capture could not see, is left out, counted and
// said: in the closing note, and the windows it concerns at once on the recording bar.
// Every line is composed by the model of the dialog that writes that command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/geometry.h"
#include "common/profile.h"
#include "editor/recorder_keys.h"

namespace zv {

// ---- configuration ----

inline constexpr std::string_view kKeyRecordPauseMSec = "RecordPauseMSec";
inline constexpr std::int32_t kDefaultRecordPauseMs = 1000;

// "RecordPauseMSec" of "RkManagerSettings": a missing or negative value is replaced by
// the default, which is written back.
std::int32_t LoadRecordPauseMSec(IProfile& profile);

// ---- events ----

// Whether the recording hook can enter the program of a window.
enum class RecReach : std::uint8_t {
    Hooked,        // it runs there and passes on what the program receives
    Bits32,        // a 32-bit program: the 64-bit hook cannot be loaded there
    Elevated,      // a program of a higher integrity level than the editor
    AppContainer,  // a store app
};

// A top-level window as the capture saw it when the event happened.
struct RecWindow {
    std::uint64_t id = 0;   // 0: none
    std::string caption;    // CP932
    Point clientOrigin;     // screen position of the client area's top-left corner
    bool own = false;       // a window of the editor itself (the recording bar)
    std::string className;  // its window class (mouse events)
    RecReach reach = RecReach::Hooked;

    bool operator==(const RecWindow&) const = default;
};

enum class RecButton : std::uint8_t { Left, Right, Middle, X1, X2 };

struct RecEvent {
    enum class Kind : std::uint8_t {
        // What a program received (the hook inside it), in the program's time:
        KeyDown,       // key (0: a key held back in a secret field), modifiers, menuMode
        KeyUp,         // key (modifiers only)
        Char,          // text: one character in CP932; empty when CP932 has none for it
                       // (codePoint says which); composed: from the input method's result
        PasswordChar,  // a character typed into a secret field (nothing of it is known)
        Composing,     // the input method composes in the field (composing: start, ...)
        // What the keyboard did (the low-level hook), with the window in front then:
        RawKeyDown,  // key
        RawKeyUp,    // key
        // What the mouse did (the low-level hook):
        ButtonDown,  // button, point
        ButtonUp,    // button, point
        Wheel,       // wheelDelta (positive: away from the user), point, horizontal
        Front,       // foreground: a window came in front
        Stop,        // the recording ended here
    };
    Kind kind = Kind::KeyDown;
    std::uint32_t time = 0;  // the system's millisecond tick count
    std::uint32_t key = 0;
    unsigned modifiers = 0;  // RecModifier bits held with the key
    bool menuMode = false;   // the receiving program was in a menu
    std::string text;
    bool composed = false;
    std::uint32_t codePoint = 0;
    HookComposing composing = kHookComposingUpdate;
    RecField field = RecField::Text;  // program events: the kind of the focus control
    std::uint64_t fieldId = 0;        // program events: the focus control (0: unknown)
    RecButton button = RecButton::Left;
    Point point;  // screen position of the pointer
    std::int32_t wheelDelta = 0;
    bool horizontal = false;
    // Program events: the top-level window of the control that received them, its caption
    // as read when the event reached the editor. Mouse: the top-level window under the
    // pointer.
    RecWindow window;
    // The window in front: for the keyboard, the mouse and Front when they happened; for
    // program events when they reached the editor.
    RecWindow foreground;
};

// ---- translation ----

struct RecorderOptions {
    std::int32_t pauseMs = kDefaultRecordPauseMs;  // a longer pause becomes WAIT
    std::uint32_t doubleClickMs = 500;             // the system's double-click time
    Point doubleClickSize{4, 4};                   // SM_CXDOUBLECLK, SM_CYDOUBLECLK
    Point dragSize{4, 4};                          // SM_CXDRAG, SM_CYDRAG
};

// Something a recording could not capture in one window.
struct RecNotice {
    enum class Kind : std::uint8_t {
        ImeTextUnseen,    // the input method was at work there and no text came out of it
        Bits32,           // the hook cannot enter its program: keys from the keyboard,
        Elevated,         //   no text
        AppContainer,     //
        KeysNotReceived,  // keys its program did not receive while recording
    };
    Kind kind = Kind::ImeTextUnseen;
    std::string window;  // its caption
    int count = 0;       // keys left out

    bool operator==(const RecNotice&) const = default;
};

struct Recording {
    std::vector<std::string> lines;
    bool passwordSkipped = false;  // characters typed into a password field were left out
    bool unsureSkipped = false;    // ... into a field whose kind could not be read
    int unrecordable = 0;          // operations no line can express (a second extra button,
                                   // a sideways wheel, a key without a name, ...)
    int modifiedMouse = 0;         // clicks, drags and notches with Shift, Ctrl, Alt or Win
    int otherDrags = 0;            // drags with another button than the left one
    int inputMethodClicks = 0;     // clicks on the input method's own windows
    std::vector<std::uint32_t> missingChars;  // characters CP932 lacks, as typed
    std::vector<RecNotice> notices;           // in the order they arose
};

// The lines of a recording. Events are taken in the order of their times (events of
// equal time in the order given); times are compared as a wrapping tick count. Without a
// Stop event the recording is still running: what is not yet decided is not reported.
Recording TranslateRecording(std::vector<RecEvent> events, const RecorderOptions& options);

// ---- what the user sees ----

// The recording bar's status: "記録中  m:ss".
std::string RecordingBarStatus(std::uint32_t elapsedMs);

// The recording bar's warning: what the recording so far could not capture, the latest
// first, naming its window; empty when nothing.
std::string RecordingBarNotice(const Recording& recording);

// What the editor tells the user when a recording is inserted: nothing recorded, what
// could not be captured and where, the password note, operations left out; lines joined
// by CR LF, empty when all went in.
std::string RecordingEndNote(const Recording& recording);

inline constexpr const char* kMsgNothingRecorded = "記録された操作はありません。";
inline constexpr const char* kMsgPasswordNotRecorded =
    "パスワード欄に入力された文字は記録していません。";
inline constexpr const char* kMsgUnsureNotRecorded =
    "パスワード欄かどうかを確認できない入力欄に入力された文字は記録していません。";
inline constexpr const char* kMsgUnrecordable = "マクロで表せない操作 %d 件は記録していません。";
inline constexpr const char* kMsgModifiedMouse =
    "Shift・Ctrl・Alt・Windows キーを押しながらのマウス操作 %d 件は記録していません。";
inline constexpr const char* kMsgOtherDrags = "左ボタン以外でのドラッグ %d 件は記録していません。";
inline constexpr const char* kMsgInputMethodClicks =
    "IME のウィンドウでのクリック %d 件は記録していません (選んだ文字は記録しています)。";
inline constexpr const char* kMsgMissingChars =
    "Shift-JIS で表せない文字 %d 文字 (%s) は記録していません。前後の文字は別の TYPE 行です。";
inline constexpr const char* kMsgImeTextUnseen =
    "「%s」で IME などから入力された文字は記録できませんでした。TYPE 行にその文字はありません。";
inline constexpr const char* kMsgBits32 =
    "「%s」は 32 ビットのプログラムのため、入力された文字は記録していません "
    "(キー操作とマウス操作だけを記録しています)。";
inline constexpr const char* kMsgElevated =
    "「%s」は管理者として実行されているため、入力された文字は記録していません "
    "(キー操作も記録できない場合があります)。";
inline constexpr const char* kMsgAppContainer =
    "「%s」はストア アプリのため、入力された文字は記録していません "
    "(キー操作とマウス操作だけを記録しています)。";
inline constexpr const char* kMsgKeysNotReceived =
    "「%s」が受け取らなかったキー入力 %d 件は記録していません。";
inline constexpr const char* kBarImeTextUnseen = "「%s」の IME 入力を記録できません";
inline constexpr const char* kBarBits32 = "「%s」の文字入力は記録できません (32 ビット)";
inline constexpr const char* kBarElevated = "「%s」の文字入力は記録できません (管理者)";
inline constexpr const char* kBarAppContainer = "「%s」の文字入力は記録できません (ストア アプリ)";
inline constexpr const char* kBarMore = " ほか %d 件";

}  // namespace zv
