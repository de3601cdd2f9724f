#include "launcher/launcher_dialogs.h"

#include "common/folders.h"
#include "common/keynames.h"
#include "common/numberfield.h"

namespace zv {
namespace {

bool IsDigitOrLetter(std::uint32_t vk) {
    return (vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A);
}

// Writes value unless the file already holds exactly that number.
bool WriteIfDifferent(IProfile& profile, std::string_view key, std::int32_t value) {
    const std::optional<std::int64_t> held =
        ParseFieldNumber(profile.GetString(kLauncherSection, key, ""), NumberKind::Signed);
    if (held && *held == value)
        return false;
    profile.WriteInt(kLauncherSection, key, value);
    return true;
}

}  // namespace

HotkeyModifierChecks ModifierChecksFromBits(std::uint8_t bits) {
    return {(bits & kModAlt) != 0, (bits & kModControl) != 0, (bits & kModShift) != 0,
            (bits & kModWin) != 0};
}

std::uint8_t ModifierBits(const HotkeyModifierChecks& checks) {
    return static_cast<std::uint8_t>((checks.alt ? kModAlt : 0) | (checks.ctrl ? kModControl : 0) |
                                     (checks.shift ? kModShift : 0) | (checks.win ? kModWin : 0));
}

bool IsCapturedKey(std::uint32_t vk) {
    return IsDigitOrLetter(vk) || (vk >= 0x70 && vk <= 0x87) || (vk >= 0x60 && vk <= 0x69);
}

KeyFieldText KeyFieldDisplay(std::uint32_t code) {
    std::string text = KeyFieldName(code);
    if (text.empty())
        return {};
    return {static_cast<std::uint8_t>(code), std::move(text)};
}

int WriteHotkeyIfChanged(IProfile& profile, std::uint8_t modifiers, std::uint8_t key) {
    int written = 0;
    written += WriteIfDifferent(profile, kKeyHotkey, key) ? 1 : 0;
    written += WriteIfDifferent(profile, kKeyHotkeyMod, modifiers) ? 1 : 0;
    return written;
}

PropertyFieldsCheck CheckPropertyFields(std::string_view macroFileMax,
                                        std::string_view macroDirDepth) {
    PropertyFieldsCheck check;
    const NumberFieldCheck max =
        CheckNumberField(macroFileMax, {NumberKind::Unsigned, kMacroFileMaxMin, kMacroFileMaxMax});
    if (!max.value) {
        check.field = PropertyField::MacroFileMax;
        check.message = max.message;
        return check;
    }
    const NumberFieldCheck depth = CheckNumberField(
        macroDirDepth, {NumberKind::Unsigned, kMacroDirDepthMin, kMacroDirDepthMax});
    if (!depth.value) {
        check.field = PropertyField::MacroDirDepth;
        check.message = depth.message;
        return check;
    }
    check.ok = true;
    check.macroFileMax = *max.value;
    check.macroDirDepth = *depth.value;
    return check;
}

void WritePropertySettings(IProfile& profile, const std::string& macroTopPath,
                           std::int32_t macroFileMax, std::int32_t macroDirDepth) {
    profile.WriteInt(kLauncherSection, kKeyMacroFileMax, macroFileMax);
    profile.WriteInt(kLauncherSection, kKeyMacroDirDepth, macroDirDepth);
    profile.WriteString(kLauncherSection, kKeyMacroTopPath, macroTopPath);
}

}  // namespace zv
