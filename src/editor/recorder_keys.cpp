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

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Equals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Equals(s.substr(0, prefix.size()), prefix);
}

bool Contains(std::string_view s, std::string_view part) {
    for (std::size_t i = 0; i + part.size() <= s.size(); ++i) {
        if (Equals(s.substr(i, part.size()), part))
            return true;
    }
    return false;
}

// Controls of the system that take keys and no text.
bool IsKeysClass(std::string_view cls) {
    for (std::string_view name : {"Button", "ListBox", "ComboBox", "ComboLBox", "SysListView32",
                                  "SysTreeView32", "SysTabControl32", "msctls_trackbar32",
                                  "msctls_updown32", "ScrollBar", "Static", "#32770", "#32768"}) {
        if (Equals(cls, name))
            return true;
    }
    return false;
}

// Windows of frameworks that draw their own fields (browsers, WPF, Qt, Java): only their
// accessible objects tell a password field from another.
bool HostsOwnFields(std::string_view cls) {
    return Equals(cls, "Chrome_RenderWidgetHostHWND") || Equals(cls, "MozillaWindowClass") ||
           StartsWith(cls, "HwndWrapper[") || (StartsWith(cls, "Qt") && Contains(cls, "QWindow")) ||
           StartsWith(cls, "SunAwt") || Equals(cls, "Windows.UI.Core.CoreWindow");
}

bool IsKeysRole(std::uint32_t role) {
    switch (role) {
        case kRoleSystemMenuItem:
        case kRoleSystemLink:
        case kRoleSystemList:
        case kRoleSystemListItem:
        case kRoleSystemOutline:
        case kRoleSystemOutlineItem:
        case kRoleSystemPageTab:
        case kRoleSystemPushButton:
        case kRoleSystemCheckButton:
        case kRoleSystemRadioButton:
            return true;
        default:
            return false;
    }
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

unsigned ModifierBit(std::uint32_t vk) {
    switch (GenericModifier(vk)) {
        case kVkShift:
            return kRecShift;
        case kVkControl:
            return kRecControl;
        case kVkMenu:
            return kRecAlt;
        case kVkLWin:
            return kRecWin;
        default:
            return 0;
    }
}

KeyRole RoleOfKey(std::uint32_t vk, unsigned modifiers, bool keysOnly) {
    if (IsModifierKey(vk))
        return KeyRole::Modifier;
    if (vk == kVkPause || vk == kVkCancel)
        return KeyRole::Stop;
    if (IsIgnoredKey(vk))
        return KeyRole::Ignored;
    const bool combination = (modifiers & (kRecControl | kRecAlt | kRecWin)) != 0;
    if (TypesCharacter(vk) && !combination && !keysOnly)
        return KeyRole::Text;
    return KeyRole::Command;
}

bool IsWindowSwitchChord(std::uint32_t vk, unsigned modifiers) {
    const unsigned held = modifiers & (kRecControl | kRecAlt | kRecWin);
    return (held == kRecAlt && (vk == kVkTab || vk == kVkEscape)) ||
           (held == kRecWin && vk == kVkTab);
}

RecField ClassifyField(const FieldFacts& facts) {
    const std::string_view cls = facts.className;
    if (facts.passwordStyle && Contains(cls, "edit"))
        return RecField::Password;
    if (facts.access == FieldFacts::Access::Read) {
        if ((facts.state & kStateSystemProtected) != 0)
            return RecField::Protected;
        if (IsKeysRole(facts.role))
            return RecField::Keys;
        if (facts.role == kRoleSystemText || facts.role == kRoleSystemDocument)
            return RecField::Text;
    } else if (facts.access == FieldFacts::Access::Unreadable ||
               (facts.access == FieldFacts::Access::None && HostsOwnFields(cls))) {
        return RecField::Unsure;
    }
    if (Contains(cls, "edit"))
        return RecField::Text;
    if (IsKeysClass(cls))
        return RecField::Keys;
    if ((facts.dialogCode & (kDlgcHasSetSel | kDlgcWantChars)) != 0)
        return RecField::Text;
    if ((facts.dialogCode &
         (kDlgcButton | kDlgcDefPushButton | kDlgcUndefPushButton | kDlgcRadioButton)) != 0)
        return RecField::Keys;
    return RecField::Text;
}

bool IsInputMethodWindowClass(std::string_view cls) {
    return Equals(cls, "IME") || StartsWith(cls, "MSCTFIME") || StartsWith(cls, "MSCandUI") ||
           StartsWith(cls, "CiceroUIWnd") || StartsWith(cls, "Microsoft.IME") ||
           StartsWith(cls, "GoogleJapaneseInput") || StartsWith(cls, "ATOK") ||
           Contains(cls, "Candidate");
}

std::uint8_t HookFlags(unsigned modifiers, bool menuMode, RecField field) {
    return static_cast<std::uint8_t>((modifiers & kRecModifierMask) |
                                     (menuMode ? kHookMenuMode : 0) |
                                     (static_cast<unsigned>(field) << kHookFieldShift));
}

RecField HookFieldOf(std::uint8_t flags) {
    const unsigned field = flags >> kHookFieldShift;
    return field < kRecFieldCount ? static_cast<RecField>(field) : RecField::Unsure;
}

std::uint64_t PackHookEvent(const HookEvent& e) {
    return static_cast<std::uint64_t>(e.kind) | (static_cast<std::uint64_t>(e.flags) << 8) |
           (static_cast<std::uint64_t>(e.code) << 16) | (static_cast<std::uint64_t>(e.time) << 32);
}

std::optional<HookEvent> UnpackHookEvent(std::uint64_t packed) {
    const auto kind = static_cast<std::uint8_t>(packed & 0xFF);
    if (kind < static_cast<std::uint8_t>(HookEventKind::KeyDown) || kind > kHookEventKindLast)
        return std::nullopt;
    HookEvent e;
    e.kind = static_cast<HookEventKind>(kind);
    e.flags = static_cast<std::uint8_t>((packed >> 8) & 0xFF);
    e.code = static_cast<std::uint16_t>((packed >> 16) & 0xFFFF);
    e.time = static_cast<std::uint32_t>(packed >> 32);
    return e;
}

std::uint64_t PackHookWindows(const HookWindows& w) {
    return static_cast<std::uint64_t>(w.root) | (static_cast<std::uint64_t>(w.field) << 32);
}

HookWindows UnpackHookWindows(std::uint64_t packed) {
    return {static_cast<std::uint32_t>(packed), static_cast<std::uint32_t>(packed >> 32)};
}

HookKeyAction HookActionForKey(HookEventKind kind, std::uint32_t vk, unsigned modifiers,
                               bool menuMode, RecField field) {
    const KeyRole role = RoleOfKey(vk, modifiers, menuMode || field == RecField::Keys);
    if (kind == HookEventKind::KeyUp)
        return role == KeyRole::Modifier ? HookKeyAction::Forward : HookKeyAction::Drop;
    return IsSecretField(field) && role == KeyRole::Text ? HookKeyAction::Withhold
                                                         : HookKeyAction::Forward;
}

}  // namespace zv
