#include "launcher/fglock.h"

#include <limits>

namespace zv {

bool LowerForegroundLockTimeout(IForegroundLockSystem& system, IProfile& profile,
                                IMessageHost& host) {
    std::optional<std::uint32_t> current = system.ReadRegistryValue();
    if (!current)
        current = system.ReadSystemValue();
    if (!current)
        return false;
    if (profile.GetInt(kEngineSection, kKeySavedForegroundLock, -1) < 0) {
        // The file holds signed numbers; a value beyond their range is kept at the largest.
        const std::uint32_t limit = std::numeric_limits<std::int32_t>::max();
        profile.WriteInt(kEngineSection, kKeySavedForegroundLock,
                         static_cast<std::int32_t>(*current > limit ? limit : *current));
    }
    if (*current == 0)
        return false;
    if (system.SetSystemValue(0))
        return true;
    host.ShowMessage(kMsgForegroundLockNotLowered);
    return false;
}

void RestoreForegroundLockTimeout(IForegroundLockSystem& system, IProfile& profile,
                                  IMessageHost& host) {
    const std::int32_t saved = profile.GetInt(kEngineSection, kKeySavedForegroundLock, -1);
    if (saved <= 0)
        return;
    if (!system.SetSystemValue(static_cast<std::uint32_t>(saved)))
        host.ShowMessage(kMsgForegroundLockNotRestored);
}

}  // namespace zv
