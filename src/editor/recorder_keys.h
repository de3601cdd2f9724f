// The part a key plays in a recording, the kind of control that has the focus, and the
// message the recording hook inside another program posts to the editor for one message
// it saw there. The hook links this file alone, so it holds back the keys of a password
// field by the same rules the recorder applies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// Modifier keys held with a key.
enum RecModifier : unsigned {
    kRecShift = 1,
    kRecControl = 2,
    kRecAlt = 4,
    kRecWin = 8,
};
inline constexpr unsigned kRecModifierMask = kRecShift | kRecControl | kRecAlt | kRecWin;

enum class KeyRole {
    Modifier,  // Shift, Ctrl, Alt, Win: held with other keys
    Stop,      // Pause (with Ctrl it arrives as Cancel): ends the recording
    Ignored,   // input-method and lock keys, keys the input method took, injected characters
    Text,      // types a character: the character is recorded, not the key
    Command,   // a KEYIN line
};

// The role of a key pressed with the given modifiers. Keys that type characters are Text
// unless Ctrl, Alt or Win is held; where the focus takes keys and no text (keysOnly: a
// menu, a button, a list) they choose or press something, so they are Command keys there.
KeyRole RoleOfKey(std::uint32_t vk, unsigned modifiers, bool keysOnly);

// The generic code of a modifier (left and right Shift are Shift); other codes unchanged.
std::uint32_t GenericModifier(std::uint32_t vk);
// The RecModifier bit of a modifier key; 0 for any other key.
unsigned ModifierBit(std::uint32_t vk);

// Chords with which the system switches windows (Alt+Tab, Alt+Esc, Win+Tab): the window
// the input then goes to is the line, not the chord.
bool IsWindowSwitchChord(std::uint32_t vk, unsigned modifiers);

// ---- the control that has the focus ----

enum class RecField : std::uint8_t {
    Text = 0,       // takes text, or nothing says otherwise
    Keys = 1,       // takes keys and no text: a button, a check box, a list, a message box
    Password = 2,   // an edit control with the password style
    Protected = 3,  // reports itself protected through accessibility (a browser's password)
    Unsure = 4,     // a framework's field whose kind could not be read: kept as secret
};
inline constexpr std::uint8_t kRecFieldCount = 5;

// A field whose characters never leave its program.
inline bool IsSecretField(RecField field) {
    return field == RecField::Password || field == RecField::Protected || field == RecField::Unsure;
}

// What the hook reads of the focus control inside its program.
struct FieldFacts {
    enum class Access : std::uint8_t {
        None,        // offers no accessible object of its own
        Unreadable,  // offers one, but its focused element's state could not be read
        Read,        // state and role below are its focused element's
    };
    std::string className;  // window class, ASCII (other characters as '?')
    bool passwordStyle = false;
    std::uint32_t dialogCode = 0;  // its answer to WM_GETDLGCODE
    Access access = Access::None;
    std::uint32_t state = 0;  // accessible state bits
    std::uint32_t role = 0;   // accessible role
};

RecField ClassifyField(const FieldFacts& facts);

// Whether a top-level window of this class is one of the input method's own (candidate
// list, composition window, language bar): a click there chooses a conversion.
bool IsInputMethodWindowClass(std::string_view className);

// ---- the hook's message ----

enum class HookEventKind : std::uint8_t {
    KeyDown = 1,       // code: virtual key; 0 for a key held back in a secret field
    KeyUp = 2,         // code: virtual key (modifiers only)
    Char = 3,          // code: a UTF-16 unit
    PasswordChar = 4,  // a character typed into a secret field; code 0
    ResultChar = 5,    // code: a UTF-16 unit of the input method's result
    Composing = 6,     // code: HookComposing; the input method composes in the focus control
};
inline constexpr std::uint8_t kHookEventKindLast = 6;

enum HookComposing : std::uint16_t {
    kHookComposingStart = 1,
    kHookComposingUpdate = 2,
    kHookComposingEnd = 3,
};

// Flags beside the RecModifier bits: the menu mode and, in the top three bits, RecField.
inline constexpr std::uint8_t kHookMenuMode = 0x10;
inline constexpr unsigned kHookFieldShift = 5;

struct HookEvent {
    HookEventKind kind = HookEventKind::KeyDown;
    std::uint8_t flags = 0;  // RecModifier bits, kHookMenuMode, RecField
    std::uint16_t code = 0;
    std::uint32_t time = 0;  // the message's time (system tick count)

    bool operator==(const HookEvent&) const = default;
};

std::uint8_t HookFlags(unsigned modifiers, bool menuMode, RecField field);
// The field of an event's flags; a value no hook writes reads as Unsure.
RecField HookFieldOf(std::uint8_t flags);

// The event in the 64 bits of the posted message's first parameter; nothing for a value
// no hook wrote (an unknown kind).
std::uint64_t PackHookEvent(const HookEvent& event);
std::optional<HookEvent> UnpackHookEvent(std::uint64_t packed);

// The second parameter: the top-level window and the focus control, each a window handle
// as its 32 significant bits (handles are the same in 32-bit and 64-bit programs).
struct HookWindows {
    std::uint32_t root = 0;
    std::uint32_t field = 0;

    bool operator==(const HookWindows&) const = default;
};
std::uint64_t PackHookWindows(const HookWindows& windows);
HookWindows UnpackHookWindows(std::uint64_t packed);

// What the hook does with a keyboard message: passes it on, passes on only that a key
// was pressed (a key that types into a secret field: nothing of it leaves its program),
// or nothing (key-ups but of modifiers, whose lone press is a line).
enum class HookKeyAction { Forward, Withhold, Drop };
HookKeyAction HookActionForKey(HookEventKind kind, std::uint32_t vk, unsigned modifiers,
                               bool menuMode, RecField field);

}  // namespace zv
