// RkRecHook.dll, the recording hook: the names RkEditor finds its procedures under and the
// message it posts. The editor installs the two procedures for every program of the
// desktop (SetWindowsHookEx with this module, thread 0) and arms the recording state
// (editor/win32/hook/recstate.h); inside each program they pass the keys and characters
// it receives to the editor's recorder window until the editor disarms the state, the
// recorder window is gone or its process ended. The module itself holds no state: no
// program it is loaded into can arm it.
#pragma once

#include <windows.h>

namespace zv {

inline constexpr wchar_t kRecHookDll[] = L"RkRecHook.dll";

// Posted to the recorder window: wParam PackHookEvent, lParam PackHookWindows (the
// top-level window and the control that received the message; editor/recorder_keys.h).
inline constexpr UINT kRecHookMessage = WM_APP + 0x5C;

// Exports: the WH_GETMESSAGE and WH_CALLWNDPROC procedures, and whether a hook would pass
// a message on now.
inline constexpr char kRecHookGetMessageProc[] = "RkRecGetMessageProc";
inline constexpr char kRecHookCallWndProc[] = "RkRecCallWndProc";
inline constexpr char kRecHookIsArmed[] = "RkRecIsArmed";

using RecHookIsArmedFn = BOOL (*)();

}  // namespace zv
