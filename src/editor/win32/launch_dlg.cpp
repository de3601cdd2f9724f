// "プログラム起動設定": a program's command line, typed, picked from the "Plugin" folder or
// chosen with the open-file dialog, what the run waits for, and a trial start.
#include <shlobj.h>

#include <vector>

#include "common/folders.h"
#include "common/runprogram.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"
#include "editor/launch_dialog.h"
#include "common/win32/bitmapbutton.h"
#include "editor/win32/command_dialogs.h"
#include "editor/win32/filedialogs.h"
#include "editor/win32/macro_dialog.h"
#include "editor/win32/resource.h"

namespace zv {
namespace {

// The names of the programs in the "Plugin" folder beside RkEditor.exe.
std::vector<std::string> PluginFileNames() {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(ToWide(PluginSearchPattern(GetProgramFolder())).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(FromWide(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::string ProgramFilesFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return FromWide(path);
}

class CMacroLaunchDlg : public CMacroDlg {
public:
    explicit CMacroLaunchDlg(std::string line)
        : CMacroDlg(IDD_LAUNCH, std::move(line), EditorDialog::Launch),
          fields_(OpenLaunchDialog(line_)) {}

private:
    BOOL OnInitDialog() override {
        CMacroDlg::OnInitDialog();
        pick_.Attach(IDC_LAUNCH_PICK, hwnd_, Instance(), IDB_PICK_UP, IDB_PICK_DOWN, IDB_PICK_FOCUS,
                     IDB_PICK_DISABLED);
        pick_.SizeToContent();  // drawn whole, at its image set's size
        HWND combo = Item(IDC_LAUNCH_PROGRAM);
        SendMessageW(combo, CB_LIMITTEXT, kLaunchProgramMaxChars, 0);
        for (const std::string& entry : PluginEntries(PluginFileNames()))
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(entry).c_str()));
        SetItemText(IDC_LAUNCH_PROGRAM, fields_.program);
        CheckRadioButton(hwnd_, IDC_LAUNCH_MODE0, IDC_LAUNCH_MODE2,
                         IDC_LAUNCH_MODE0 + fields_.mode);
        return TRUE;
    }
    void ReadControls() {
        fields_.program = ItemText(IDC_LAUNCH_PROGRAM);
        for (int mode = kLaunchStartOnly; mode <= kLaunchWaitEnd; ++mode) {
            if (IsDlgButtonChecked(hwnd_, IDC_LAUNCH_MODE0 + mode) == BST_CHECKED)
                fields_.mode = mode;
        }
    }
    void ChooseProgram() {
        FileDialogModel chooser;
        chooser.title = kProgramChooserTitle;
        chooser.filter = kProgramChooserFilter;
        chooser.okButton = kProgramChooserOkText;
        chooser.initialFolder = ProgramFilesFolder();
        if (const std::optional<std::string> path = ShowOpenFileDialog(hwnd_, chooser)) {
            fields_.program = ChosenProgramText(*path);
            SetItemText(IDC_LAUNCH_PROGRAM, fields_.program);
        }
    }
    void TryStart() {
        ReadControls();
        const LaunchTrial trial = TrialStart(fields_.program);
        if (!trial.message.empty()) {
            Refuse(trial.message, IDC_LAUNCH_PROGRAM);
            return;
        }
        if (!RunProgram(trial.commandLine, trial.show))
            ShowMessageBox(trial.failureMessage, MB_ICONEXCLAMATION);
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (code == BN_CLICKED && id == IDC_LAUNCH_PICK) {
            ChooseProgram();
            return true;
        }
        if (code == BN_CLICKED && id == IDC_LAUNCH_TRY) {
            TryStart();
            return true;
        }
        return CMacroDlg::OnCommand(id, code, control);
    }
    void OnOK() override {
        ReadControls();
        Finish(ConfirmLaunchDialog(fields_), [](LaunchField) { return IDC_LAUNCH_PROGRAM; });
    }

    LaunchFields fields_;
    CBitmapButton pick_;
};

}  // namespace

std::optional<std::string> RunLaunchDialog(const std::string& line, HWND parent) {
    CMacroLaunchDlg dialog(line);
    return RunMacroDialog(dialog, parent);
}

}  // namespace zv
