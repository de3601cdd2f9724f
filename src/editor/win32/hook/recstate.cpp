#include "editor/win32/hook/recstate.h"

#include <sddl.h>

namespace zv {
namespace {

// A hook reading the section at the moment it is created keeps it alive for that read;
// the editor tries again for this long before it gives up.
constexpr int kCreateAttempts = 10;
constexpr DWORD kCreateRetryMs = 20;

void Write(RecArmState* state, HWND recorder, DWORD pid) {
    InterlockedExchange(&state->armed, 0);
    InterlockedIncrement(&state->sequence);
    state->recorderPid = pid;
    state->recorder = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(recorder));
    InterlockedIncrement(&state->sequence);
    InterlockedExchange(&state->armed, recorder != nullptr ? 1 : 0);
}

}  // namespace

CRecArm::Result CRecArm::Open(DWORD* error) {
    *error = 0;
    if (view_ != nullptr)
        return Result::Ok;
    mutex_ = CreateMutexW(nullptr, FALSE, kRecordingMutexName);
    if (mutex_ == nullptr) {
        *error = GetLastError();
        return Result::Failed;
    }
    const DWORD wait = WaitForSingleObject(mutex_, 0);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {  // abandoned: its editor was killed
        CloseHandle(mutex_);
        mutex_ = nullptr;
        return Result::Busy;
    }
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kRecArmSectionSecurity,
                                                              SDDL_REVISION_1, &sd, nullptr)) {
        *error = GetLastError();
        Close();
        return Result::Failed;
    }
    SECURITY_ATTRIBUTES sa{sizeof sa, sd, FALSE};
    for (int attempt = 0; attempt < kCreateAttempts && section_ == nullptr; ++attempt) {
        if (attempt > 0)
            Sleep(kCreateRetryMs);
        HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0,
                                            sizeof(RecArmState), kRecArmSectionName);
        *error = GetLastError();
        if (section != nullptr && *error == ERROR_ALREADY_EXISTS) {
            CloseHandle(section);  // not ours: someone else chose who may write it
            section = nullptr;
        }
        section_ = section;
    }
    LocalFree(sd);
    if (section_ == nullptr) {
        Close();
        return Result::Failed;
    }
    view_ = static_cast<RecArmState*>(
        MapViewOfFile(section_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(RecArmState)));
    if (view_ == nullptr) {
        *error = GetLastError();
        Close();
        return Result::Failed;
    }
    *error = 0;
    view_->magic = kRecArmMagic;
    Write(view_, nullptr, 0);
    return Result::Ok;
}

void CRecArm::Arm(HWND recorder) {
    if (view_ != nullptr)
        Write(view_, recorder, GetCurrentProcessId());
}

void CRecArm::Disarm() {
    if (view_ != nullptr)
        Write(view_, nullptr, 0);
}

void CRecArm::Close() {
    if (view_ != nullptr) {
        Disarm();
        UnmapViewOfFile(view_);
        view_ = nullptr;
    }
    if (section_ != nullptr) {
        CloseHandle(section_);
        section_ = nullptr;
    }
    if (mutex_ != nullptr) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

HWND ArmedRecorderWindow(DWORD* pid) {
    *pid = 0;
    HANDLE section = OpenFileMappingW(FILE_MAP_READ, FALSE, kRecArmSectionName);
    if (section == nullptr)
        return nullptr;
    HWND recorder = nullptr;
    DWORD recorderPid = 0;
    if (const auto* state = static_cast<const RecArmState*>(
            MapViewOfFile(section, FILE_MAP_READ, 0, 0, sizeof(RecArmState)))) {
        const LONG before = state->sequence;
        if (state->magic == kRecArmMagic && state->armed == 1 && (before & 1) == 0) {
            recorder = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(state->recorder));
            recorderPid = state->recorderPid;
            if (state->sequence != before || state->armed != 1)
                recorder = nullptr;  // changed while read
        }
        UnmapViewOfFile(state);
    }
    CloseHandle(section);
    DWORD owner = 0;
    if (recorder == nullptr || !IsWindow(recorder) ||
        GetWindowThreadProcessId(recorder, &owner) == 0 || owner != recorderPid) {
        return nullptr;  // not armed, or a window of another process than the one that armed
    }
    *pid = recorderPid;
    return recorder;
}

}  // namespace zv
