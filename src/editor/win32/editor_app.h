// CRkEditorApp: the editor's process-wide state (configuration file, OS version, recent
// files) and its life from start-up through the message loop to exit.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/profile.h"
#include "editor/editor_settings.h"

namespace zv {

class CMainFrame;

class CRkEditorApp {
public:
    CRkEditorApp();
    ~CRkEditorApp();
    CRkEditorApp(const CRkEditorApp&) = delete;
    CRkEditorApp& operator=(const CRkEditorApp&) = delete;

    // Start-up: OLE, the configuration file, the main window with the document named on
    // the command line. False when the program is to end at once.
    bool InitInstance(HINSTANCE instance, int show);
    // The message loop; returns the exit code.
    int Run();

    static CRkEditorApp& Get() { return *current_; }
    IProfile& Profile() { return *profile_; }
    HINSTANCE Instance() const { return instance_; }
    int OsMajor() const { return osMajor_; }
    RecentFileList& RecentFiles() { return recent_; }
    // "RkMacroTopPath" of the launcher's section, read when asked.
    std::string MacroTopPath();
    // The main window is gone (its last message).
    void OnFrameDestroyed() { frame_ = nullptr; }

private:
    void OnIdle();

    static CRkEditorApp* current_;
    HINSTANCE instance_ = nullptr;
    std::unique_ptr<IniProfile> profile_;
    RecentFileList recent_;
    int osMajor_ = 0;
    bool oleInitialized_ = false;
    HACCEL accelerators_ = nullptr;
    CMainFrame* frame_ = nullptr;  // owns itself; gone after WM_NCDESTROY
};

}  // namespace zv
