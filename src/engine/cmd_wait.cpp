#include "engine/commands.h"
#include "common/strutil.h"

namespace zv {

bool ExecWait(CommandContext& ctx, const std::string& line, std::string& result) {
    const WaitParams p = ParseWait(line);
    if (!p.ok) {
        result = p.error;
        return false;
    }
    result = p.loops == 0 ? StrPrintf("%s %d mm sec", "WAIT  :", p.waitMs)
                          : StrPrintf("%s %d mm sec [%d max loop]", "WAIT  :", p.waitMs, p.loops);
    IEngineDesktop& desktop = ctx.desktop;
    desktop.Sleep(AsMs(p.waitMs));
    if (p.loops == 0)
        return true;

    const WindowHandle foreground = desktop.GetForegroundWindow();
    const ProcessId pid = desktop.ProcessIdOfWindow(foreground);
    if (pid != 0) {
        for (std::int32_t polls = p.loops; polls > 0; --polls) {
            if (desktop.WaitProcessIdle(pid, 0)) {
                result += " -OK";
                break;
            }
            result += "*";
            desktop.Sleep(AsMs(p.waitMs));
        }
    }
    result += "[wh=" + HandleHex(foreground) + "]";
    return true;
}

}  // namespace zv
