#include "launcher/win32/aboutdlg.h"

#include "launcher/win32/banner.h"
#include "launcher/launcher_commands.h"
#include "launcher/win32/launcher_resource.h"
#include "common/win32/msgbox.h"
#include "common/runprogram.h"
#include "common/strutil.h"
#include "common/win32/text.h"
#include "launcher/win32/versioninfo.h"

namespace zv {

bool CAboutDlg::DoModal(HWND owner) {
    std::vector<ProgramVersion> versions;
    for (const std::string& name : AboutProgramNames()) {
        versions.push_back({name, ReadProductVersion(programFolder_ + name)});
    }
    versionBlock_ = ToWide(ComposeVersionBlock(versions));
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, DialogProc,
                    reinterpret_cast<LPARAM>(this));
    return updateStarted_;
}

void CAboutDlg::OnUpdate(HWND dlg) {
    if (MessageBoxW(dlg, ToWide(kMsgUpdateConfirm).c_str(), ToWide(MessageBoxCaption()).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    const std::string command = UpdateCommandLine(programFolder_);
    if (!RunProgram(command, kShowDefault)) {
        host_.ShowMessage(StrPrintf(kMsgUpdateStartFailed, command.c_str()));
        return;
    }
    updateStarted_ = true;
    EndDialog(dlg, IDOK);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG)
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
    CAboutDlg* self = reinterpret_cast<CAboutDlg*>(GetWindowLongPtrW(dlg, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG:
            SendMessageW(dlg, WM_SETICON, ICON_BIG,
                         reinterpret_cast<LPARAM>(
                             LoadIconW(self->instance_, MAKEINTRESOURCEW(IDR_MAINFRAME))));
            PlaceProductIcon(dlg, IDC_ABOUT_ICON);
            return TRUE;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(dlg, &ps);
            PaintProductPanel(dlg, dc, self->versionBlock_);
            EndPaint(dlg, &ps);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK:
                case IDCANCEL:
                    EndDialog(dlg, LOWORD(wp));
                    return TRUE;
                case IDC_ABOUT_UPDATE:
                    self->OnUpdate(dlg);
                    return TRUE;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace zv
