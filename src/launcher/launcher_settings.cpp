#include "launcher/launcher_settings.h"

#include "common/strutil.h"

namespace zv {
namespace {

// An integer key: read with fallback; when invalid, the default is written and used.
std::int32_t ReadRepaired(IProfile& profile, std::string_view key, std::int32_t fallback,
                          bool (*invalid)(std::int32_t), std::int32_t defaultValue) {
    const std::int32_t value = profile.GetInt(kLauncherSection, key, fallback);
    if (!invalid(value))
        return value;
    profile.WriteInt(kLauncherSection, key, defaultValue);
    return defaultValue;
}

bool Negative(std::int32_t v) {
    return v < 0;
}
bool LowByteZero(std::int32_t v) {
    return (v & 0xFF) == 0;
}
bool Missing(std::int32_t v) {
    return v == -1;
}

}  // namespace

std::string GetDefaultMacroFolder(const std::string& programFolder, IFileSystem& fs) {
    std::string path = programFolder + std::string(kDefaultMacroFolderName);
    if (!fs.IsDirectory(path))
        fs.MakeDirectory(path);
    return path;
}

LauncherSettings LoadSettings(IProfile& profile, ILauncherHost& host) {
    LauncherSettings s;
    s.splashShowSec = ReadRepaired(profile, kKeySplashShowSec, -1, Negative, 5);
    s.hotkey =
        static_cast<std::uint8_t>(ReadRepaired(profile, kKeyHotkey, 0, LowByteZero, 0x5A) & 0xFF);
    s.hotkeyMod = static_cast<std::uint8_t>(
        ReadRepaired(profile, kKeyHotkeyMod, -1, Missing, kModAlt) & 0xFF);

    IFileSystem& fs = host.FileSystem();
    s.macroTopPath = profile.GetString(kLauncherSection, kKeyMacroTopPath, "");
    if (s.macroTopPath.empty()) {
        s.macroTopPath = GetDefaultMacroFolder(host.ProgramFolder(), fs);
        profile.WriteString(kLauncherSection, kKeyMacroTopPath, s.macroTopPath);
    }
    if (!fs.Exists(s.macroTopPath)) {
        host.ShowMessage(StrPrintf(kMsgMacroPathMissing, s.macroTopPath.c_str()));
        s.macroTopPath = GetDefaultMacroFolder(host.ProgramFolder(), fs);
        profile.WriteString(kLauncherSection, kKeyMacroTopPath, s.macroTopPath);
        if (!fs.Exists(s.macroTopPath))
            host.ShowMessage(kMsgDefaultMacroPathFailed);
    }

    s.macroFileMax = ReadRepaired(profile, kKeyMacroFileMax, -1, Negative, 100);
    s.macroDirDepth = ReadRepaired(profile, kKeyMacroDirDepth, -1, Negative, 2);
    return s;
}

}  // namespace zv
