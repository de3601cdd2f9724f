#include "common/win32/cmdline_win32.h"

#include <windows.h>

#include "common/win32/text.h"

namespace zv {

std::string CommandLineAfterProgramName() {
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return FromWide(p);
}

}  // namespace zv
