#include "launcher/win32/fglock_win32.h"

#include <windows.h>

#include "common/win32/fglock_read.h"

namespace zv {

std::optional<std::uint32_t> Win32ForegroundLock::ReadRegistryValue() {
    return ReadForegroundLockTimeoutRegistry();
}

std::optional<std::uint32_t> Win32ForegroundLock::ReadSystemValue() {
    return ReadForegroundLockTimeoutSystem();
}

bool Win32ForegroundLock::SetSystemValue(std::uint32_t ms) {
    return SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                 reinterpret_cast<void*>(static_cast<UINT_PTR>(ms)),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}

}  // namespace zv
