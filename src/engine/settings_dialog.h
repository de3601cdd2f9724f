// The rules of the engine's settings dialog CSettingDlg: its eight number rows and the
// check box, what the fields show, the order in which OK reads them with their ranges
// and messages, the defaults it restores and what OK writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/profile.h"
#include "engine/settings.h"

namespace zv {

// The number rows from top to bottom.
enum class SettingRow : std::size_t {
    LaunchWait,
    PgEndLoopSleep,
    FocusCheckRetry,
    FocusCheckMSec,
    KeyinWait,
    TypeWait,
    MouseWClick,
    OpenClipboardRetry,
};
inline constexpr std::size_t kSettingRowCount = 8;

struct SettingRowInfo {
    std::size_t setting;  // its row of kEngineSettingTable
    bool digitsOnly;      // a numeric field that refuses other characters while typing;
                          // otherwise a plain field whose text is checked only by OK
};
// Indexed by SettingRow.
extern const std::array<SettingRowInfo, kSettingRowCount> kSettingRows;
// The order in which OK reads the rows; the first bad one is reported.
extern const std::array<SettingRow, kSettingRowCount> kSettingCheckOrder;

// What the dialog's fields hold: the rows' texts (indexed by SettingRow) and the box.
struct SettingsFields {
    std::array<std::string, kSettingRowCount> rows;
    bool mouseMoveReal = false;
};

// The fields showing settings (decimal numbers; the box checked for any value but 0).
SettingsFields SettingsToFields(const EngineSettings& settings);

// The nine defaults of the settings table.
EngineSettings DefaultEngineSettings();

struct SettingRange {
    std::int32_t min = 0;
    std::int32_t max = 0;
};
// The range OK accepts for a row, also that of its up-down control. The double-click
// interval's upper bound is the system's double-click time, asked by the caller.
SettingRange SettingRowRange(SettingRow row, std::int32_t doubleClickTime);

// OK's reading of the fields: the settings, or the first bad row in check order with
// its message ("整数を入力してください。" or the range message).
struct SettingsFieldsCheck {
    std::optional<EngineSettings> settings;
    SettingRow row = SettingRow::LaunchWait;
    std::string message;
};
SettingsFieldsCheck CheckSettingsFields(const SettingsFields& fields, std::int32_t doubleClickTime);

// Writes the nine keys in the table's order (the box as 0 or 1).
void WriteEngineSettings(IProfile& profile, const EngineSettings& settings);

}  // namespace zv
