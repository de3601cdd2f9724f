// The key names a KEYIN line may use, with their virtual-key codes. The launcher's and
// the editor's key-capture fields turn a pressed key's code back into a name with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zv {

struct KeyName {
    std::string_view name;  // upper-case ASCII, the virtual-key constant without "VK_"
    std::uint8_t code;
};

inline constexpr std::size_t kKeyNameCount = 109;

// The rows in their fixed order. Some codes have several names (0x15: KANA, HANGEUL,
// HANGUL; 0x19: HANJA, KANJI); the first row of a code is its name.
extern const std::array<KeyName, kKeyNameCount> KeyNameTable;

// The code of a key name, compared as a whole after upper-casing the name.
std::optional<std::uint8_t> KeyCodeFromName(std::string_view name);

// The name of the first row with this code; empty when no row has it.
std::string_view KeyNameFromCode(std::uint32_t code);

// What a key field shows for a pressed key: a digit or letter key as its character,
// another key by its name; empty for a key without a name.
std::string KeyFieldName(std::uint32_t code);

}  // namespace zv
