// CMacroRecorder: "操作を記録" on Windows. It hides the editor, shows the recording bar
// (always on top, never activated), and while the bar shows captures what the user does:
// keys and characters through RkRecHook.dll inside each program, mouse buttons and the
// wheel through a low-level hook, Pause (which it swallows) to stop. At the end the
// portable recorder (editor/recorder.h) turns the events into lines; the hooks are gone
// and the events dropped before the editor comes back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/win32/dialog.h"
#include "editor/recorder.h"
#include "editor/win32/hook/rkrechook.h"

namespace zv {

inline constexpr const char* kMsgRecordHookMissing =
    "操作の記録を開始できません。\r\nRkRecHook.dll を読み込めません。\r\n%s";
inline constexpr const char* kMsgRecordHookFailed =
    "操作の記録を開始できません。\r\nフックを設定できません。\r\n%s";

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
    // The stop key or button: the events already on their way still come in, then the
    // recording ends.
    void RequestStop(DWORD time);
    void Finish();
    void Uninstall();
    void UpdateStatus();
    void Place();
    void Add(RecEvent event);
    RecWindow WindowInfo(HWND root) const;

    static LRESULT CALLBACK MouseProc(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp);
    static CMacroRecorder* active_;

    HWND editor_ = nullptr;
    HMODULE module_ = nullptr;
    RecHookDisarmFn disarm_ = nullptr;
    HHOOK messageHook_ = nullptr;
    HHOOK callHook_ = nullptr;
    HHOOK mouseHook_ = nullptr;
    HHOOK keyboardHook_ = nullptr;
    RecorderOptions options_;
    Finished finished_;
    std::vector<RecEvent> events_;
    DWORD started_ = 0;
    bool recording_ = false;
    bool stopping_ = false;
};

}  // namespace zv
