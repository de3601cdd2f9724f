// Whether a recording runs, and where the recording hook passes what it sees. The state
// is a small named section that the recording editor creates: its security descriptor
// grants every process reading and none writing, so only the handle the creating editor
// holds can arm it or point it at a window, and no program the hook runs in (of a lower
// integrity level or not) can. While it exists no second editor can create it; a named
// mutex held for the recording makes one recording at a time across editor processes.
// The hook opens the section, reads it and closes it again for each message it passes
// on, so the section is gone as soon as its editor ends, cleanly or not.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zv {

inline constexpr wchar_t kRecArmSectionName[] = L"Local\\ZorvaneRecorderArm";
inline constexpr wchar_t kRecordingMutexName[] = L"Local\\ZorvaneRecording";
// Read by everyone; nobody but the creator's own handle writes, not even its owner
// (OWNER RIGHTS takes the owner's implicit right to change the list away).
inline constexpr wchar_t kRecArmSectionSecurity[] = L"D:P(A;;GR;;;WD)(A;;GR;;;S-1-3-4)";

// The section's content.
struct RecArmState {
    std::uint32_t magic;
    volatile LONG armed;     // 1 while the recorder window takes what the hook passes on
    volatile LONG sequence;  // odd while the editor writes the fields below
    std::uint32_t recorderPid;
    std::uint64_t recorder;  // HWND
};
inline constexpr std::uint32_t kRecArmMagic = 0x5A565231;  // "ZVR1"

// The editor's side: one recording's hold on the state.
class CRecArm {
public:
    enum class Result {
        Ok,
        Busy,    // another editor records
        Failed,  // the section could not be made (error: the system's code)
    };

    CRecArm() = default;
    ~CRecArm() { Close(); }
    CRecArm(const CRecArm&) = delete;
    CRecArm& operator=(const CRecArm&) = delete;

    Result Open(DWORD* error);
    // The hook passes on to recorder (a window of this process) from now on.
    void Arm(HWND recorder);
    void Disarm();
    // Disarms, ends the section and lets the next recording start.
    void Close();
    bool IsOpen() const { return view_ != nullptr; }

private:
    HANDLE mutex_ = nullptr;
    HANDLE section_ = nullptr;
    RecArmState* view_ = nullptr;
};

// The hook's side: the recorder window when an editor records and the window belongs to
// the editor process that armed the state; nullptr otherwise. pid: that process.
HWND ArmedRecorderWindow(DWORD* pid);

}  // namespace zv
