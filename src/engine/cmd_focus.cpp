#include "engine/commands.h"
#include "common/cp932.h"
#include "common/strutil.h"

namespace zv {

FocusParse ParseFocus(std::string_view line, const RunParameters& params,
                      IClipboardTextSource& clipboard) {
    FocusParse p;
    FocusCaption written = ParseFocusCaption(line);
    if (!written.ok)
        return p;
    p.caption = std::move(written.caption);
    const bool writtenEmpty = p.caption.empty();
    SubstituteParam(p.caption, params, clipboard);
    // A caption that only substitution made empty (an empty program argument, say) is not
    // searched for: it would pick an arbitrary untitled window.
    if (p.caption.empty() && !writtenEmpty)
        return p;
    p.partial = CutPartialMark(p.caption);
    p.ok = true;
    return p;
}

bool ExecFocus(CommandContext& ctx, const std::string& line, std::string& result) {
    IEngineDesktop& desktop = ctx.desktop;
    const EngineSettings& settings = ctx.app.settings;
    const FocusParse p = ParseFocus(line, ctx.app.params, desktop);
    if (!p.ok)
        return false;

    result = "FOCUS : >" + p.caption + "< [" + (p.partial ? "部分一致" : "完全一致") + "]";
    const std::int64_t attempts = static_cast<std::int64_t>(settings.focusCheckRetry) + 1;
    WindowHandle activated = 0;
    std::int64_t attempt = 1;
    for (; attempt <= attempts; ++attempt) {
        if (ctx.app.IsStopRequested())
            break;
        const WindowHandle window = FindWindowByCaption(desktop, p.caption, p.partial);
        if (window != 0 && desktop.ActivateWindow(window)) {
            activated = window;
            break;
        }
        desktop.Sleep(AsMs(settings.focusCheckMSec));
    }
    if (activated == 0) {
        result += "\n\t上記キャプションのウィンドウが見つからない";
        return false;
    }
    result += StrPrintf("  Check=%lld", static_cast<long long>(attempt));

    const ProcessId pid = desktop.ProcessIdOfWindow(activated);
    if (pid != 0) {
        for (int poll = 0; poll < 10; ++poll) {
            if (desktop.WaitProcessIdle(pid, AsMs(settings.keyinWaitMSec))) {
                result += " -OK";
                break;
            }
            result += "*";
        }
    }
    return true;
}

}  // namespace zv
