#include "launcher/win32/folderchoice.h"

#include <shlobj.h>

#include "common/cp932.h"
#include "common/win32/text.h"
#include "launcher/win32/launcher_resource.h"

namespace zv {
namespace {

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED)
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

std::optional<std::string> ChooseMacroFolder(HWND owner, HINSTANCE instance,
                                             const std::string& start) {
    const std::wstring startWide = ToWide(TruncateChars(start, MAX_PATH - 1));
    const std::wstring title = LoadResourceString(IDS_SELECT_MACRO_FOLDER, instance);
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.lpszTitle = title.c_str();
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(startWide.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&bi);
    if (item == nullptr)
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(item, path) != FALSE;
    CoTaskMemFree(item);
    if (!hasPath)
        return std::nullopt;
    return FromWide(path);
}

}  // namespace zv
