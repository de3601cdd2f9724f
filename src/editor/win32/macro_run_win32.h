// CEditorRun: a run of the macro from the editor's window. It writes the temporary macro
// file, starts the engine on it as the launcher does, minimises the editor, follows the
// run log on a timer and marks the lines that ran, and when the run is over brings the
// editor back on the line that failed (or the next line after F8), with the outcome in the
// status bar. The engine's end is learnt through a system wait that posts a message:
// nothing here waits on the engine. macro_run.h decides; this carries it out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/win32/enginewatch.h"
#include "editor/macro_run.h"

namespace zv {

class CMainFrame;

class CEditorRun {
public:
    static constexpr UINT kEndedMessage = WM_APP + 0x70;
    static constexpr UINT_PTR kTimer = 0x5252;

    explicit CEditorRun(CMainFrame& frame) : frame_(frame) {}
    ~CEditorRun();
    CEditorRun(const CEditorRun&) = delete;
    CEditorRun& operator=(const CEditorRun&) = delete;

    // The engine of a run is still going (the run commands wait for it to end).
    bool EngineRunning() const { return engineRunning_; }
    // The run is followed and may be stopped.
    bool CanStop() const { return EngineRunning() && !landed_; }

    void Start(RunScope scope);
    // The engine's own stop: its status window restored.
    void Stop();
    void OnTimer();
    void OnEngineEnded(WPARAM number);
    // The editor closes while the engine runs: it waits hidden for the end, removes the
    // temporary file, and then closes.
    void CloseWhenEnded() { closeWhenEnded_ = true; }
    // The lines changed: the marks of the last run no longer say anything.
    void ClearMarks();
    RunMark MarkOf(int index) const;

private:
    void Follow();
    void Land();
    void UpdateMarks();
    void RemoveRunFile();

    CMainFrame& frame_;
    CEngineWatch watch_{kEndedMessage};
    std::uint32_t runNumber_ = 0;
    bool engineRunning_ = false;  // one run at a time: the engine the watch holds
    DWORD engineProcess_ = 0;     // its process id
    std::string runPath_;
    RunScope scope_ = RunScope::Whole;
    std::optional<RunFile> file_;
    std::optional<RunLogFollower> follower_;
    std::vector<RunMark> marks_;
    bool landed_ = true;
    bool closeWhenEnded_ = false;
};

}  // namespace zv
