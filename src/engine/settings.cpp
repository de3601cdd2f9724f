#include "engine/settings.h"

namespace zv {

EngineSettings LoadEngineSettings(IProfile& profile) {
    EngineSettings settings;
    for (const EngineSettingInfo& info : kEngineSettingTable) {
        settings.*info.field =
            ReadIntOrRepair(profile, kEngineSection, info.key, info.defaultValue);
    }
    return settings;
}

}  // namespace zv
