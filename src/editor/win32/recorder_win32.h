// CMacroRecorder: "操作を記録" on Windows. It hides the editor, shows the recording bar
// (always on top, never activated), and while the bar shows captures facts: what each
// program receives through RkRecHook.dll inside it, every key and mouse button through
// low-level hooks with the window in front at that moment (its caption read without a
// message to it, and whether the hook can enter its program), Pause (which it swallows)
// to stop. The portable recorder (editor/recorder.h) decides everything else: the lines
// at the end, and, while recording, what the bar says the recording cannot capture. The
// hooks are gone and the events dropped before the editor comes back. One recording runs
// at a time across all editor processes (editor/win32/hook/recstate.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/win32/dialog.h"
#include "editor/recorder.h"
#include "editor/win32/hook/recstate.h"
#include "editor/win32/hook/rkrechook.h"

namespace zv {

inline constexpr const char* kMsgRecordHookMissing =
    "操作の記録を開始できません。\r\nRkRecHook.dll を読み込めません。\r\n%s";
inline constexpr const char* kMsgRecordHookFailed =
    "操作の記録を開始できません。\r\nフックを設定できません。\r\n%s";
inline constexpr const char* kMsgRecordingElsewhere =
    "操作の記録を開始できません。\r\n別の RkEditor で操作を記録しています。\r\n"
    "その記録を終了してから、もう一度実行してください。";
inline constexpr const char* kMsgRecordStateFailed =
    "操作の記録を開始できません。\r\n記録の状態を作れません。\r\n%s";

// Whether the recording hook can enter a process: not a 32-bit one, one of a higher
// integrity level, or a store app.
RecReach ReachOfProcess(DWORD pid);

class CMacroRecorder : public CDialog {
public:
    using Finished = std::function<void(Recording)>;

    CMacroRecorder();
    // A recording still running is ended without its lines.
    ~CMacroRecorder() override;

    // Loads the hook beside the program, installs the hooks, hides editor and shows the
    // bar. False, with *message set, when the recording could not start.
    bool Start(HWND editor, const RecorderOptions& options, Finished finished,
               std::string* message);
    bool IsRecording() const { return recording_; }
    // Ends at once (the editor is closing): what was captured so far is the recording.
    void StopNow();

private:
    BOOL OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override {}
    void OnCancel() override {}

    void OnHookMessage(WPARAM wp, LPARAM lp);
    void OnMouse(WPARAM msg, const MSLLHOOKSTRUCT& info);
    void OnKey(WPARAM msg, const KBDLLHOOKSTRUCT& info);
    // The stop key or button: the events already on their way still come in, then the
    // recording ends.
    void RequestStop(DWORD time);
    void Finish();
    void Uninstall();
    void UpdateStatus();
    // What the recording so far could not capture, on the bar.
    void UpdateNotice();
    void ShowNotice(bool show);
    void Place();
    void Add(RecEvent event);
    // A Front event when another window has come in front since the last look.
    void NoteFront();
    // A top-level window as it is now: caption, client origin, whether it is the
    // editor's, whether the hook can enter its program.
    RecWindow WindowInfo(HWND root);
    RecReach ReachOf(DWORD pid);

    static LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp);
    static CMacroRecorder* active_;

    HWND editor_ = nullptr;
    HMODULE module_ = nullptr;
    CRecArm arm_;
    HHOOK messageHook_ = nullptr;
    HHOOK callHook_ = nullptr;
    HHOOK mouseHook_ = nullptr;
    HHOOK keyboardHook_ = nullptr;
    RecorderOptions options_;
    Finished finished_;
    std::vector<RecEvent> events_;
    std::size_t eventsNoticed_ = 0;  // how many events the bar's notice has seen
    std::string notice_;
    int barHeight_ = 0;  // the bar with its notice line, and without
    int shortHeight_ = 0;
    HWND front_ = nullptr;  // the window in front at the last look
    std::unordered_map<DWORD, RecReach> reach_;
    // The first half of a character beyond UTF-16's first plane, and its field.
    wchar_t highSurrogate_ = 0;
    std::uint64_t highField_ = 0;
    DWORD started_ = 0;
    bool recording_ = false;
    bool stopping_ = false;
};

}  // namespace zv
