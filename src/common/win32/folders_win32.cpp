// Program folder, per-user data folder and shell "open" for all three programs.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "common/folders.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"

namespace zv {

std::string GetProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderOfPath(FromWide(path));
}

std::string GetAppDataFolder(bool create) {
    std::string base;
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &pidl)) && pidl != nullptr) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(pidl, path))
            base = FromWide(path);
        CoTaskMemFree(pidl);
    }
    return ComposeAppDataFolder(base, create, PlatformFileSystem());
}

bool OpenDocument(const std::string& address) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) < 32) {
        ShowMessageBox(DocumentOpenFailedMessage(address));
        return false;
    }
    return true;
}

bool OpenHelpPage(const std::string& base, const std::string& /*localHelpFolder*/,
                  const std::string& page, const std::string& anchor) {
    return OpenDocument(ComposeHelpAddress(base, page, anchor));
}

bool OpenSuiteHelp(std::string_view page, std::string_view anchor) {
    return OpenHelpPage(HelpBaseAddress(GetProgramFolder()), std::string(kLocalHelpFolder),
                        std::string(page), std::string(anchor));
}

}  // namespace zv
