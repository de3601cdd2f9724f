// Program folder, per-user data folder and the opening of documents and help pages for
// all three programs.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "common/folders.h"
#include "common/win32/msgbox.h"
#include "common/win32/text.h"

namespace zv {

namespace {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The command registered for opening assoc ("http", ".html"), environment strings
// expanded; empty when there is none (or it is handed to a COM object instead).
std::wstring AssociatedCommand(const wchar_t* assoc) {
    // A protocol as the user's choice of program for it (Windows 8 and later), then as a
    // plain class.
    const ASSOCF first = assoc[0] == L'.' ? ASSOCF{ASSOCF_NONE} : ASSOCF{ASSOCF_IS_PROTOCOL};
    for (const ASSOCF flags : {first, ASSOCF{ASSOCF_NONE}}) {
        DWORD n = 0;
        HRESULT hr = AssocQueryStringW(flags, ASSOCSTR_COMMAND, assoc, L"open", nullptr, &n);
        if ((hr != S_OK && hr != S_FALSE) || n <= 1)
            continue;
        std::wstring command(n, L'\0');
        hr = AssocQueryStringW(flags, ASSOCSTR_COMMAND, assoc, L"open", command.data(), &n);
        if (hr != S_OK)
            continue;
        command.resize(wcsnlen(command.c_str(), command.size()));
        const DWORD expanded = ExpandEnvironmentStringsW(command.c_str(), nullptr, 0);
        if (expanded > 0) {
            std::wstring out(expanded, L'\0');
            ExpandEnvironmentStringsW(command.c_str(), out.data(), expanded);
            out.resize(wcsnlen(out.c_str(), out.size()));
            command = std::move(out);
        }
        if (!command.empty())
            return command;
    }
    return {};
}

// Starts the browser registered for web addresses (or, failing that, for HTML pages)
// with the address; false when none is registered or it could not be started.
bool StartBrowser(const std::string& address) {
    for (const wchar_t* assoc : {L"http", L".html"}) {
        const std::wstring command = AssociatedCommand(assoc);
        if (command.empty())
            continue;
        std::wstring line = WideFromUtf8(BrowserCommandLine(Utf8FromWide(command), address));
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi)) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string GetProgramFolder() {
    return FolderOfPath(FromWide(ProgramPath()));
}

std::string GetProgramFolderUtf8() {
    const std::wstring path = ProgramPath();
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::string() : Utf8FromWide(path.substr(0, slash + 1));
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
    if (IsBrowserAddress(address) && StartBrowser(address))
        return true;
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
    return OpenHelpPage(HelpBaseAddress(GetProgramFolderUtf8()), std::string(kLocalHelpFolder),
                        std::string(page), std::string(anchor));
}

}  // namespace zv
