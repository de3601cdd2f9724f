// CMacroDlg: the frame of the command dialogs: the line in and out, "(新規)" or "(更新)"
// after the caption, the dialog icon, help by anchor (the "ﾍﾙﾌﾟ" button and F1).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/win32/dialog.h"
#include "editor/dialog_frame.h"

namespace zv {

class CMacroDlg : public CDialog {
public:
    CMacroDlg(UINT templateId, std::string line, EditorDialog kind)
        : CDialog(templateId), line_(std::move(line)), kind_(kind) {}
    // The composed line after OK; the entry line otherwise.
    const std::string& Line() const { return line_; }

protected:
    BOOL OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // Closes with OK and the composed line.
    void CloseWith(std::string line);
    // Asks a question with Yes and No; true for Yes.
    bool AskYesNo(const std::string& question);
    // Carries out the outcome of OK; idOf names the control of each of the model's fields.
    template <typename Field, typename IdOf>
    void Finish(const DialogOk<Field>& ok, IdOf idOf) {
        using Kind = typename DialogOk<Field>::Kind;
        switch (ok.kind) {
            case Kind::Close:
                CloseWith(ok.line);
                return;
            case Kind::Message:
                ReportBadField(idOf(ok.focus), ok.message);
                return;
            case Kind::Confirm:
                if (AskYesNo(ok.message))
                    CloseWith(ok.line);
                else
                    SelectField(idOf(ok.focus));
                return;
        }
    }
    // The range of an up-down control, which also bounds what its arrows write.
    void SetSpinRange(int spinId, IntRange range);
    void OnHelp();

    std::string line_;
    EditorDialog kind_;
};

// Runs a command dialog modally: the composed line on OK, nothing on cancel.
inline std::optional<std::string> RunMacroDialog(CMacroDlg& dialog, HWND parent) {
    if (dialog.DoModal(parent) != IDOK)
        return std::nullopt;
    return dialog.Line();
}

}  // namespace zv
