#include "engine/win32/macro_thread.h"

#include <process.h>

#include "engine/win32/desktop_win32.h"
#include "engine/runner.h"

namespace zv {

CMacroThread::CMacroThread(CommandContext& ctx, IFileSystem& fs, std::string logPath,
                           const std::atomic<HWND>& statusWindow)
    : ctx_(ctx), fs_(fs), logPath_(std::move(logPath)), statusWindow_(statusWindow) {}

bool CMacroThread::Create() {
    queueReady_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!queueReady_)
        return false;
    const uintptr_t h = _beginthreadex(nullptr, 0, &CMacroThread::ThreadMain, this, 0, &threadId_);
    if (h == 0)
        return false;
    handle_.Reset(reinterpret_cast<HANDLE>(h));
    // Thread messages posted before the queue exists are lost: wait for it (or for the
    // thread's end, should it fail before).
    const HANDLE waits[2] = {queueReady_.Get(), handle_.Get()};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    return true;
}

bool CMacroThread::PostStartRun(WPARAM firstParam) {
    return threadId_ != 0 && PostThreadMessageW(threadId_, kMsgStartRun, firstParam, 0) != FALSE;
}

bool CMacroThread::Running() const {
    DWORD code = 0;
    return handle_ && GetExitCodeThread(handle_.Get(), &code) && code == STILL_ACTIVE;
}

unsigned __stdcall CMacroThread::ThreadMain(void* self) {
    return static_cast<CMacroThread*>(self)->Main();
}

unsigned CMacroThread::Main() {
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue
    SetEvent(queueReady_.Get());
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd != nullptr || msg.message != kMsgStartRun || msg.wParam != kStartRunParam)
            continue;
        bool finished = false;
        {
            // Pauses of the run (WAIT:10, key and click intervals) last what they say
            // instead of a whole scheduler tick.
            ScopedTimerResolution resolution;
            finished = RunMacroJob(static_cast<std::uint32_t>(msg.wParam), ctx_, fs_, logPath_);
        }
        const HWND window = statusWindow_.load();
        if (finished && window != nullptr)
            PostMessageW(window, kMsgRunFinished, 0, 0);
        return 0;
    }
    return 0;
}

}  // namespace zv
