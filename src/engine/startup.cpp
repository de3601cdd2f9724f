#include "engine/startup.h"

#include "engine/cmdline.h"
#include "common/folders.h"
#include "common/macrofile.h"
#include "common/profile.h"
#include "common/strutil.h"

namespace zv {

MacroFileCheck CheckMacroFile(IFileSystem& fs, const std::string& path, std::string& message) {
    SysError error = 0;
    std::string firstLine;
    {
        std::unique_ptr<IReadFile> file = fs.OpenRead(path, /*exclusive=*/true, &error);
        if (!file) {
            message = StrPrintf(kMsgMacroOpenFailed, path.c_str(), fs.ErrorText(error).c_str());
            return MacroFileCheck::CannotOpen;
        }
        ReadFirstLinePrefix(*file, kEngineHeaderPrefix, firstLine);
    }
    if (!IsHeaderLine(firstLine, kEngineHeaderPrefix)) {
        message = StrPrintf(kMsgNotMacroFile, path.c_str());
        return MacroFileCheck::NotMacroFile;
    }
    message.clear();
    return MacroFileCheck::Ok;
}

StartupOutcome RunEngineStartup(std::string_view commandLine, CRkCaptureApp& app,
                                IEngineStartupHost& host) {
    const OsVersion os = host.QueryOsVersion();
    app.osMajor = os.major;
    app.osMinor = os.minor;
    app.ntPlatform = os.platformId >= 2;

    EngineCommandLine cmd = ParseEngineCommandLine(commandLine);
    app.macroPath = std::move(cmd.macroPath);
    app.params = {std::move(cmd.param1), std::move(cmd.param2)};

    if (!app.macroPath.empty()) {
        std::string message;
        switch (CheckMacroFile(host.FileSystem(), app.macroPath, message)) {
            case MacroFileCheck::CannotOpen:
                host.ShowMessage(message);
                return StartupOutcome::OpenFailed;
            case MacroFileCheck::NotMacroFile:
                host.ShowMessage(message);
                return StartupOutcome::NotMacroFile;
            case MacroFileCheck::Ok:
                break;
        }
    }

    app.profilePath = host.GetAppDataFolder(/*create=*/true) + std::string(kConfigFileName);
    IniProfile profile(host.FileSystem(), app.profilePath);
    app.settings = LoadEngineSettings(profile);

    if (app.macroPath.empty() && !host.ActivateOpenSettingsDialog()) {
        host.ShowSettingsDialog(app);
        return StartupOutcome::SettingsDialog;
    }
    host.ShowStatusWindow(app);
    return StartupOutcome::StatusWindow;
}

}  // namespace zv
