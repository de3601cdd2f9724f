#include "launcher/win32/enginewatch.h"

namespace zv {

bool CEngineWatch::Watch(HWND notify, UniqueHandle process, std::string macroPath) {
    auto entry = std::make_unique<Entry>();
    entry->notify = notify;
    entry->message = message_;
    entry->number = nextNumber_++;
    entry->macroPath = std::move(macroPath);
    entry->process = std::move(process);
    HANDLE wait = nullptr;
    // The callback only posts a message: it may run on the system's wait thread itself.
    if (!RegisterWaitForSingleObject(&wait, entry->process.Get(), &CEngineWatch::OnProcessEnded,
                                     entry.get(), INFINITE,
                                     WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD)) {
        return false;
    }
    entry->wait.Reset(wait);
    const WPARAM number = entry->number;
    entries_.emplace(number, std::move(entry));
    return true;
}

void CALLBACK CEngineWatch::OnProcessEnded(void* context, BOOLEAN) {
    const Entry* entry = static_cast<const Entry*>(context);
    PostMessageW(entry->notify, entry->message, entry->number, 0);
}

std::optional<CEngineWatch::Ended> CEngineWatch::TakeEnded(WPARAM number) {
    const auto it = entries_.find(number);
    if (it == entries_.end())
        return std::nullopt;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(it->second->process.Get(), 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(it->second->process.Get(), &code)) {
        return std::nullopt;
    }
    Ended ended{std::move(it->second->macroPath), code};
    entries_.erase(it);
    return ended;
}

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
