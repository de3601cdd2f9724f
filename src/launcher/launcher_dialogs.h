// The rules of the launcher's hotkey dialog and property dialog: the modifier check
// boxes, the key-capture field's keys and text, OK's reading of the two number fields,
// and what each writes into "ZorvaneSettings".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/profile.h"
#include "launcher/launcher_settings.h"

namespace zv {

// Ranges of the property dialog's number fields and their up-down controls.
inline constexpr std::int32_t kMacroFileMaxMin = 1;
inline constexpr std::int32_t kMacroFileMaxMax = 2000;
inline constexpr std::int32_t kMacroDirDepthMin = 0;
inline constexpr std::int32_t kMacroDirDepthMax = 10;

// The four modifier check boxes.
struct HotkeyModifierChecks {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
    bool win = false;
    bool operator==(const HotkeyModifierChecks&) const = default;
};
HotkeyModifierChecks ModifierChecksFromBits(std::uint8_t bits);
std::uint8_t ModifierBits(const HotkeyModifierChecks& checks);

// The key-capture field: a key-down of a digit, a letter, F1 to F24 or a numeric-pad
// digit becomes its key; every other key keeps its usual meaning in the dialog.
bool IsCapturedKey(std::uint32_t vk);

// What the field shows for a key: the character of a digit or letter, else the key's
// name in the key-name table. A code the table does not know becomes no key (0) with
// an empty text; so does 0.
struct KeyFieldText {
    std::uint8_t key = 0;
    std::string text;
};
KeyFieldText KeyFieldDisplay(std::uint32_t code);

// Writes "Hotkey" and "HotkeyMod", each only when the file does not already hold that
// value. Returns how many of the two keys were written.
int WriteHotkeyIfChanged(IProfile& profile, std::uint8_t modifiers, std::uint8_t key);

// What the property dialog's fields hold when OK is pressed.
enum class PropertyField { MacroFileMax, MacroDirDepth };
struct PropertyFieldsCheck {
    bool ok = false;
    std::int32_t macroFileMax = 0;
    std::int32_t macroDirDepth = 0;
    PropertyField field = PropertyField::MacroFileMax;  // the bad field when not ok
    std::string message;
};
// Reads the maximum, then the depth, each as an unsigned number within its range;
// the first bad field is reported with the standard message.
PropertyFieldsCheck CheckPropertyFields(std::string_view macroFileMax,
                                        std::string_view macroDirDepth);

// OK of the property dialog: "RkMacroFileMax", "RkMacroDirDepht", "RkMacroTopPath".
void WritePropertySettings(IProfile& profile, const std::string& macroTopPath,
                           std::int32_t macroFileMax, std::int32_t macroDirDepth);

}  // namespace zv
