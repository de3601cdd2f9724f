// Helpers the win32 tests share: the programs of the same build, copies of this program,
// temporary folders, message pumping and bounded waits, window text and edit selections.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "common/win32/text.h"
#include "common/win32/window.h"

namespace zv::test {

// The temporary folder, ending in a backslash.
inline std::string TempFolder() {
    wchar_t buf[MAX_PATH];
    GetTempPathW(MAX_PATH, buf);
    return FromWide(buf);
}

inline std::wstring SelfPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// A file of the same build beside the programs: build/win/bin.
inline std::wstring ProgramPath(const std::wstring& name) {
    std::wstring path = SelfPath();
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"..\\bin\\" + name;
}

// A program of the same build loaded for its resources only, freed with the holder.
class LoadedProgram {
public:
    explicit LoadedProgram(const wchar_t* name)
        : module_(LoadLibraryExW(ProgramPath(name).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~LoadedProgram() {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    LoadedProgram(const LoadedProgram&) = delete;
    LoadedProgram& operator=(const LoadedProgram&) = delete;
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

// Starts a copy of this program with args; all zero when it could not be started.
inline PROCESS_INFORMATION StartSelf(const std::wstring& args, DWORD flags = 0,
                                     BOOL inheritHandles = FALSE) {
    std::wstring command = L"\"" + SelfPath() + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, inheritHandles, flags, nullptr,
                        nullptr, &si, &pi))
        return PROCESS_INFORMATION{};
    return pi;
}

// Ends a started copy, waits up to waitMs for its end and closes its handles.
inline void EndProcess(const PROCESS_INFORMATION& pi, DWORD waitMs = 5000) {
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, waitMs);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// Writes content to path, made or replaced as disposition says; a wide path, so that long
// paths can go through the prefix.
inline bool WriteBytes(const std::wstring& path, const std::string& content,
                       DWORD disposition = CREATE_ALWAYS) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        h != INVALID_HANDLE_VALUE &&
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return ok;
}

// Removes a file or a folder with everything in it; the long-path prefix lets names
// beyond MAX_PATH go too.
inline void RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    const HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

// A folder in the temporary folder, made empty for the test and removed after it.
class TempTree {
public:
    explicit TempTree(const std::string& name) : path(TempFolder() + name) {
        RemoveTree(Long());
        CreateDirectoryW(Long().c_str(), nullptr);
    }
    ~TempTree() { RemoveTree(Long()); }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    // The path with the long-path prefix.
    std::wstring Long() const { return L"\\\\?\\" + ToWide(path); }
    const std::string path;
};

// Handles what is queued for this thread; translate makes the characters of key messages,
// as a program's message loop does.
inline void PumpMessages(bool translate = true) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (translate)
            TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Handles this thread's messages for about ms.
inline void PumpFor(DWORD ms, bool translate = true) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        PumpMessages(translate);
        Sleep(5);
    } while (GetTickCount64() < end);
}

// Waits up to timeoutMs for pred, handling this thread's messages meanwhile.
inline bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 3000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!pred()) {
        if (GetTickCount64() > deadline)
            return false;
        PumpMessages();
        Sleep(20);
    }
    return true;
}

inline std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

// An edit control's selection: start and end.
inline std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// A top-level window that counts the EN_CHANGE notifications that reach it.
class ChangeCountingParent : public CWnd {
public:
    int changes = 0;
    bool Create() {
        return CreateEx(0, L"ZvChangeCountingParent", L"p", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                        nullptr, nullptr, GetModuleHandleW(nullptr));
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE)
            ++changes;
        return Default(msg, wp, lp);
    }
};

}  // namespace zv::test
