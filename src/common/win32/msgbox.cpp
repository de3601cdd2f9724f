#include "common/win32/msgbox.h"

#include <windows.h>

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
const std::string& MessageBoxCaption() {
    return Caption();
}

void ShowMessageBox(const std::string& text, unsigned icon) {
    MessageBoxW(GetActiveWindow(), ToWide(text).c_str(), ToWide(Caption()).c_str(), MB_OK | icon);
}

}  // namespace zv
