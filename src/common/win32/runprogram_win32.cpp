#include <windows.h>

#include "common/runprogram.h"
#include "common/win32/runprogram_win32.h"
#include "common/win32/text.h"

namespace zv {

UniqueHandle StartProgram(const std::string& commandLine, int show) {
    std::wstring line = ToWide(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    if (line.empty() || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &si, &pi)) {
        return {};
    }
    CloseHandle(pi.hThread);
    return UniqueHandle(pi.hProcess);
}

bool RunProgram(const std::string& commandLine, int show) {
    return static_cast<bool>(StartProgram(commandLine, show));
}

}  // namespace zv
