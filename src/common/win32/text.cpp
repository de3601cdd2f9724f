#include "common/win32/text.h"

namespace zv {

namespace {

std::wstring MultiToWide(unsigned codePage, std::string_view s) {
    if (s.empty())
        return {};
    const int n =
        MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string WideToMulti(unsigned codePage, std::wstring_view w) {
    if (w.empty())
        return {};
    const int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

}  // namespace

std::wstring ToWide(std::string_view s) {
    return MultiToWide(kCodePage932, s);
}

std::string FromWide(std::wstring_view w) {
    return WideToMulti(kCodePage932, w);
}

std::wstring WideFromUtf8(std::string_view s) {
    return MultiToWide(CP_UTF8, s);
}

std::string Utf8FromWide(std::wstring_view w) {
    return WideToMulti(CP_UTF8, w);
}

std::string GetWindowTextMb(HWND window) {
    if (window == nullptr)
        return {};
    const LRESULT n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return FromWide(text);
}

std::string ReadCaptionNonBlocking(HWND window) {
    if (window == nullptr)
        return {};
    // The count does not tell a caption that filled the buffer from a longer one: grow
    // until it fits with room to spare.
    constexpr std::size_t kLongest = std::size_t{1} << 20;
    std::wstring buffer(256, L'\0');
    int n = 0;
    for (;;) {
        n = InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
        if (n < static_cast<int>(buffer.size()) - 1 || buffer.size() >= kLongest)
            break;
        buffer.resize(buffer.size() * 2);
    }
    return FromWide(std::wstring_view(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0));
}

void SetWindowTextMb(HWND window, std::string_view cp932) {
    SetWindowTextW(window, ToWide(cp932).c_str());
}

std::wstring LoadResourceString(UINT id, HINSTANCE instance) {
    const wchar_t* text = nullptr;
    const int n = LoadStringW(instance != nullptr ? instance : GetModuleHandleW(nullptr), id,
                              reinterpret_cast<wchar_t*>(&text), 0);
    return n > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(n))
                                    : std::wstring();
}

std::string SystemErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n > 0 && buffer != nullptr)
        text = FromWide(std::wstring_view(buffer, n));
    if (buffer != nullptr)
        LocalFree(buffer);
    return text;
}

}  // namespace zv
