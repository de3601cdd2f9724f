// The worker thread of a run: its start message, the run-finished message, its end.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/win32/desktop_win32.h"
#include "common/filesystem.h"
#include "engine/input.h"
#include "engine/win32/macro_thread.h"
#include "engine/runner.h"
#include "common/win32/text.h"
#include "win32_helpers.h"

namespace zv {
namespace {

// A run of one macro on the real desktop, with a message-only window standing in for the
// status window.
class WorkerRun {
public:
    explicit WorkerRun(const std::string& macroText)
        : desktop_(10, true), held_(desktop_), ctx_{desktop_, app_, held_} {
        app_.macroPath = test::TempFolder() + "zv worker 表.rkm";
        logPath_ = test::TempFolder() + "zv worker log.txt";
        PlatformFileSystem().ReplaceContent(app_.macroPath, macroText);
        DeleteFileW(ToWide(logPath_).c_str());
        app_.settings.keyinWaitMSec = 0;
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
        status_ = window_;
    }
    ~WorkerRun() {
        DestroyWindow(window_);
        DeleteFileW(ToWide(app_.macroPath).c_str());
        DeleteFileW(ToWide(logPath_).c_str());
    }

    CMacroThread MakeThread() {
        return CMacroThread(ctx_, PlatformFileSystem(), logPath_, status_);
    }

    // Waits for the thread's end; false when it is still running after timeoutMs.
    static bool WaitEnd(CMacroThread& t, DWORD timeoutMs = 10000) {
        return WaitForSingleObject(t.Handle(), timeoutMs) == WAIT_OBJECT_0;
    }
    // Starts the thread, gives it the start message and waits for its end.
    static bool RunToEnd(CMacroThread& t) {
        return t.Create() && t.PostStartRun(kStartRunParam) && WaitEnd(t);
    }
    // Counts run-finished messages that reached the stand-in window.
    int FinishedMessages() {
        int n = 0;
        MSG msg;
        while (PeekMessageW(&msg, window_, kMsgRunFinished, kMsgRunFinished, PM_REMOVE))
            ++n;
        return n;
    }
    std::string Log() {
        std::string text;
        PlatformFileSystem().ReadAll(logPath_, text);
        return text;
    }

    CRkCaptureApp app_;
    std::atomic<HWND> status_{nullptr};

private:
    Win32EngineDesktop desktop_;
    HeldInput held_;
    CommandContext ctx_;
    std::string logPath_;
    HWND window_ = nullptr;
};

DWORD ExitCodeOf(CMacroThread& t) {
    DWORD code = 1234;
    GetExitCodeThread(t.Handle(), &code);
    return code;
}

TEST(EngineWorker, RunsTheMacroOnStartAndReportsTheEnd) {
    WorkerRun run("; <RKMACRO>worker\r\nWAIT:0\r\n");
    CMacroThread thread = run.MakeThread();
    ASSERT_TRUE(thread.Create());
    EXPECT_TRUE(thread.Running());

    // Another first parameter is ignored: the thread keeps waiting.
    ASSERT_TRUE(thread.PostStartRun(0x1234));
    EXPECT_FALSE(WorkerRun::WaitEnd(thread, 300));
    EXPECT_EQ(run.Log(), "") << "nothing ran";

    ASSERT_TRUE(thread.PostStartRun(kStartRunParam));
    ASSERT_TRUE(WorkerRun::WaitEnd(thread));
    EXPECT_FALSE(thread.Running());
    EXPECT_EQ(ExitCodeOf(thread), 0u);
    EXPECT_EQ(run.FinishedMessages(), 1);
    const std::string log = run.Log();
    EXPECT_NE(log.find("0002行目：WAIT  : 0 mm sec\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("マクロ処理終了"), std::string::npos);
}

TEST(EngineWorker, NoMessageAfterAStopOrWithoutAWindow) {
    {
        WorkerRun run("; <RKMACRO>worker\r\nWAIT:0\r\nWAIT:0\r\n");
        run.app_.RequestStop();
        CMacroThread thread = run.MakeThread();
        ASSERT_TRUE(WorkerRun::RunToEnd(thread));
        EXPECT_EQ(ExitCodeOf(thread), 0u);
        EXPECT_EQ(run.FinishedMessages(), 0) << "a stopped run is not reported as finished";
        EXPECT_EQ(run.Log().find("0002行目"), std::string::npos) << "no line ran after the stop";
    }
    {
        WorkerRun run("; <RKMACRO>worker\r\nWAIT:0\r\n");
        run.status_ = nullptr;  // the status window is gone
        CMacroThread thread = run.MakeThread();
        ASSERT_TRUE(WorkerRun::RunToEnd(thread));
        EXPECT_EQ(run.FinishedMessages(), 0);
        EXPECT_NE(run.Log().find("0002行目"), std::string::npos) << "the run itself happened";
    }
}

TEST(EngineWorker, ShortWaitsLastWhatTheySay) {
    // Fifty WAIT:10 lines: with a 1 ms timer resolution about half a second, with the
    // default scheduler tick about 0.8 s.
    std::string macro = "; <RKMACRO>worker\r\n";
    for (int i = 0; i < 50; ++i)
        macro += "WAIT:10\r\n";
    WorkerRun run(macro);
    CMacroThread thread = run.MakeThread();
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(WorkerRun::RunToEnd(thread));
    const double perLine = static_cast<double>(GetTickCount64() - start) / 50.0;
    std::printf("[ figures  ] WAIT:10 takes %.1f ms a line in a run\n", perLine);
    EXPECT_GE(perLine, 9.0);
    EXPECT_NE(run.Log().find("0051行目：WAIT  : 10 mm sec"), std::string::npos);
}

}  // namespace
}  // namespace zv
