// The nine engine settings of the section "RkEngineSettings".
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/folders.h"
#include "common/profile.h"

namespace zv {

struct EngineSettings {
    std::int32_t launchWaitMSec = 3000;
    std::int32_t keyinWaitMSec = 100;
    std::int32_t typeWaitMSec = 5000;
    std::int32_t mouseWClickMSec = 100;
    std::int32_t focusCheckRetry = 10;
    std::int32_t focusCheckMSec = 200;
    std::int32_t pgEndLoopSleepMSec = 1000;
    std::int32_t openClipboardRetry = 50;
    std::int32_t mouseMoveReal = 0;
};

// One setting: its key, default and the range its dialog accepts (the double-click
// bound of MouseWClickMSec is the system's double-click time, asked at that moment).
struct EngineSettingInfo {
    std::string_view key;
    std::int32_t EngineSettings::*field;
    std::int32_t defaultValue;
    std::int32_t minValue;
    std::int32_t maxValue;  // -1: the system's double-click time
};

// The settings in the order in which they are loaded and written.
inline constexpr std::array<EngineSettingInfo, 9> kEngineSettingTable{{
    {"LaunchWaitMSec", &EngineSettings::launchWaitMSec, 3000, 0, 30000},
    {"KeyinWaitMSec", &EngineSettings::keyinWaitMSec, 100, 0, 2000},
    {"TypeWaitMSec", &EngineSettings::typeWaitMSec, 5000, 0, 60000},
    {"MouseWClickMSec", &EngineSettings::mouseWClickMSec, 100, 0, -1},
    {"FocusCheckRetry", &EngineSettings::focusCheckRetry, 10, 0, 100},
    {"FocusCheckMSec", &EngineSettings::focusCheckMSec, 200, 0, 30000},
    {"PgEndLoopSleepMSec", &EngineSettings::pgEndLoopSleepMSec, 1000, 0, 30000},
    {"OpenClipboardRetry", &EngineSettings::openClipboardRetry, 50, 0, 100},
    {"MouseMoveReal", &EngineSettings::mouseMoveReal, 0, 0, 1},
}};

// Reads the nine keys (a missing key reads as -1); a negative value is replaced by the
// default, which is written back at once. Values above the dialog ranges are kept.
EngineSettings LoadEngineSettings(IProfile& profile);

}  // namespace zv
