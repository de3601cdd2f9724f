// The foreground lock timeout in the registry and through the system parameters.
#pragma once

#include "launcher/fglock.h"

namespace zv {

class Win32ForegroundLock : public IForegroundLockSystem {
public:
    std::optional<std::uint32_t> ReadRegistryValue() override;
    std::optional<std::uint32_t> ReadSystemValue() override;
    bool SetSystemValue(std::uint32_t ms) override;
};

}  // namespace zv
