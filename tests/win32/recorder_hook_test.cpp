// RkRecHook.dll as the editor drives it: armed only while its recorder window lives, and
// silent about the recording process's own windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/win32/window.h"
#include "editor/recorder_keys.h"
#include "editor/win32/hook/rkrechook.h"

namespace zv {
namespace {

// The DLL as it is installed: beside the programs, build/win/bin.
std::wstring HookPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"..\\bin\\" + kRecHookDll;
}

class Hook {
public:
    Hook() : module_(LoadLibraryW(HookPath().c_str())) {}
    ~Hook() {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    template <class F>
    F Get(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

// A recorder window that counts what the hook posts to it.
class CountingWindow : public CWnd {
public:
    bool Create() {
        return CreateEx(0, L"ZvTestRecorder", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleW(nullptr));
    }
    void Destroy() { DestroyWindow(hwnd_); }
    int posted = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kRecHookMessage)
            ++posted;
        return Default(msg, wp, lp);
    }
};

void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

TEST(RecordingHook, ArmedOnlyWhileItsRecorderWindowLives) {
    Hook hook;
    ASSERT_NE(hook.Module(), nullptr) << "RkRecHook.dll beside the programs";
    const auto arm = hook.Get<RecHookArmFn>(kRecHookArm);
    const auto disarm = hook.Get<RecHookDisarmFn>(kRecHookDisarm);
    const auto armed = hook.Get<RecHookIsArmedFn>(kRecHookIsArmed);
    ASSERT_TRUE(arm && disarm && armed && hook.Get<HOOKPROC>(kRecHookGetMessageProc) &&
                hook.Get<HOOKPROC>(kRecHookCallWndProc));

    CountingWindow recorder;
    ASSERT_TRUE(recorder.Create());
    EXPECT_FALSE(armed());
    arm(recorder.GetSafeHwnd());
    EXPECT_TRUE(armed());
    disarm();
    EXPECT_FALSE(armed()) << "disarmed";

    arm(recorder.GetSafeHwnd());
    recorder.Destroy();
    EXPECT_FALSE(armed()) << "the recorder window is gone: as after a crash";
    disarm();
}

TEST(RecordingHook, TheRecordingProcesssOwnWindowsPassNothing) {
    Hook hook;
    ASSERT_NE(hook.Module(), nullptr);
    CountingWindow recorder;
    CountingWindow other;
    ASSERT_TRUE(recorder.Create() && other.Create());
    HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook.Get<HOOKPROC>(kRecHookGetMessageProc),
                                        hook.Module(), GetCurrentThreadId());
    ASSERT_NE(installed, nullptr);
    hook.Get<RecHookArmFn>(kRecHookArm)(recorder.GetSafeHwnd());
    PostMessageW(other.GetSafeHwnd(), WM_KEYDOWN, 'A', 1);
    PostMessageW(other.GetSafeHwnd(), WM_CHAR, 'a', 1);
    Pump();
    hook.Get<RecHookDisarmFn>(kRecHookDisarm)();
    UnhookWindowsHookEx(installed);
    EXPECT_EQ(recorder.posted, 0);
}

}  // namespace
}  // namespace zv
