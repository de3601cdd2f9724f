#include "launcher/win32/versioninfo.h"

#include <windows.h>

#include <vector>

#include "common/win32/text.h"

namespace zv {

std::optional<std::string> ReadProductVersion(const std::string& path) {
    const std::wstring file = ToWide(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return std::nullopt;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\ProductVersion",
                        reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return std::nullopt;
    }
    std::wstring_view text(value, length);
    while (!text.empty() && text.back() == L'\0')
        text.remove_suffix(1);
    return FromWide(text);
}

}  // namespace zv
