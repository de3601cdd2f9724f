// "操作を記録": what the user did while the recording bar showed, turned into macro lines
// a person would write. The Win32 side captures keyboard, character and mouse events as
// RecEvent; this translation decides every line:
//   - a change of the window the input goes to becomes FOCUS with its caption (the first
//     line of a recording focuses);
//   - the characters programs received (after the input method) become one TYPE line per
//     run; Backspace inside a run takes back its last character; Enter and Tab end a run
//     and are KEYIN lines like every key that types nothing or is pressed with Ctrl, Alt
//     or Win; identical consecutive keys fold into REP=;
//   - clicks, double clicks and wheel notches become MOUSE lines in client coordinates of
//     the window they went to (LOCAL); a left press and release further apart than the
//     drag distance become a move to the press point and a DD line to the release point;
//   - a pause longer than the threshold before an action becomes WAIT, rounded to 100 ms
//     (pauses between the characters of one run do not: TYPE enters the run at once);
//   - the stop key, the recording bar and everything after the stop are left out.
// Every line is composed by the model of the dialog that writes that command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/geometry.h"
#include "common/profile.h"

namespace zv {

// ---- configuration ----

inline constexpr std::string_view kKeyRecordPauseMSec = "RecordPauseMSec";
inline constexpr std::int32_t kDefaultRecordPauseMs = 1000;

// "RecordPauseMSec" of "RkManagerSettings": a missing or negative value is replaced by
// the default, which is written back.
std::int32_t LoadRecordPauseMSec(IProfile& profile);

// ---- events ----

// A top-level window as the capture saw it when the event happened.
struct RecWindow {
    std::uint64_t id = 0;  // 0: none
    std::string caption;   // CP932
    Point clientOrigin;    // screen position of the client area's top-left corner
    bool own = false;      // a window of the editor itself (the recording bar)

    bool operator==(const RecWindow&) const = default;
};

enum class RecButton : std::uint8_t { Left, Right, Middle, X1, X2 };

struct RecEvent {
    enum class Kind : std::uint8_t {
        KeyDown,       // key, modifiers, menuMode
        KeyUp,         // key
        Char,          // text: one character in CP932, empty when CP932 has none for it
        PasswordChar,  // a character typed into a password field (nothing of it is known)
        ButtonDown,    // button, point
        ButtonUp,      // button, point
        Wheel,         // wheelDelta (positive: away from the user), point, horizontal
        Stop,          // the recording ended here
    };
    Kind kind = Kind::KeyDown;
    std::uint32_t time = 0;  // the system's millisecond tick count
    std::uint32_t key = 0;
    unsigned modifiers = 0;  // RecModifier bits held with the key
    bool menuMode = false;   // the receiving program was in a menu
    std::string text;
    RecButton button = RecButton::Left;
    Point point;  // screen position of the pointer
    std::int32_t wheelDelta = 0;
    bool horizontal = false;
    // Keys and characters: the top-level window of the control that received them.
    // Mouse: the top-level window under the pointer.
    RecWindow window;
    // The window in front when the event was captured; it takes the input when `window`
    // has no caption (a menu, a pop-up) or is unknown.
    RecWindow foreground;
};

// ---- translation ----

struct RecorderOptions {
    std::int32_t pauseMs = kDefaultRecordPauseMs;  // a longer pause becomes WAIT
    std::uint32_t doubleClickMs = 500;             // the system's double-click time
    Point doubleClickSize{4, 4};                   // SM_CXDOUBLECLK, SM_CYDOUBLECLK
    Point dragSize{4, 4};                          // SM_CXDRAG, SM_CYDRAG
};

struct Recording {
    std::vector<std::string> lines;
    bool passwordSkipped = false;  // characters typed into a password field were left out
    int unrecordable = 0;          // operations no line can express (a second extra button,
                                   // a sideways wheel, a character CP932 lacks, ...)
};

// The lines of a recording. Events are taken in the order of their times (events of
// equal time in the order given); times are compared as a wrapping tick count.
Recording TranslateRecording(std::vector<RecEvent> events, const RecorderOptions& options);

// ---- what the user sees ----

// The recording bar's status: "記録中  m:ss".
std::string RecordingBarStatus(std::uint32_t elapsedMs);

// What the editor tells the user when a recording is inserted: nothing recorded, the
// password note, operations left out; lines joined by CR LF, empty when all went in.
std::string RecordingEndNote(const Recording& recording);

inline constexpr const char* kMsgNothingRecorded = "記録された操作はありません。";
inline constexpr const char* kMsgPasswordNotRecorded =
    "パスワード欄に入力された文字は記録していません。";
inline constexpr const char* kMsgUnrecordable = "マクロで表せない操作 %d 件は記録していません。";

}  // namespace zv
