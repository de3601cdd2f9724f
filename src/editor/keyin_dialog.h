// The KEYIN dialog's model: up to eight keys pressed together, the Alt flag and a repeat
// count, and the rules of its key-capture fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

inline constexpr std::size_t kKeyinFieldCount = 8;
inline constexpr std::size_t kKeyinKeyMaxBytes = 15;
inline constexpr IntRange kKeyinRepeatRange{1, 999};

// The texts of the eight key fields, empty for an unused one.
using KeyinKeys = std::array<std::string, kKeyinFieldCount>;

struct KeyinFields {
    KeyinKeys keys;  // filled from the first on
    bool alt = false;
    std::int32_t repeat = 1;

    bool operator==(const KeyinFields&) const = default;
};

struct KeyinLineParse {
    bool ok = false;
    KeyinFields fields;
};

// Reads a KEYIN line. "MENU" sets the Alt flag instead of taking a key; at most eight
// keys are kept, 15 bytes each; one-byte tokens keep their case, longer ones are
// upper-cased; names are not checked against the key table.
KeyinLineParse ParseKeyinLine(std::string_view line);

// "KEYIN:" + ("MENU " when Alt) + the non-empty keys separated by blanks, then
// ",REP=" + the count when it is not 1. Each key counts with at most 15 bytes.
std::string ComposeKeyinLine(const KeyinFields& fields);

// "ALT + CONTROL + S <Repeat=3>", or the whole line marked invalid.
LineDescription DescribeKeyinLine(std::string_view line);

// The fields the dialog opens with: what parse read, or the defaults when it failed.
KeyinFields OpenKeyinDialog(std::string_view entryLine);

enum class KeyinField { Repeat, FirstKey };

// The controls' state on OK: the key fields' texts, the Alt box, the repeat text.
struct KeyinDialogInput {
    KeyinKeys keys;
    bool alt = false;
    std::string repeat;
};

// OK: the repeat range first, then at least Alt or one key.
DialogOk<KeyinField> ConfirmKeyinDialog(const KeyinDialogInput& input);

// "最後をｸﾘｱ": empties the last non-empty key field and returns its index, the field to
// focus; nothing when all are empty.
std::optional<std::size_t> ClearLastKeyField(KeyinKeys& keys);

// "全ｸﾘｱ": empties all key fields; returns the index of the field to focus (the first).
std::size_t ClearAllKeyFields(KeyinKeys& keys);

// What a key-capture field does with a keyboard message before its normal processing.
enum class KeyFieldAction {
    Take,     // record the key (KeyFieldShows) and consume the message
    Swallow,  // consume the message, change nothing
    PassOn,   // normal processing
};

KeyFieldAction KeyFieldActionFor(unsigned message, std::uint32_t virtualKey);

// What a field shows for a taken code: digits and letters as the character, other codes
// by their first key-table name; a code without a name clears the field and stores 0.
struct KeyFieldContent {
    std::string text;
    std::uint8_t code = 0;
};

KeyFieldContent KeyFieldShows(std::uint32_t virtualKey);

}  // namespace zv
