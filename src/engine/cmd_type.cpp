#include "engine/commands.h"

#include "common/strutil.h"

namespace zv {
namespace {

// The earlier clipboard held more than one paste saves (ClipboardSaveLimits).
constexpr const char* kMsgClipboardFormatsLost =
    "\n\t元のクリップボードのうち %d 個の形式は保存しきれないため元に戻らない";

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
    {
        CClipboardTextSaver saver(desktop, settings.openClipboardRetry);
        if (saver.PlaceText(p.text)) {
            ctx.held.LegacyKeyDown(kVkControl);
            ctx.held.LegacyKeyDown(kVkV);
            desktop.Sleep(AsMs(settings.keyinWaitMSec));
            ctx.held.LegacyKeyUp(kVkV);
            ctx.held.LegacyKeyUp(kVkControl);
        } else {
            result += "\n\tクリップボードが使用できない";
            ok = false;
        }
        result += CClipboardTextSaver::ClipboardDiagnostics;
        if (const int lost = saver.LostFormats(); lost > 0)
            result += StrPrintf(kMsgClipboardFormatsLost, lost);
    }
    return ok;
}

}  // namespace zv
