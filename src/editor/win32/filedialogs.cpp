#include "editor/win32/filedialogs.h"

#include <shobjidl.h>

#include <vector>

#include "common/win32/handles.h"
#include "common/win32/text.h"

namespace zv {
namespace {

// The filter "name|pattern|...||" as the dialog's list of file types.
struct FileTypes {
    std::vector<std::wstring> texts;
    std::vector<COMDLG_FILTERSPEC> specs;
};

FileTypes TypesOf(const std::string& filter) {
    FileTypes types;
    const std::wstring w = ToWide(filter);
    std::size_t start = 0;
    while (start < w.size()) {
        std::size_t bar = w.find(L'|', start);
        if (bar == std::wstring::npos)
            bar = w.size();
        if (bar == start)
            break;  // the closing "||"
        types.texts.push_back(w.substr(start, bar - start));
        start = bar + 1;
    }
    if (types.texts.size() % 2 != 0)
        types.texts.pop_back();
    for (std::size_t i = 0; i + 1 < types.texts.size(); i += 2)
        types.specs.push_back({types.texts[i].c_str(), types.texts[i + 1].c_str()});
    return types;
}

std::optional<std::string> Show(HWND owner, const FileDialogModel& model, bool save) {
    ComPtr<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                CLSCTX_INPROC_SERVER, IID_IFileDialog,
                                reinterpret_cast<void**>(dialog.Receive())))) {
        return std::nullopt;
    }
    DWORD options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST;
    options |= save ? FOS_OVERWRITEPROMPT : FOS_FILEMUSTEXIST;
    dialog->SetOptions(options);
    if (!model.title.empty())
        dialog->SetTitle(ToWide(model.title).c_str());
    if (!model.okButton.empty())
        dialog->SetOkButtonLabel(ToWide(model.okButton).c_str());
    const FileTypes types = TypesOf(model.filter);
    if (!types.specs.empty()) {
        dialog->SetFileTypes(static_cast<UINT>(types.specs.size()), types.specs.data());
        dialog->SetFileTypeIndex(1);
    }
    std::wstring ext = ToWide(model.defaultExtension);
    if (!ext.empty() && ext.front() == L'.')
        ext.erase(0, 1);
    if (!ext.empty())
        dialog->SetDefaultExtension(ext.c_str());
    // A proposed name may carry its folder: the dialog takes the two apart.
    std::wstring name = ToWide(model.fileName);
    std::wstring folder = ToWide(model.initialFolder);
    if (const std::size_t slash = name.find_last_of(L'\\'); slash != std::wstring::npos) {
        if (folder.empty())
            folder = name.substr(0, slash + 1);
        name.erase(0, slash + 1);
    }
    if (!folder.empty()) {
        ComPtr<IShellItem> start;
        if (SUCCEEDED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(start.Receive())))) {
            dialog->SetFolder(start.Get());
        }
    }
    if (!name.empty())
        dialog->SetFileName(name.c_str());
    if (FAILED(dialog->Show(owner)))
        return std::nullopt;  // cancelled
    ComPtr<IShellItem> chosen;
    if (FAILED(dialog->GetResult(chosen.Receive())))
        return std::nullopt;
    wchar_t* path = nullptr;
    if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr)
        return std::nullopt;
    std::string result = FromWide(path);
    CoTaskMemFree(path);
    return result;
}

}  // namespace

std::optional<std::string> ShowOpenFileDialog(HWND owner, const FileDialogModel& model) {
    return Show(owner, model, false);
}

std::optional<std::string> ShowSaveFileDialog(HWND owner, const FileDialogModel& model) {
    return Show(owner, model, true);
}

}  // namespace zv
