// Windows file times as the portable code counts them (FileTime: 100-nanosecond ticks
// since 1601-01-01 UTC).
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/filesystem.h"

namespace zv {

inline FileTime TicksOf(const FILETIME& t) {
    return static_cast<FileTime>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                 t.dwLowDateTime);
}

// The system time now, as a file time.
inline FileTime FileTimeNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return TicksOf(now);
}

}  // namespace zv
