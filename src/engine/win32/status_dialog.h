// CRkCaptureDlg: the small window that names the running macro, opens minimised and
// offers the only way to stop the run from the outside: restoring it.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/win32/dialog.h"
#include "common/win32/handles.h"
#include "engine/commands.h"
#include "common/filesystem.h"
#include "engine/win32/macro_thread.h"

namespace zv {

class CEngineAboutDlg;

class CRkCaptureDlg : public CDialog {
public:
    CRkCaptureDlg(CommandContext& ctx, IFileSystem& fs, std::string logPath);

    // Shows the window and runs its message loop until it closes.
    void DoModal();
    // True when the window closed while the worker was still inside the macro.
    bool WorkerStillRunning() const { return worker_ != nullptr && worker_->Running(); }

    // The current status window: set once the window has initialised, cleared when it
    // is destroyed. The worker posts the run-finished message only while it is set.
    static std::atomic<HWND> current;

private:
    INT_PTR DialogProc(UINT m, WPARAM wp, LPARAM lp) override;
    BOOL OnInitDialog() override;
    void OnOK() override { EndModal(); }
    void OnCancel() override { EndModal(); }
    void OnPaintIconic();
    // Keys taken from this window's own queue before the dialog sees them; true when msg
    // is consumed.
    bool PreTranslateMessage(const MSG& msg);
    void OnStopRequested();
    void WaitForWorker();
    // Ends the window's loop; a menu of the window that is open (its system menu) is
    // closed, since the loop cannot end while the menu's own loop runs.
    void EndModal();

    CommandContext& ctx_;
    IFileSystem& fs_;
    std::string logPath_;
    std::string path_;  // the macro path as shown
    bool finished_ = false;
    bool ended_ = false;
    std::unique_ptr<CMacroThread> worker_;
    CEngineAboutDlg* about_ = nullptr;  // while the About box is open
};

// Shows the status window for app's macro and ends the run: when the window was closed
// in the middle of a run, what the engine still holds down is released and the process
// ends at once.
void RunStatusWindow(CRkCaptureApp& app);

}  // namespace zv
