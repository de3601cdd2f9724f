// The launcher's settings: the section "ZorvaneSettings" of the configuration file,
// read and repaired by LoadSettings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "launcher/launcher_host.h"
#include "common/folders.h"
#include "common/profile.h"

namespace zv {

inline constexpr std::string_view kKeySplashShowSec = "SplashShowSec";
inline constexpr std::string_view kKeyHotkey = "Hotkey";
inline constexpr std::string_view kKeyHotkeyMod = "HotkeyMod";
inline constexpr std::string_view kKeyMacroFileMax = "RkMacroFileMax";
inline constexpr std::string_view kKeyMacroDirDepth = "RkMacroDirDepht";  // spelled so in the file
inline constexpr std::string_view kDefaultMacroFolderName = "RK_MACRO";

inline constexpr const char* kMsgMacroPathMissing =
    "RKマクロパス\r\n%s\r\nは存在しません。既定値に戻します。\r\n"
    "\n\r変更する場合は「RKマクロパス選択(M)」で設定して下さい。";
inline constexpr const char* kMsgDefaultMacroPathFailed =
    "既定値のRKマクロパスが設定できませんでした。";

// Hotkey modifier bits as RegisterHotKey takes them.
inline constexpr std::uint8_t kModAlt = 1;
inline constexpr std::uint8_t kModControl = 2;
inline constexpr std::uint8_t kModShift = 4;
inline constexpr std::uint8_t kModWin = 8;

struct LauncherSettings {
    std::int32_t splashShowSec = 5;
    std::uint8_t hotkey = 0x5A;  // Z
    std::uint8_t hotkeyMod = kModAlt;
    std::string macroTopPath;
    std::int32_t macroFileMax = 100;
    std::int32_t macroDirDepth = 2;
};

// The program folder followed by "RK_MACRO" (no trailing backslash); the folder is
// created when it does not exist (a failure is ignored).
std::string GetDefaultMacroFolder(const std::string& programFolder, IFileSystem& fs);

// Reads the six keys in their order; every missing or invalid value is replaced by its
// default, which is written back before use. A macro folder that does not exist is
// reported and replaced by the default folder.
LauncherSettings LoadSettings(IProfile& profile, ILauncherHost& host);

}  // namespace zv
