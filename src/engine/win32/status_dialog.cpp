#include "engine/win32/status_dialog.h"

#include "engine/win32/desktop_win32.h"
#include "common/folders.h"
#include "engine/input.h"
#include "engine/win32/resource.h"
#include "engine/runner.h"
#include "common/win32/dpi.h"
#include "common/win32/text.h"

namespace zv {
namespace {

constexpr const char* kStoppedText = "下記のマクロ処理を停止しました。";
constexpr DWORD kWorkerPollMs = 40;

}  // namespace

std::atomic<HWND> CRkCaptureDlg::current{nullptr};

// The About box of the status window's system menu.
class CEngineAboutDlg : public CDialog {
public:
    CEngineAboutDlg() : CDialog(IDD_ABOUTBOX) {}
    void Close() { EndDialog(IDCANCEL); }
};

CRkCaptureDlg::CRkCaptureDlg(CommandContext& ctx, IFileSystem& fs, std::string logPath)
    : CDialog(IDD_RKCAPTURE_DIALOG),
      ctx_(ctx),
      fs_(fs),
      logPath_(std::move(logPath)),
      path_(ctx.app.macroPath) {}

void CRkCaptureDlg::DoModal() {
    if (!Create(nullptr))
        return;
    MSG msg;
    while (!ended_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0)
            break;
        if (PreTranslateMessage(msg))
            continue;
        if (!IsDialogMessageW(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(hwnd_);
}

BOOL CRkCaptureDlg::OnInitDialog() {
    SetItemText(IDC_MACRO_PATH, path_);
    ShowWindow(hwnd_, SW_MINIMIZE);

    const std::wstring about = LoadResourceString(IDS_ABOUTBOX);
    if (!about.empty()) {
        if (HMENU menu = GetSystemMenu(hwnd_, FALSE); menu != nullptr) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    SetDialogIcon(IDI_PROGRAM);

    // Recorded only now, so that the minimising above is no stop request.
    current = hwnd_;
    worker_ = std::make_unique<CMacroThread>(ctx_, fs_, logPath_, current);
    if (!worker_->Create()) {
        // Nothing can run: close instead of waiting for a run that never ends.
        worker_.reset();
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        return TRUE;
    }
    worker_->PostStartRun(kStartRunParam);
    return TRUE;
}

INT_PTR CRkCaptureDlg::DialogProc(UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_SIZE:
            if (current.load() == hwnd_)
                PostMessageW(hwnd_, kMsgStopRequested, 0, 0);
            return FALSE;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
                CEngineAboutDlg about;
                about_ = &about;
                about.DoModal(hwnd_);
                about_ = nullptr;
                return SetMessageResult(0);
            }
            return FALSE;
        case WM_PAINT:
            if (IsIconic(hwnd_)) {
                OnPaintIconic();
                return TRUE;
            }
            return FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(BigIcon());
        case WM_CLOSE:
            EndModal();
            return TRUE;
        case WM_DESTROY:
            current = nullptr;
            return FALSE;
        // Handled where they are dispatched, not only in this window's own loop: a modal
        // loop inside it (the About box) passes them straight to the window.
        case kMsgRunFinished:
            WaitForWorker();
            if (about_ != nullptr)
                about_->Close();  // the program ends with the run
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
            return TRUE;
        case kMsgStopRequested:
            OnStopRequested();
            return TRUE;
        default:
            return CDialog::DialogProc(m, wp, lp);
    }
}

void CRkCaptureDlg::EndModal() {
    ended_ = true;
    EndMenu();  // only this thread's menu; nothing when none is open
}

void CRkCaptureDlg::OnPaintIconic() {
    PaintDc paint(hwnd_);
    HDC dc = paint.Get();
    SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int cx = MetricForDpi(SM_CXICON, Dpi());
    const int cy = MetricForDpi(SM_CYICON, Dpi());
    DrawIconEx(dc, (rc.right - rc.left - cx + 1) / 2, (rc.bottom - rc.top - cy + 1) / 2, BigIcon(),
               cx, cy, 0, nullptr, DI_NORMAL);
}

bool CRkCaptureDlg::PreTranslateMessage(const MSG& msg) {
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
        !finished_) {
        return true;  // the keyboard cannot close the window during a run
    }
    return false;
}

void CRkCaptureDlg::OnStopRequested() {
    ctx_.app.RequestStop();
    WaitForWorker();
    SetItemText(IDC_STATUS_TEXT, kStoppedText);
    const HWND edit = GetDlgItem(hwnd_, IDC_MACRO_PATH);
    const int length = GetWindowTextLengthW(edit);
    const int caret = length > 0 ? length - 1 : 0;
    SendMessageW(edit, EM_SETSEL, caret, caret);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    finished_ = true;
    EnableWindow(GetDlgItem(hwnd_, IDOK), TRUE);
}

void CRkCaptureDlg::WaitForWorker() {
    if (worker_ == nullptr || worker_->Handle() == nullptr)
        return;
    // No time limit: the current command ends when it ends. Messages that other threads
    // send to this one (a window walk reading titles, activation) are still answered,
    // so the worker cannot get stuck on this window while it is waited for; posted
    // input stays queued until afterwards.
    const HANDLE thread = worker_->Handle();
    DWORD code = 0;
    while (GetExitCodeThread(thread, &code) && code == STILL_ACTIVE) {
        MsgWaitForMultipleObjects(1, &thread, FALSE, kWorkerPollMs, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void RunStatusWindow(CRkCaptureApp& app) {
    Win32EngineDesktop desktop(app.osMajor, app.ntPlatform);
    HeldInput held(desktop);
    CommandContext ctx{desktop, app, held};
    CRkCaptureDlg dialog(ctx, PlatformFileSystem(),
                         GetAppDataFolder(false) + std::string(kRunLogFileName));
    dialog.DoModal();
    if (!dialog.WorkerStillRunning())
        return;
    // Closed in the middle of a run: let go of keys and buttons the macro still holds
    // and put back pointer settings, then end before the worker sends more. The run log
    // keeps what it has; its closing line is not written. The exit code is the normal
    // one: nothing is left held for the launcher to let go.
    app.RequestStop();
    held.ReleaseAll();
    TerminateProcess(GetCurrentProcess(), kEngineExitNormal);
}

}  // namespace zv
