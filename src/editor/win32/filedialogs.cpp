#include "editor/win32/filedialogs.h"

#include <commdlg.h>

#include "common/win32/text.h"

namespace zv {
namespace {

// "name|pattern|...||" with every "|" turned into the zero the dialog takes.
std::wstring FilterOf(const std::string& filter) {
    std::wstring w = ToWide(filter);
    for (wchar_t& c : w) {
        if (c == L'|')
            c = L'\0';
    }
    w.push_back(L'\0');
    return w;
}

// Renames the dialog's OK button when it has finished its layout.
UINT_PTR CALLBACK RenameOkHook(HWND child, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(child, GWLP_USERDATA,
                          reinterpret_cast<const OPENFILENAMEW*>(lp)->lCustData);
        return 0;
    }
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == CDN_INITDONE) {
        const auto* text =
            reinterpret_cast<const wchar_t*>(GetWindowLongPtrW(child, GWLP_USERDATA));
        if (text != nullptr && *text != L'\0')
            SendMessageW(GetParent(child), CDM_SETCONTROLTEXT, IDOK,
                         reinterpret_cast<LPARAM>(text));
    }
    return 0;
}

std::optional<std::string> Show(HWND owner, const FileDialogModel& spec, bool save) {
    const std::wstring title = ToWide(spec.title);
    const std::wstring filter = FilterOf(spec.filter);
    const std::wstring folder = ToWide(spec.initialFolder);
    const std::wstring okText = ToWide(spec.okButton);
    std::wstring ext = ToWide(spec.defaultExtension);
    if (!ext.empty() && ext.front() == L'.')
        ext.erase(0, 1);
    std::wstring file(32768, L'\0');
    const std::wstring proposed = ToWide(spec.fileName);
    proposed.copy(file.data(), std::min(proposed.size(), file.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!okText.empty()) {
        ofn.Flags |= OFN_ENABLEHOOK;
        ofn.lpfnHook = RenameOkHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(okText.c_str());
    }
    if (save) {
        ofn.Flags |= OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
        if (!GetSaveFileNameW(&ofn))
            return std::nullopt;
    } else {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        if (!GetOpenFileNameW(&ofn))
            return std::nullopt;
    }
    return FromWide(ofn.lpstrFile);
}

}  // namespace

std::optional<std::string> ShowOpenFileDialog(HWND owner, const FileDialogModel& spec) {
    return Show(owner, spec, false);
}

std::optional<std::string> ShowSaveFileDialog(HWND owner, const FileDialogModel& spec) {
    return Show(owner, spec, true);
}

}  // namespace zv
