// "ウェイト設定": a waiting time and the largest number of idle polls.
#include <string>

#include "common/win32/mnedit.h"
#include "editor/wait_dialog.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

class CMacroWaitDlg : public CMacroDlg {
public:
    explicit CMacroWaitDlg(std::string line)
        : CMacroDlg(IDD_WAIT, std::move(line), EditorDialog::Wait),
          fields_(OpenWaitDialog(line_)) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        time_.SubclassDlgItem(IDC_WAIT_TIME, hwnd_);
        loops_.SubclassDlgItem(IDC_WAIT_LOOPS, hwnd_);
        SetSpinRange(IDC_WAIT_TIME_SPIN, kWaitTimeRange);
        SetSpinRange(IDC_WAIT_LOOPS_SPIN, kWaitRepetitionRange);
        SetItemText(IDC_WAIT_TIME, std::to_string(fields_.timeMs));
        SetItemText(IDC_WAIT_LOOPS, std::to_string(fields_.repetitions));
        return TRUE;
    }
    void OnOK() override {
        const WaitDialogTexts texts{ItemText(IDC_WAIT_TIME), ItemText(IDC_WAIT_LOOPS)};
        Finish(ConfirmWaitDialog(texts), [](WaitField field) {
            return field == WaitField::Time ? IDC_WAIT_TIME : IDC_WAIT_LOOPS;
        });
    }

    WaitFields fields_;
    CMnEdit time_;
    CMnEdit loops_;
};

}  // namespace

std::optional<std::string> RunWaitDialog(const std::string& line, HWND parent) {
    CMacroWaitDlg dialog(line);
    return RunMacroDialog(dialog, parent);
}

}  // namespace zv
