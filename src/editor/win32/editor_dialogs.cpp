#include "editor/win32/editor_dialogs.h"

#include "common/win32/handles.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "editor/document.h"
#include "editor/focus_dialog.h"
#include "editor/lineedit_dialog.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

// "マクロ直接編集": the keyword as a label, the parameter text in an edit, no checks.
class CMacroLineEditDlg : public CMacroDlg {
public:
    explicit CMacroLineEditDlg(std::string line)
        : CMacroDlg(IDD_LINEEDIT, std::move(line), EditorDialog::LineEdit),
          fields_(OpenLineEditDialog(line_)) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        SetItemText(IDC_LINE_KEYWORD, fields_.keyword);
        SetItemText(IDC_LINE_PARAMS, fields_.params);
        return TRUE;
    }
    void OnOK() override {
        fields_.params = ItemText(IDC_LINE_PARAMS);
        CloseWith(ComposeEditedLine(fields_));
    }

    LineEditFields fields_;
};

// "現在のトップウィンドウの一覧": the captions of the visible top-level windows, sorted.
class CActiveWinListDlg : public CDialog {
public:
    CActiveWinListDlg() : CDialog(IDD_WINLIST) {}
    const std::string& Chosen() const { return chosen_; }

private:
    BOOL OnInitDialog() override {
        SetDialogIcon(IDR_MAINFRAME);
        HWND list = Item(IDC_WINDOW_LIST);
        // Z order from the desktop's first child; this dialog is not visible yet. The
        // captions are read without a message to their windows, so that a program that
        // has stopped answering cannot hold the list.
        for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr;
             w = GetWindow(w, GW_HWNDNEXT)) {
            if (!IsWindowVisible(w))
                continue;
            if (const std::optional<std::string> entry = WindowListEntry(ReadCaptionNonBlocking(w)))
                SendMessageW(list, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(ToWide(*entry).c_str()));
        }
        if (SendMessageW(list, LB_GETCOUNT, 0, 0) > 0) {
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            SetFocus(list);
            return FALSE;
        }
        return TRUE;
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id == IDC_WINDOW_LIST && code == LBN_DBLCLK) {
            OnOK();
            return true;
        }
        return CDialog::OnCommand(id, code, control);
    }
    void OnOK() override {
        HWND list = Item(IDC_WINDOW_LIST);
        const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
        const WindowListChoice choice =
            ChooseFromWindowList(sel == LB_ERR ? -1 : static_cast<int>(sel));
        if (!choice.close) {
            ShowMessageBox(choice.message, MB_ICONEXCLAMATION);
            return;
        }
        const LRESULT n = SendMessageW(list, LB_GETTEXTLEN, sel, 0);
        std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(static_cast<std::size_t>(n > 0 ? n : 0));
        chosen_ = FromWide(wide);
        EndDialog(IDOK);
    }

    std::string chosen_;
};

// The About box: the program icon and the version painted in blue.
class CEditorAboutDlg : public CDialog {
public:
    CEditorAboutDlg() : CDialog(IDD_ABOUTBOX) {}

private:
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            PaintDc paint(hwnd_);
            RECT r{};
            GetClientRect(hwnd_, &r);
            // Right of the icon, in the dialog's own units and font at its DPI.
            const RECT at = DialogUnitsToPixels({48, 16, 48, 16});
            r.left = at.left;
            r.top = at.top;
            SetBkMode(paint.Get(), TRANSPARENT);
            SetTextColor(paint.Get(), RGB(0, 0, 255));
            SelectScope select(paint.Get(), Font());
            DrawTextW(paint.Get(), L"RkEditor v2.0.0.", -1, &r, DT_LEFT | DT_SINGLELINE);
            return TRUE;
        }
        return CDialog::DialogProc(msg, wp, lp);
    }
};

}  // namespace

std::optional<std::string> RunLineDialog(const DialogRequest& request, HWND parent) {
    if (request.kind == DialogRequest::Kind::CommandDialog) {
        if (std::optional<std::string> line =
                RunCommandDialog(request.commandType, request.line, parent)) {
            return line;
        }
        return std::nullopt;
    }
    CMacroLineEditDlg dialog(request.line);
    if (dialog.DoModal(parent) != IDOK)
        return std::nullopt;
    return dialog.Line();
}

std::optional<std::string> ChooseOpenWindow(HWND parent) {
    CActiveWinListDlg dialog;
    if (dialog.DoModal(parent) != IDOK)
        return std::nullopt;
    return dialog.Chosen();
}

void ShowEditorAbout(HWND parent) {
    CEditorAboutDlg dialog;
    dialog.DoModal(parent);
}

void ShowOpenNotice(HWND frame, const std::string& notice) {
    if (!notice.empty())
        MessageBoxW(frame, ToWide(notice).c_str(), ToWide(kEditorName).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace zv
