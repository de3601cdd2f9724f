// RkRecHook.dll, the recording hook: the names RkEditor finds its procedures under and the
// message it posts. The editor installs the two procedures for every program of the
// desktop (SetWindowsHookEx with this module, thread 0) and arms them; inside each
// program they pass the keys and characters it receives to the editor's recorder window
// until the editor disarms them, the recorder window is gone or its process ended.
#pragma once

#include <windows.h>

namespace zv {

inline constexpr wchar_t kRecHookDll[] = L"RkRecHook.dll";

// Posted to the recorder window: wParam PackHookEvent (editor/recorder_keys.h), lParam the
// top-level window of the control that received the message.
inline constexpr UINT kRecHookMessage = WM_APP + 0x5C;

// Exports: the WH_GETMESSAGE and WH_CALLWNDPROC procedures, arming with the recorder
// window (its process's own windows are left out), disarming, and whether a hook would
// pass a message on now.
inline constexpr char kRecHookGetMessageProc[] = "RkRecGetMessageProc";
inline constexpr char kRecHookCallWndProc[] = "RkRecCallWndProc";
inline constexpr char kRecHookArm[] = "RkRecArm";
inline constexpr char kRecHookDisarm[] = "RkRecDisarm";
inline constexpr char kRecHookIsArmed[] = "RkRecIsArmed";

using RecHookArmFn = void (*)(HWND recorder);
using RecHookDisarmFn = void (*)();
using RecHookIsArmedFn = BOOL (*)();

}  // namespace zv
