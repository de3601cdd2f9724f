#include "common/win32/osversion.h"

namespace zv {

int ReportedOsMajorVersion() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version))
        return 0;
#pragma GCC diagnostic pop
    return static_cast<int>(version.dwMajorVersion);
}

SetLayeredWindowAttributesFn LayeredWindowAttributesCall() {
    const HMODULE user32 = GetModuleHandleW(L"user32");
    if (user32 == nullptr)
        return nullptr;
    return reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
}

}  // namespace zv
