// Engine start-up: command line, macro file check, configuration file, settings, and
// the choice between the status window (a macro to run) and the settings dialog.
#pragma once

#include <string>
#include <string_view>

#include "engine/app.h"
#include "common/filesystem.h"

namespace zv {

inline constexpr const char* kMsgMacroOpenFailed = "RKマクロファイル「%s」\r\nが開けません。\n\r%s";
inline constexpr const char* kMsgNotMacroFile = "「%s」\r\nはRKマクロファイルではありません。";
inline constexpr std::string_view kSettingsDialogProperty = "__RKCAPTURE_SETTING_DLG_TAG__";

enum class MacroFileCheck { Ok, CannotOpen, NotMacroFile };

// Opens the file without sharing, reads at most 63 bytes of its first line and applies
// the header rule. On failure message holds the text to show.
MacroFileCheck CheckMacroFile(IFileSystem& fs, const std::string& path, std::string& message);

struct OsVersion {
    int major = 0;
    int minor = 0;
    int platformId = 0;
};

// What start-up needs from the platform and the user interface.
class IEngineStartupHost {
public:
    virtual ~IEngineStartupHost() = default;
    virtual IFileSystem& FileSystem() = 0;
    virtual OsVersion QueryOsVersion() = 0;
    // A modal message box with an OK button and the program's name as caption.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual std::string GetAppDataFolder(bool create) = 0;
    // Finds an open settings dialog (a top-level window with the dialog's property) and
    // brings it to the foreground; false when there is none.
    virtual bool ActivateOpenSettingsDialog() = 0;
    virtual void ShowSettingsDialog(CRkCaptureApp& app) = 0;
    virtual void ShowStatusWindow(CRkCaptureApp& app) = 0;
};

enum class StartupOutcome {
    OpenFailed,      // first message shown
    NotMacroFile,    // second message shown
    SettingsDialog,  // no macro: the settings dialog was shown
    StatusWindow,    // the status window was shown (with a macro, or empty behind an open dialog)
};

StartupOutcome RunEngineStartup(std::string_view commandLine, CRkCaptureApp& app,
                                IEngineStartupHost& host);

}  // namespace zv
