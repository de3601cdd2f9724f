#include "engine/settings.h"

namespace zv {

EngineSettings LoadEngineSettings(IProfile& profile) {
    EngineSettings settings;
    for (const EngineSettingInfo& info : kEngineSettingTable) {
        std::int32_t value = profile.GetInt(kEngineSection, info.key, -1);
        if (value < 0) {
            value = info.defaultValue;
            profile.WriteInt(kEngineSection, info.key, value);
        }
        settings.*info.field = value;
    }
    return settings;
}

}  // namespace zv
