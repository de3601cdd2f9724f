#include "engine/settings_dialog.h"

#include "common/folders.h"
#include "common/numberfield.h"

namespace zv {
namespace {

// Rows of kEngineSettingTable.
constexpr std::size_t kLaunchWait = 0, kKeyinWait = 1, kTypeWait = 2, kMouseWClick = 3,
                      kFocusRetry = 4, kFocusMSec = 5, kPgEndLoop = 6, kClipboardRetry = 7,
                      kMouseMoveReal = 8;
static_assert(kEngineSettingTable[kLaunchWait].field == &EngineSettings::launchWaitMSec &&
              kEngineSettingTable[kKeyinWait].field == &EngineSettings::keyinWaitMSec &&
              kEngineSettingTable[kTypeWait].field == &EngineSettings::typeWaitMSec &&
              kEngineSettingTable[kMouseWClick].field == &EngineSettings::mouseWClickMSec &&
              kEngineSettingTable[kFocusRetry].field == &EngineSettings::focusCheckRetry &&
              kEngineSettingTable[kFocusMSec].field == &EngineSettings::focusCheckMSec &&
              kEngineSettingTable[kPgEndLoop].field == &EngineSettings::pgEndLoopSleepMSec &&
              kEngineSettingTable[kClipboardRetry].field == &EngineSettings::openClipboardRetry &&
              kEngineSettingTable[kMouseMoveReal].field == &EngineSettings::mouseMoveReal);

const EngineSettingInfo& InfoOf(SettingRow row) {
    return kEngineSettingTable[kSettingRows[static_cast<std::size_t>(row)].setting];
}

}  // namespace

const std::array<SettingRowInfo, kSettingRowCount> kSettingRows{{
    {kLaunchWait, true},
    {kPgEndLoop, true},
    {kFocusRetry, true},
    {kFocusMSec, true},
    {kKeyinWait, true},
    {kTypeWait, false},
    {kMouseWClick, true},
    {kClipboardRetry, false},
}};

const std::array<SettingRow, kSettingRowCount> kSettingCheckOrder{{
    SettingRow::PgEndLoopSleep,
    SettingRow::FocusCheckMSec,
    SettingRow::FocusCheckRetry,
    SettingRow::MouseWClick,
    SettingRow::KeyinWait,
    SettingRow::TypeWait,
    SettingRow::LaunchWait,
    SettingRow::OpenClipboardRetry,
}};

SettingsFields SettingsToFields(const EngineSettings& settings) {
    SettingsFields fields;
    for (std::size_t i = 0; i < kSettingRowCount; ++i)
        fields.rows[i] = std::to_string(settings.*InfoOf(static_cast<SettingRow>(i)).field);
    fields.mouseMoveReal = settings.mouseMoveReal != 0;
    return fields;
}

EngineSettings DefaultEngineSettings() {
    EngineSettings settings;
    for (const EngineSettingInfo& info : kEngineSettingTable)
        settings.*info.field = info.defaultValue;
    return settings;
}

SettingRange SettingRowRange(SettingRow row, std::int32_t doubleClickTime) {
    const EngineSettingInfo& info = InfoOf(row);
    return {info.minValue, info.maxValue < 0 ? doubleClickTime : info.maxValue};
}

SettingsFieldsCheck CheckSettingsFields(const SettingsFields& fields,
                                        std::int32_t doubleClickTime) {
    SettingsFieldsCheck check;
    EngineSettings settings;
    for (SettingRow row : kSettingCheckOrder) {
        const SettingRange range = SettingRowRange(row, doubleClickTime);
        const NumberFieldCheck field = CheckNumberField(fields.rows[static_cast<std::size_t>(row)],
                                                        {NumberKind::Signed, range.min, range.max});
        if (!field.value) {
            check.row = row;
            check.message = field.message;
            return check;
        }
        settings.*InfoOf(row).field = *field.value;
    }
    settings.mouseMoveReal = fields.mouseMoveReal ? 1 : 0;
    check.settings = settings;
    return check;
}

void WriteEngineSettings(IProfile& profile, const EngineSettings& settings) {
    for (const EngineSettingInfo& info : kEngineSettingTable)
        profile.WriteInt(kEngineSection, info.key, settings.*info.field);
}

}  // namespace zv
