#include "launcher/win32/aboutdlg.h"

#include "common/runprogram.h"
#include "common/strutil.h"
#include "common/win32/handles.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "launcher/launcher_commands.h"
#include "launcher/win32/banner.h"
#include "launcher/win32/launcher_resource.h"
#include "launcher/win32/versioninfo.h"

namespace zv {

CAboutDlg::CAboutDlg(HINSTANCE instance, std::string programFolder, IMessageHost& host)
    : CDialog(IDD_ABOUTBOX, instance), programFolder_(std::move(programFolder)), host_(host) {}

bool CAboutDlg::Run(HWND owner) {
    std::vector<ProgramVersion> versions;
    for (const std::string& name : AboutProgramNames()) {
        versions.push_back({name, ReadProductVersion(programFolder_ + name)});
    }
    versionBlock_ = ToWide(ComposeVersionBlock(versions));
    DoModal(owner);
    return updateStarted_;
}

BOOL CAboutDlg::OnInitDialog() {
    SetDialogIcon(IDR_MAINFRAME);
    PlaceProductIcon(hwnd_, IDC_ABOUT_ICON);
    return TRUE;
}

void CAboutDlg::OnDpiChanged(UINT, UINT) {
    PlaceProductIcon(hwnd_, IDC_ABOUT_ICON);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CAboutDlg::OnUpdate() {
    if (MessageBoxW(hwnd_, ToWide(kMsgUpdateConfirm).c_str(), ToWide(MessageBoxCaption()).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    const std::string command = UpdateCommandLine(programFolder_);
    if (!RunProgram(command, kShowDefault)) {
        host_.ShowMessage(StrPrintf(kMsgUpdateStartFailed, command.c_str()));
        return;
    }
    updateStarted_ = true;
    EndDialog(IDOK);
}

bool CAboutDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDC_ABOUT_UPDATE) {
        OnUpdate();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

INT_PTR CAboutDlg::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            PaintDc dc(hwnd_);
            PaintProductPanel(hwnd_, dc.Get(), versionBlock_);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
        default:
            return CDialog::DialogProc(msg, wp, lp);
    }
}

}  // namespace zv
