// The desktop's foreground lock timeout, read the same way by the engine (its run log)
// and the launcher (which lowers and restores it).
#pragma once

#include <cstdint>
#include <optional>

namespace zv {

// "ForegroundLockTimeout" under HKCU\Control Panel\Desktop as a 4-byte number; nothing
// when the key or value cannot be read or is not a REG_DWORD.
std::optional<std::uint32_t> ReadForegroundLockTimeoutRegistry();
// SPI_GETFOREGROUNDLOCKTIMEOUT; nothing when it fails.
std::optional<std::uint32_t> ReadForegroundLockTimeoutSystem();

}  // namespace zv
