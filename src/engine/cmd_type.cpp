#include "engine/commands.h"

#include "common/strutil.h"

namespace zv {
namespace {

// The earlier clipboard held more than one paste saves (ClipboardSaveLimits), or formats
// that nothing can copy.
constexpr const char* kMsgClipboardFormatsLost =
    "\n\t元のクリップボードのうち %d 個の形式は保存しきれないため元に戻らない";
// The restore found the clipboard busy for every attempt.
constexpr const char* kMsgRestoreFailed =
    "\n\tクリップボードが使用できないため元のクリップボードの %d 個の形式が元に戻らず、"
    "上記文字列がクリップボードに残っている";
constexpr const char* kMsgRestoreFailedWasEmpty =
    "\n\tクリップボードが使用できないため上記文字列がクリップボードに残っている";
// No request for the text came from the target before the clipboard was put back.
constexpr const char* kMsgTextNotTaken = "\n\tターゲットが上記文字列を受け取ったか確認できない";

}  // namespace

TypeParse ParseType(std::string_view line, const RunParameters& params,
                    IClipboardTextSource& clipboard) {
    TypeParse p;
    TypeText written = ParseTypeText(line);
    if (!written.ok)
        return p;
    p.text = std::move(written.text);
    SubstituteParam(p.text, params, clipboard);
    p.ok = true;
    return p;
}

bool ExecType(CommandContext& ctx, const std::string& line, std::string& result) {
    IEngineDesktop& desktop = ctx.desktop;
    const EngineSettings& settings = ctx.app.settings;
    const TypeParse p = ParseType(line, ctx.app.params, desktop);
    if (!p.ok)
        return false;

    const WindowHandle focus = desktop.GetForegroundFocusWindow();
    const WindowHandle foreground = desktop.GetForegroundWindow();
    result.reserve(p.text.size() + 48);
    result = "TYPE  : [Fgwh=" + HandleHex(foreground) + "][wh=" + HandleHex(focus) + "]>";
    result += p.text;
    result += "<";
    if (focus == 0) {
        result += "\n\t上記文字列を送るフィールドが見つからない";
        return false;
    }
    const ProcessId pid = desktop.ProcessIdOfWindow(foreground);
    if (pid != 0 && !desktop.WaitProcessIdle(pid, AsMs(settings.typeWaitMSec))) {
        result += "\n\tターゲットが入力待ちにならない";
        return false;
    }
    if (p.text.empty())
        return true;

    bool ok = true;
    CClipboardTextSaver saver(desktop, settings.openClipboardRetry);
    if (saver.PlaceText(p.text)) {
        ctx.held.LegacyKeyDown(kVkControl);
        ctx.held.LegacyKeyDown(kVkV);
        desktop.Sleep(AsMs(settings.keyinWaitMSec));
        ctx.held.LegacyKeyUp(kVkV);
        ctx.held.LegacyKeyUp(kVkControl);
        result += CClipboardTextSaver::ClipboardDiagnostics;
        // A target busy beyond the key pause pastes later: the user's clipboard goes back
        // only once it has taken the text, or when it has not asked within TypeWaitMSec.
        if (!saver.WaitTextTaken(pid, AsMs(settings.typeWaitMSec)))
            result += kMsgTextNotTaken;
    } else {
        result += "\n\tクリップボードが使用できない";
        result += CClipboardTextSaver::ClipboardDiagnostics;
        ok = false;
    }
    // The log entry is written after this, so that it can name what did not come back.
    if (!saver.Restore()) {
        const int lost = saver.LostFormats();
        result +=
            lost > 0 ? StrPrintf(kMsgRestoreFailed, lost) : std::string(kMsgRestoreFailedWasEmpty);
        result += saver.RestoreDiagnostics();
    } else if (const int lost = saver.LostFormats(); lost > 0) {
        result += StrPrintf(kMsgClipboardFormatsLost, lost);
    }
    return ok;
}

}  // namespace zv
