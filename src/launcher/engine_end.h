// What the launcher does when an engine it started for a macro ends. An engine that ends
// by itself exits with kEngineExitNormal, also when its window was closed in the middle of
// a run (it lets go of what it holds first). Any other exit code means it was cut off from
// outside or crashed, possibly in the middle of a KEYIN combination: the modifier keys it
// held stay down for every program. The launcher then lets go of the modifier keys the
// system still counts as down and notes the end in the run log.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/filesystem.h"
#include "common/logentry.h"

namespace zv {

// The keyboard as the system sees it.
class IModifierKeyboard {
public:
    virtual ~IModifierKeyboard() = default;
    // True when the system counts the key as down (its asynchronous state).
    virtual bool IsDown(std::uint32_t vk) = 0;
    // Sends one key event to the system.
    virtual void SendKey(std::uint32_t vk, bool up) = 0;
};

bool EngineEndedByItself(std::uint32_t exitCode);

// Sends a key-up for every modifier key (Shift, Ctrl, Alt, Win; left, right or neither)
// that the system counts as down, and for nothing else; before Alt or Win is let go, a
// press of kVkMenuMask, so that the release opens neither the menu bar of the window in
// front nor the Start menu. Returns the keys let go, in the order they were released.
std::vector<std::uint32_t> ReleaseHeldModifiers(IModifierKeyboard& keyboard);

// The run-log message for an engine that was cut off: the macro, the exit code and the
// keys let go (as KEYIN names them: "LSHIFT(A0) + LCONTROL(A2)").
std::string EngineCutOffMessage(std::string_view macroPath, std::uint32_t exitCode,
                                const std::vector<std::uint32_t>& released);

// Adds one entry at the end of the log file, creating it when missing. False when the
// file could not be opened (another engine's run holds it) or written.
bool AppendLogEntry(IFileSystem& fs, const std::string& logPath, const LocalTime& time,
                    std::string_view message);

struct EngineEndOutcome {
    bool cutOff = false;
    std::vector<std::uint32_t> released;
    bool logged = false;
};

// The launcher's answer to the end of an engine it started for macroPath.
EngineEndOutcome HandleEngineEnd(std::string_view macroPath, std::uint32_t exitCode,
                                 IModifierKeyboard& keyboard, IFileSystem& fs,
                                 const std::string& logPath, const LocalTime& now);

}  // namespace zv
