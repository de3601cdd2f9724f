// CEngineWatch: the engines the launcher started for macros. Each process has a wait
// registered with the system; when one ends, the system's wait thread posts a message to
// the window that started it, and the window's handler (on the user-interface thread)
// takes the engine from here and carries out HandleEngineEnd. Nothing waits on the
// user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "common/win32/handles.h"
#include "launcher/engine_end.h"

namespace zv {

class CEngineWatch {
public:
    // message: what is posted to the window given to Watch, with the engine's number as
    // its first parameter.
    explicit CEngineWatch(UINT message) : message_(message) {}
    // Unregisters every wait (a callback that is running finishes first), then closes the
    // process handles. The engines go on running.
    ~CEngineWatch() = default;
    CEngineWatch(const CEngineWatch&) = delete;
    CEngineWatch& operator=(const CEngineWatch&) = delete;

    // Watches a started engine; false when the system refused the wait (the engine then is
    // not watched).
    bool Watch(HWND notify, UniqueHandle process, std::string macroPath);

    struct Ended {
        std::string macroPath;
        std::uint32_t exitCode = 0;
    };
    // The engine that the posted message announced, no longer watched afterwards; nothing
    // for an unknown number or an engine still running.
    std::optional<Ended> TakeEnded(WPARAM number);

    std::size_t Watched() const { return entries_.size(); }

private:
    struct Entry {
        HWND notify = nullptr;
        UINT message = 0;
        WPARAM number = 0;
        std::string macroPath;
        UniqueHandle process;
        UniqueWaitRegistration wait;  // declared last: unregistered before the handle closes
    };
    static void CALLBACK OnProcessEnded(void* context, BOOLEAN timedOut);

    UINT message_;
    WPARAM nextNumber_ = 1;
    std::map<WPARAM, std::unique_ptr<Entry>> entries_;
};

// The system's keyboard: asynchronous key state and SendInput.
class Win32ModifierKeyboard : public IModifierKeyboard {
public:
    bool IsDown(std::uint32_t vk) override;
    void SendKey(std::uint32_t vk, bool up) override;
};

}  // namespace zv
