// The system's foreground lock timeout, lowered to 0 while the launcher runs so that
// macros can switch windows, and put back when it ends. The value found is kept in the
// engine's section of the configuration file so that it survives restarts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "launcher/launcher_host.h"
#include "common/folders.h"
#include "common/profile.h"

namespace zv {

inline constexpr std::string_view kKeySavedForegroundLock = "FOREGROUNDLOCKTIMEOUT";
inline constexpr const char* kMsgForegroundLockNotLowered =
    "フォーカスロックタイムを０に設定できませんでした。\nセキュリティポリシー等によりレジストリへ書"
    "き込みができないと失敗します。\n"
    "マクロによるフォーカス切り替えが正常に行えません。";
inline constexpr const char* kMsgForegroundLockNotRestored =
    "フォーカスロックタイムを元に戻せませんでした。";

class IForegroundLockSystem {
public:
    virtual ~IForegroundLockSystem() = default;
    // "ForegroundLockTimeout" under HKCU\Control Panel\Desktop; nothing when unreadable.
    virtual std::optional<std::uint32_t> ReadRegistryValue() = 0;
    // SPI_GETFOREGROUNDLOCKTIMEOUT; nothing when it fails.
    virtual std::optional<std::uint32_t> ReadSystemValue() = 0;
    // SPI_SETFOREGROUNDLOCKTIMEOUT stored in the user profile and broadcast.
    virtual bool SetSystemValue(std::uint32_t ms) = 0;
};

// Saves the current value when none is saved and sets the system value to 0 when it is
// above 0. Returns the restore flag: true only when this call set the value to 0.
bool LowerForegroundLockTimeout(IForegroundLockSystem& system, IProfile& profile,
                                IMessageHost& host);

// Puts the saved value back when it is above 0. Call only with the restore flag set.
void RestoreForegroundLockTimeout(IForegroundLockSystem& system, IProfile& profile,
                                  IMessageHost& host);

}  // namespace zv
