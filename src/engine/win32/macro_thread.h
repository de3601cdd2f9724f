// CMacroThread: the worker thread of one run. It has its own message queue, waits for
// the start-run thread message, runs the macro and tells the status window when the run
// finished by itself.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "engine/commands.h"
#include "common/filesystem.h"
#include "common/win32/handles.h"

namespace zv {

inline constexpr UINT kMsgStartRun = 0x8014;       // thread message, wParam kStartRunParam
inline constexpr UINT kMsgRunFinished = 0x8002;    // worker to status window
inline constexpr UINT kMsgStopRequested = 0x8003;  // status window to itself

class CMacroThread {
public:
    // statusWindow is read when the run ends: the run-finished message goes to the
    // window it holds then, if any.
    CMacroThread(CommandContext& ctx, IFileSystem& fs, std::string logPath,
                 const std::atomic<HWND>& statusWindow);

    // Starts the thread (normal priority, default stack) and returns once its message
    // queue exists; false when it could not be started.
    bool Create();
    // Posts the start-run message (or another first parameter, which the thread ignores).
    bool PostStartRun(WPARAM firstParam);
    // The thread's handle; it stays valid after the thread has ended, until this object
    // is destroyed. nullptr when no thread was started.
    HANDLE Handle() const { return handle_.Get(); }
    // True while the thread runs.
    bool Running() const;

private:
    static unsigned __stdcall ThreadMain(void* self);
    unsigned Main();

    CommandContext& ctx_;
    IFileSystem& fs_;
    std::string logPath_;
    const std::atomic<HWND>& statusWindow_;
    UniqueHandle handle_;
    unsigned threadId_ = 0;
    UniqueHandle queueReady_;
};

}  // namespace zv
