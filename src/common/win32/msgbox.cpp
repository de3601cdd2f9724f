#include "common/win32/msgbox.h"

#include "common/win32/text.h"

namespace zv {
namespace {
std::string& Caption() {
    static std::string caption;
    return caption;
}
}  // namespace

void SetMessageBoxCaption(const std::string& caption) {
    Caption() = caption;
}

int MessageBoxOver(HWND owner, const std::string& text, UINT type) {
    return MessageBoxW(owner, ToWide(text).c_str(), ToWide(Caption()).c_str(), type);
}

void ShowMessageBox(const std::string& text, unsigned icon) {
    MessageBoxOver(GetActiveWindow(), text, MB_OK | icon);
}

}  // namespace zv
