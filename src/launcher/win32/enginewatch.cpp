#include "launcher/win32/enginewatch.h"

namespace zv {

bool Win32ModifierKeyboard::IsDown(std::uint32_t vk) {
    return (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0;
}

void Win32ModifierKeyboard::SendKey(std::uint32_t vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(vk);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The right-hand keys and the Windows keys carry the extended flag: some systems (Wine)
    // tell the sides apart by it alone and would take the event for the left key.
    if (vk == VK_RSHIFT || vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
}

}  // namespace zv
