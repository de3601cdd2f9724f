// The part a key plays in a recording, and the message the recording hook inside another
// program posts to the editor for one keyboard message it saw there. The hook links this
// file alone, so it holds back the keys of a password field by the same rules the
// recorder applies.
#pragma once

#include <cstdint>
#include <optional>

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
// unless Ctrl, Alt or Win is held; in a menu (menuMode) they choose items, so they are
// Command keys there.
KeyRole RoleOfKey(std::uint32_t vk, unsigned modifiers, bool menuMode);

// The generic code of a modifier (left and right Shift are Shift); other codes unchanged.
std::uint32_t GenericModifier(std::uint32_t vk);

// ---- the hook's message ----

enum class HookEventKind : std::uint8_t {
    KeyDown = 1,       // code: virtual key
    KeyUp = 2,         // code: virtual key (modifiers only)
    Char = 3,          // code: a UTF-16 unit
    PasswordChar = 4,  // a character typed into a password field; code 0
};

inline constexpr std::uint8_t kHookMenuMode = 0x10;  // flag beside the RecModifier bits

struct HookEvent {
    HookEventKind kind = HookEventKind::KeyDown;
    std::uint8_t flags = 0;  // RecModifier bits and kHookMenuMode
    std::uint16_t code = 0;
    std::uint32_t time = 0;  // the message's time (system tick count)

    bool operator==(const HookEvent&) const = default;
};

// The event in the 64 bits of the posted message's first parameter; nothing for a value
// no hook wrote (an unknown kind).
std::uint64_t PackHookEvent(const HookEvent& event);
std::optional<HookEvent> UnpackHookEvent(std::uint64_t packed);

// Whether the hook passes a keyboard message on. Key-ups only of modifiers (a lone Alt
// is a line); in a password field no key that types a character, so nothing of the
// password leaves its program (its characters go as PasswordChar, without their code).
bool HookForwardsKey(HookEventKind kind, std::uint32_t vk, unsigned modifiers, bool menuMode,
                     bool passwordField);

}  // namespace zv
