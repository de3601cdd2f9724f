#include "editor/recorder_keys.h"

#include "common/winconst.h"

namespace zv {
namespace {

bool IsModifierKey(std::uint32_t vk) {
    return vk == kVkShift || vk == kVkControl || vk == kVkMenu || vk == kVkLWin || vk == kVkRWin ||
           (vk >= kVkLShift && vk <= kVkRMenu);
}

// Keys a recording leaves out: the input method's own keys (what it produces arrives as
// characters), the lock keys, and the codes that only carry a character.
bool IsIgnoredKey(std::uint32_t vk) {
    return vk == 0 || vk > 0xFE || vk == kVkProcessKey || vk == kVkPacket || vk == kVkCapital ||
           vk == kVkNumLock || vk == kVkScroll || (vk >= kVkKana && vk <= kVkImeOff) ||
           (vk >= kVkConvert && vk <= kVkModeChange) || (vk >= kVkOemAttn && vk <= kVkOemBackTab);
}

// Keys that type a character when no Ctrl, Alt or Win is held.
bool TypesCharacter(std::uint32_t vk) {
    return vk == kVkSpace || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') ||
           (vk >= kVkNumpad0 && vk <= kVkDivide) || (vk >= kVkOem1 && vk <= kVkOem3) ||
           (vk >= kVkOem4 && vk <= kVkOem8) || vk == kVkOem102;
}

}  // namespace

std::uint32_t GenericModifier(std::uint32_t vk) {
    switch (vk) {
        case 0xA0:
        case 0xA1:
            return kVkShift;
        case 0xA2:
        case 0xA3:
            return kVkControl;
        case 0xA4:
        case 0xA5:
            return kVkMenu;
        case kVkRWin:
            return kVkLWin;
        default:
            return vk;
    }
}

KeyRole RoleOfKey(std::uint32_t vk, unsigned modifiers, bool menuMode) {
    if (IsModifierKey(vk))
        return KeyRole::Modifier;
    if (vk == kVkPause || vk == kVkCancel)
        return KeyRole::Stop;
    if (IsIgnoredKey(vk))
        return KeyRole::Ignored;
    const bool combination = (modifiers & (kRecControl | kRecAlt | kRecWin)) != 0;
    if (TypesCharacter(vk) && !combination && !menuMode)
        return KeyRole::Text;
    return KeyRole::Command;
}

std::uint64_t PackHookEvent(const HookEvent& e) {
    return static_cast<std::uint64_t>(e.kind) | (static_cast<std::uint64_t>(e.flags) << 8) |
           (static_cast<std::uint64_t>(e.code) << 16) | (static_cast<std::uint64_t>(e.time) << 32);
}

std::optional<HookEvent> UnpackHookEvent(std::uint64_t packed) {
    const auto kind = static_cast<std::uint8_t>(packed & 0xFF);
    if (kind < static_cast<std::uint8_t>(HookEventKind::KeyDown) ||
        kind > static_cast<std::uint8_t>(HookEventKind::PasswordChar))
        return std::nullopt;
    HookEvent e;
    e.kind = static_cast<HookEventKind>(kind);
    e.flags = static_cast<std::uint8_t>((packed >> 8) & 0xFF);
    e.code = static_cast<std::uint16_t>((packed >> 16) & 0xFFFF);
    e.time = static_cast<std::uint32_t>(packed >> 32);
    return e;
}

bool HookForwardsKey(HookEventKind kind, std::uint32_t vk, unsigned modifiers, bool menuMode,
                     bool passwordField) {
    const KeyRole role = RoleOfKey(vk, modifiers, menuMode);
    if (kind == HookEventKind::KeyUp)
        return role == KeyRole::Modifier;
    return !(passwordField && role == KeyRole::Text);
}

}  // namespace zv
