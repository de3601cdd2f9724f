#include "editor/win32/macro_run_win32.h"

#include "common/folders.h"
#include "common/programstart.h"
#include "common/strutil.h"
#include "common/win32/msgbox.h"
#include "common/win32/runprogram_win32.h"
#include "common/win32/text.h"
#include "editor/win32/editor_view.h"
#include "editor/win32/mainframe.h"

namespace zv {
namespace {

// The user's temporary folder when its path survives the macro file's code page (the
// engine is handed it on its command line); the suite's own folder otherwise.
std::string RunFolder() {
    wchar_t buf[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    if (n > 0 && n <= MAX_PATH) {
        const std::wstring wide(buf, n);
        const std::string folder = FromWide(wide);
        if (ToWide(folder) == wide)
            return folder;
    }
    return GetAppDataFolder(true);
}

BOOL CALLBACK RestoreEngineWindow(HWND window, LPARAM process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // Asynchronous: the engine's window thread may be busy with its run.
    if (owner == static_cast<DWORD>(process) && IsWindowVisible(window))
        ShowWindowAsync(window, SW_RESTORE);
    return TRUE;
}

}  // namespace

CEditorRun::~CEditorRun() {
    // The engine goes on; the temporary file goes when it can (the engine holds it open).
    RemoveRunFile();
}

void CEditorRun::Start(RunScope scope) {
    if (EngineRunning())
        return;
    CRkEditorView& view = frame_.View();
    view.StoreFields();
    EditorDocument& doc = frame_.Document();
    std::string message;
    std::optional<RunFile> file =
        ComposeRunFile(doc.Fields(), doc.List().Lines(), scope, doc.List().Selection(), &message);
    if (!file) {
        if (message.empty())
            MessageBeep(0);
        else
            ShowMessageBox(message, MB_ICONEXCLAMATION);
        return;
    }
    const std::string question = RunRefusalQuestion(*file, doc.List().Lines());
    if (!question.empty() &&
        MessageBoxOver(frame_.GetSafeHwnd(), question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::string path = RunFilePath(RunFolder(), GetCurrentProcessId(), ++runNumber_);
    IFileSystem& fs = PlatformFileSystem();
    {
        SysError error = 0;
        std::unique_ptr<IWriteFile> out = fs.CreateWrite(path, true, &error);
        if (!out || !out->Write(file->text)) {
            out.reset();
            DeleteFileW(ToWide(path).c_str());
            ShowMessageBox(StrPrintf(kMsgRunFileFailed, path.c_str(), fs.ErrorText(error).c_str()),
                           MB_ICONEXCLAMATION);
            return;
        }
    }
    const LaunchAction action = EngineRunAction(GetProgramFolder(), path);
    UniqueHandle process = StartProgram(action.target, action.show);
    if (!process) {
        DeleteFileW(ToWide(path).c_str());
        ShowMessageBox(action.failureMessage, MB_ICONEXCLAMATION);
        return;
    }
    engineProcess_ = GetProcessId(process.Get());
    AllowSetForegroundWindow(engineProcess_);
    const HWND hwnd = frame_.GetSafeHwnd();
    // Without the system's wait the end is learnt from the log alone.
    engineRunning_ = watch_.Watch(hwnd, std::move(process), path);
    runPath_ = path;
    scope_ = scope;
    file_ = std::move(file);
    follower_.emplace(GetAppDataFolder(false) + std::string(kRunLogFileName), path);
    landed_ = false;
    ClearMarks();
    marks_.assign(doc.List().Lines().size(), RunMark::None);
    frame_.SetStatusText("マクロを実行しています...");
    SetTimer(hwnd, kTimer, kRunFollowMs, nullptr);
    // Lines without a FOCUS act on the window that was in front before the editor.
    ShowWindow(hwnd, SW_MINIMIZE);
}

void CEditorRun::Stop() {
    if (!CanStop() || engineProcess_ == 0)
        return;
    EnumWindows(RestoreEngineWindow, static_cast<LPARAM>(engineProcess_));
}

void CEditorRun::OnTimer() {
    if (landed_ || !follower_)
        return;
    Follow();
}

void CEditorRun::Follow() {
    if (follower_->Poll(PlatformFileSystem()))
        UpdateMarks();
    if (follower_->State().ended)
        Land();
}

void CEditorRun::UpdateMarks() {
    const int count = static_cast<int>(frame_.Document().List().Count());
    std::vector<RunMark> now = RunMarks(*file_, follower_->State(), count);
    now.resize(marks_.size() > now.size() ? marks_.size() : now.size(), RunMark::None);
    marks_.resize(now.size(), RunMark::None);
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] != marks_[i]) {
            marks_[i] = now[i];
            frame_.View().RedrawLine(static_cast<int>(i));
        }
    }
}

void CEditorRun::OnEngineEnded(WPARAM number) {
    if (!watch_.TakeEnded(number))
        return;
    engineRunning_ = false;
    engineProcess_ = 0;
    if (!landed_ && follower_)
        Follow();  // what the log gained since the last look
    RemoveRunFile();
    if (closeWhenEnded_) {
        DestroyWindow(frame_.GetSafeHwnd());
        return;
    }
    if (!landed_)
        Land();
}

void CEditorRun::Land() {
    landed_ = true;
    const HWND hwnd = frame_.GetSafeHwnd();
    KillTimer(hwnd, kTimer);
    if (closeWhenEnded_)
        return;  // no one is looking: the window closes at the engine's end
    const int count = static_cast<int>(frame_.Document().List().Count());
    const RunOutcome outcome = JudgeRun(*file_, follower_->State(), scope_, count);
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    if (outcome.select >= 0)
        frame_.View().SelectLine(outcome.select);
    frame_.SetStatusText(outcome.status);
    if (!outcome.message.empty())
        ShowMessageBox(outcome.message, MB_ICONEXCLAMATION);
}

void CEditorRun::RemoveRunFile() {
    if (runPath_.empty())
        return;
    if (DeleteFileW(ToWide(runPath_).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        runPath_.clear();
}

void CEditorRun::ClearMarks() {
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (marks_[i] != RunMark::None)
            frame_.View().RedrawLine(static_cast<int>(i));
    }
    marks_.clear();
}

RunMark CEditorRun::MarkOf(int index) const {
    if (index < 0 || index >= static_cast<int>(marks_.size()))
        return RunMark::None;
    return marks_[static_cast<std::size_t>(index)];
}

}  // namespace zv
