#include "common/win32/fglock_read.h"

#include <windows.h>

namespace zv {

std::optional<std::uint32_t> ReadForegroundLockTimeoutRegistry() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> result;
    DWORD type = 0, size = 0;
    // The size is asked first; only a 4-byte number is taken.
    if (RegQueryValueExW(key, L"ForegroundLockTimeout", nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value = 0;
        if (RegQueryValueExW(key, L"ForegroundLockTimeout", nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof(DWORD)) {
            result = value;
        }
    }
    RegCloseKey(key);
    return result;
}

std::optional<std::uint32_t> ReadForegroundLockTimeoutSystem() {
    DWORD value = 0;
    if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &value, 0))
        return std::nullopt;
    return value;
}

}  // namespace zv
