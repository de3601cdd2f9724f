// The launcher's side of the engines it watches (CEngineWatch): the system's keyboard that
// HandleEngineEnd releases held modifier keys on.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/win32/enginewatch.h"
#include "launcher/engine_end.h"

namespace zv {

// The system's keyboard: asynchronous key state and SendInput.
class Win32ModifierKeyboard : public IModifierKeyboard {
public:
    bool IsDown(std::uint32_t vk) override;
    void SendKey(std::uint32_t vk, bool up) override;
};

}  // namespace zv
