// RkRecHook.dll and the recording state as the editor drives them: armed only by the
// editor that holds the state and only while its recorder window lives, one recording at
// a time, silent about the recording process's own windows and about windows of other
// processes, and nothing of a password field's characters leaves its program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/window.h"
#include "editor/recorder_keys.h"
#include "editor/win32/hook/recstate.h"
#include "editor/win32/hook/rkrechook.h"
#include "editor/win32/recorder_win32.h"
#include "win32_helpers.h"

namespace zv {
namespace {

using test::PumpFor;
using test::StartSelf;

class Hook {
public:
    Hook() : module_(LoadLibraryW(test::ProgramPath(kRecHookDll).c_str())) {}
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

// A recorder window that keeps what the hook posts to it.
class CountingWindow : public CWnd {
public:
    bool Create() {
        return CreateEx(0, L"ZvTestRecorder", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                        GetModuleHandleW(nullptr));
    }
    void Destroy() { DestroyWindow(hwnd_); }
    std::vector<HookEvent> posted;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kRecHookMessage) {
            if (const auto e = UnpackHookEvent(static_cast<std::uint64_t>(wp)))
                posted.push_back(*e);
        }
        return Default(msg, wp, lp);
    }
};

TEST(RecordingHook, ArmedOnlyByTheEditorAndOnlyWhileItsRecorderWindowLives) {
    Hook hook;
    ASSERT_NE(hook.Module(), nullptr) << "RkRecHook.dll beside the programs";
    const auto armed = hook.Get<RecHookIsArmedFn>(kRecHookIsArmed);
    ASSERT_TRUE(armed && hook.Get<HOOKPROC>(kRecHookGetMessageProc) &&
                hook.Get<HOOKPROC>(kRecHookCallWndProc));
    // The module exports no way to arm it and keeps no state of its own.
    EXPECT_EQ(hook.Get<void*>("RkRecArm"), nullptr);
    EXPECT_EQ(hook.Get<void*>("RkRecDisarm"), nullptr);

    CountingWindow recorder;
    ASSERT_TRUE(recorder.Create());
    EXPECT_FALSE(armed());
    CRecArm arm;
    DWORD error = 0;
    ASSERT_EQ(arm.Open(&error), CRecArm::Result::Ok) << error;
    EXPECT_FALSE(armed()) << "open, not armed";
    // Everyone reads the state; nobody opens it to write, the process that made it included.
    EXPECT_TRUE(UniqueHandle(OpenFileMappingW(FILE_MAP_READ, FALSE, kRecArmSectionName)));
    SetLastError(0);
    EXPECT_FALSE(UniqueHandle(OpenFileMappingW(FILE_MAP_WRITE, FALSE, kRecArmSectionName)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(UniqueHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 64, kRecArmSectionName)))
        << "nor by creating it anew";

    arm.Arm(recorder.GetSafeHwnd());
    EXPECT_TRUE(armed());
    // The recording process's own windows pass nothing.
    CountingWindow other;
    ASSERT_TRUE(other.Create());
    HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook.Get<HOOKPROC>(kRecHookGetMessageProc),
                                        hook.Module(), GetCurrentThreadId());
    ASSERT_NE(installed, nullptr);
    PostMessageW(other.GetSafeHwnd(), WM_KEYDOWN, 'A', 1);
    PostMessageW(other.GetSafeHwnd(), WM_CHAR, 'a', 1);
    PumpFor(100);
    UnhookWindowsHookEx(installed);
    EXPECT_TRUE(recorder.posted.empty());
    arm.Disarm();
    EXPECT_FALSE(armed()) << "disarmed";

    arm.Arm(recorder.GetSafeHwnd());
    recorder.Destroy();
    EXPECT_FALSE(armed()) << "the recorder window is gone: as after a crash";
    arm.Close();
    EXPECT_FALSE(armed());
}

TEST(RecordingHook, OneRecordingAtATime) {
    CRecArm first;
    DWORD error = 0;
    ASSERT_EQ(first.Open(&error), CRecArm::Result::Ok) << error;
    // Another editor (its own thread here; the mutex belongs to a thread).
    const auto openElsewhere = [] {
        CRecArm::Result second = CRecArm::Result::Ok;
        std::thread([&second] {
            CRecArm other;
            DWORD e = 0;
            second = other.Open(&e);
        }).join();
        return second;
    };
    EXPECT_EQ(openElsewhere(), CRecArm::Result::Busy);
    first.Close();
    EXPECT_EQ(openElsewhere(), CRecArm::Result::Ok) << "free again once the first ended";

    // A section someone else made first, with writing open to all: never used.
    HANDLE squatter = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(RecArmState), kRecArmSectionName);
    ASSERT_NE(squatter, nullptr);
    CRecArm third;
    EXPECT_EQ(third.Open(&error), CRecArm::Result::Failed);
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(third.IsOpen());
    CloseHandle(squatter);
    EXPECT_EQ(third.Open(&error), CRecArm::Result::Ok) << "the recording lock was let go";
}

TEST(RecordingHook, ProgramsOfTheSessionAreOnesItCanEnter) {
    EXPECT_EQ(ReachOfProcess(GetCurrentProcessId()), RecReach::Hooked);
    // Another 64-bit program of this user, at this level.
    const PROCESS_INFORMATION pi = StartSelf(L"--gtest_list_tests", CREATE_SUSPENDED);
    ASSERT_NE(pi.hProcess, nullptr);
    EXPECT_EQ(ReachOfProcess(pi.dwProcessId), RecReach::Hooked);
    test::EndProcess(pi);
}

// ---- with the recorder in another process ----

constexpr wchar_t kHostFileVariable[] = L"ZV_RECORDER_HOST_FILE";
constexpr wchar_t kHostStopEvent[] = L"Local\\ZvTestRecorderHostStop";

// Not a test of its own: the recording editor's part for the test below, run in a
// process of its own. It arms the state with a recorder window, writes the window's
// handle to the file named by the environment, and when told to stop writes one line per
// event it received: kind, field, code.
TEST(RecordingHookHost, Serve) {
    wchar_t file[MAX_PATH] = {};
    if (GetEnvironmentVariableW(kHostFileVariable, file, MAX_PATH) == 0)
        GTEST_SKIP() << "run by RecordingHook.PassesOnWhatItsProgramGetsAndNothingMore";
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kHostStopEvent);
    CountingWindow recorder;
    ASSERT_TRUE(recorder.Create());
    CRecArm arm;
    DWORD error = 0;
    ASSERT_EQ(arm.Open(&error), CRecArm::Result::Ok);
    arm.Arm(recorder.GetSafeHwnd());
    {
        std::ofstream out{std::filesystem::path(file)};
        out << reinterpret_cast<std::uintptr_t>(recorder.GetSafeHwnd()) << "\n";
    }
    for (int i = 0; i < 600 && WaitForSingleObject(stop, 0) != WAIT_OBJECT_0; ++i)
        PumpFor(100);
    PumpFor(100);
    std::ofstream out{std::filesystem::path(file)};
    for (const HookEvent& e : recorder.posted) {
        out << static_cast<int>(e.kind) << ' ' << static_cast<int>(HookFieldOf(e.flags)) << ' '
            << e.code << "\n";
    }
    CloseHandle(stop);
}

TEST(RecordingHook, PassesOnWhatItsProgramGetsAndNothingMore) {
    Hook hook;
    ASSERT_NE(hook.Module(), nullptr);
    const std::wstring file = ToWide(test::TempFolder()) + L"zv_recorder_host.txt";
    DeleteFileW(file.c_str());
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kHostStopEvent);
    ResetEvent(stop);
    SetEnvironmentVariableW(kHostFileVariable, file.c_str());
    const PROCESS_INFORMATION pi = StartSelf(L"--gtest_filter=RecordingHookHost.Serve");
    SetEnvironmentVariableW(kHostFileVariable, nullptr);
    ASSERT_NE(pi.hProcess, nullptr);
    ASSERT_TRUE(test::WaitFor(
        [&] {
            unsigned long long window = 0;
            return (std::ifstream{std::filesystem::path(file)} >> window) && window != 0;
        },
        10000))
        << "the host armed the state";

    // Windows of this program: a field, a password field, a button.
    CountingWindow top;
    ASSERT_TRUE(top.Create());
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 50, 20, top.GetSafeHwnd(), nullptr,
                                nullptr, nullptr);
    HWND password = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_PASSWORD, 0, 0, 50, 20,
                                    top.GetSafeHwnd(), nullptr, nullptr, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD, 0, 0, 50, 20, top.GetSafeHwnd(),
                                  nullptr, nullptr, nullptr);
    HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, hook.Get<HOOKPROC>(kRecHookGetMessageProc),
                                        hook.Module(), GetCurrentThreadId());
    ASSERT_NE(installed, nullptr);
    PostMessageW(edit, WM_KEYDOWN, 'K', 1);
    PostMessageW(edit, WM_CHAR, 'k', 1);
    PostMessageW(password, WM_KEYDOWN, 'S', 1);
    PostMessageW(password, WM_CHAR, 's', 1);
    PostMessageW(password, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(button, WM_KEYDOWN, VK_SPACE, 1);
    PumpFor(100, false);
    // A message of another process's window, as the system hands a 32-bit program's
    // messages to a 64-bit hook on the installing thread: everything read here would be
    // this program's, so nothing passes.
    MSG foreign{};
    foreign.hwnd = GetDesktopWindow();
    DWORD foreignPid = 0;
    GetWindowThreadProcessId(foreign.hwnd, &foreignPid);
    ASSERT_NE(foreignPid, GetCurrentProcessId());
    ASSERT_NE(foreignPid, pi.dwProcessId) << "a third program's window";
    foreign.message = WM_CHAR;
    foreign.wParam = 'x';
    hook.Get<HOOKPROC>(kRecHookGetMessageProc)(HC_ACTION, PM_REMOVE,
                                               reinterpret_cast<LPARAM>(&foreign));
    PumpFor(100, false);
    UnhookWindowsHookEx(installed);
    SetEvent(stop);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(stop);

    std::ifstream in{std::filesystem::path(file)};
    std::vector<std::string> got;
    for (std::string line; std::getline(in, line);)
        got.push_back(line);
    DeleteFileW(file.c_str());
    const auto line = [](HookEventKind kind, RecField field, int code) {
        return std::to_string(static_cast<int>(kind)) + ' ' +
               std::to_string(static_cast<int>(field)) + ' ' + std::to_string(code);
    };
    using K = HookEventKind;
    EXPECT_EQ(got, (std::vector<std::string>{
                       line(K::KeyDown, RecField::Text, 'K'),
                       line(K::Char, RecField::Text, 'k'),
                       line(K::KeyDown, RecField::Password, 0),  // held back
                       line(K::PasswordChar, RecField::Password, 0),
                       line(K::KeyDown, RecField::Password, VK_RETURN),
                       line(K::KeyDown, RecField::Keys, VK_SPACE),
                   }));
}

}  // namespace
}  // namespace zv
