// What the running Windows offers: its version as GetVersionEx reports it to this program
// (what its manifest admits to), and calls that older systems lack.
#pragma once

#include <windows.h>

namespace zv {

// The major version; 0 when the system does not say.
int ReportedOsMajorVersion();

// SetLayeredWindowAttributes, looked up at run time; null on systems without it.
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
SetLayeredWindowAttributesFn LayeredWindowAttributesCall();

}  // namespace zv
