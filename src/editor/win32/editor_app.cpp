#include "editor/win32/editor_app.h"

#include <commctrl.h>
#include <ole2.h>

#include <clocale>

#include "common/folders.h"
#include "common/win32/cmdline_win32.h"
#include "common/win32/msgbox.h"
#include "common/win32/osversion.h"
#include "editor/win32/mainframe.h"
#include "editor/win32/resource.h"

namespace zv {

CRkEditorApp* CRkEditorApp::current_ = nullptr;

CRkEditorApp::CRkEditorApp() {
    std::setlocale(LC_ALL, "Japanese");
    SetMessageBoxCaption(std::string(kEditorName));
    current_ = this;
}

CRkEditorApp::~CRkEditorApp() {
    if (oleInitialized_)
        OleUninitialize();
    current_ = nullptr;
}

std::string CRkEditorApp::MacroTopPath() {
    return ReadMacroTopPath(*profile_);
}

bool CRkEditorApp::InitInstance(HINSTANCE instance, int show) {
    instance_ = instance;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));  // drag-and-drop needs it
    profile_ = std::make_unique<IniProfile>(PlatformFileSystem(),
                                            GetAppDataFolder(true) + std::string(kConfigFileName));

    osMajor_ = ReportedOsMajorVersion();
    recent_.Load(*profile_);
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));

    frame_ = CMainFrame::Create(*this);
    if (frame_ == nullptr)
        return false;
    frame_->StartDocument(CommandLineAfterProgramName());
    frame_->RestoreHeight(ReadDefaultWindowHeight(*profile_));
    ShowWindow(frame_->GetSafeHwnd(), show);
    UpdateWindow(frame_->GetSafeHwnd());
    frame_->FocusListWhenFilled();
    return true;
}

void CRkEditorApp::OnIdle() {
    if (frame_ != nullptr)
        frame_->OnIdle();
}

int CRkEditorApp::Run() {
    MSG msg{};
    for (;;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            OnIdle();  // tool-bar buttons and status indicators follow the state
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        HWND main = frame_ != nullptr ? frame_->GetSafeHwnd() : nullptr;
        if (main != nullptr && accelerators_ != nullptr &&
            (msg.hwnd == main || IsChild(main, msg.hwnd)) &&
            TranslateAcceleratorW(main, accelerators_, &msg)) {
            continue;
        }
        if (main != nullptr && frame_->PreTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace zv
