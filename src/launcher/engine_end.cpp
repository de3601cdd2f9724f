#include "launcher/engine_end.h"

#include <array>

#include "common/folders.h"
#include "common/keynames.h"
#include "common/strutil.h"
#include "common/winconst.h"

namespace zv {
namespace {

// One modifier: the code both sides share (0 for Win) and the left and right codes.
struct ModifierFamily {
    std::uint32_t either;
    std::uint32_t left;
    std::uint32_t right;
    bool opensMenus;  // released alone, it opens the menu bar or the Start menu
};

constexpr std::array<ModifierFamily, 4> kModifiers{{
    {kVkShift, kVkLShift, kVkRShift, false},
    {kVkControl, kVkLControl, kVkRControl, false},
    {kVkMenu, kVkLMenu, kVkRMenu, true},
    {0, kVkLWin, kVkRWin, true},
}};

constexpr const char* kMsgEngineCutOff =
    "<ERROR>RkEngineの強制終了により下記のマクロ処理は中断（終了コード=0x%08X）\n\t%s";
constexpr const char* kMsgModifiersReleased = "\n\t押されたままの修飾キーを解放：";

}  // namespace

bool EngineEndedByItself(std::uint32_t exitCode) {
    return exitCode == kEngineExitNormal;
}

std::vector<std::uint32_t> ReleaseHeldModifiers(IModifierKeyboard& keyboard) {
    std::vector<std::uint32_t> held;
    bool masked = false;
    for (const ModifierFamily& family : kModifiers) {
        const std::size_t before = held.size();
        for (std::uint32_t vk : {family.left, family.right}) {
            if (keyboard.IsDown(vk))
                held.push_back(vk);
        }
        // A system that tracks only the shared code is let go through that code.
        if (held.size() == before && family.either != 0 && keyboard.IsDown(family.either))
            held.push_back(family.either);
        masked = masked || (family.opensMenus && held.size() > before);
    }
    if (masked) {
        keyboard.SendKey(kVkMenuMask, false);
        keyboard.SendKey(kVkMenuMask, true);
    }
    for (std::uint32_t vk : held)
        keyboard.SendKey(vk, true);
    return held;
}

std::string EngineCutOffMessage(std::string_view macroPath, std::uint32_t exitCode,
                                const std::vector<std::uint32_t>& released) {
    const std::string path(macroPath);
    std::string message =
        StrPrintf(kMsgEngineCutOff, static_cast<unsigned>(exitCode), path.c_str());
    if (released.empty())
        return message;
    message += kMsgModifiersReleased;
    for (std::size_t i = 0; i < released.size(); ++i) {
        if (i > 0)
            message += " + ";
        const std::string name(KeyNameFromCode(released[i]));
        message += StrPrintf("%s(%2.2X)", name.c_str(), static_cast<unsigned>(released[i]));
    }
    return message;
}

bool AppendLogEntry(IFileSystem& fs, const std::string& logPath, const LocalTime& time,
                    std::string_view message) {
    std::unique_ptr<IWriteFile> file = fs.OpenAppend(logPath, nullptr);
    return file != nullptr && file->Write(FormatLogEntry(time, message));
}

EngineEndOutcome HandleEngineEnd(std::string_view macroPath, std::uint32_t exitCode,
                                 IModifierKeyboard& keyboard, IFileSystem& fs,
                                 const std::string& logPath, const LocalTime& now) {
    EngineEndOutcome outcome;
    if (EngineEndedByItself(exitCode))
        return outcome;
    outcome.cutOff = true;
    outcome.released = ReleaseHeldModifiers(keyboard);
    outcome.logged = AppendLogEntry(fs, logPath, now,
                                    EngineCutOffMessage(macroPath, exitCode, outcome.released));
    return outcome;
}

}  // namespace zv
