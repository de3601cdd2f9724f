#include "engine/commands.h"
#include "common/strutil.h"

namespace zv {

WaitParams ParseWait(std::string_view line) {
    WaitParams p;
    const std::string param = GetParamText(line);
    if (param.empty()) {
        p.error = "ウェイトの時間指定が無い";
        return p;
    }
    const std::vector<std::string_view> pieces = SplitCommaPieces(param);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view piece = pieces[i];
        if (piece.empty()) {
            p.error = StrPrintf("第%dパラメタが空白", number);
            return p;
        }
        if (number >= 3) {
            p.error = "[Wait時間,繰り返し回数]意外に余分なパラメタ設定がある";
            return p;
        }
        if (!IsAllDigits(piece)) {
            p.error = StrPrintf("第%dパラメタが正の数値でない", number);
            return p;
        }
        (number == 1 ? p.waitMs : p.loops) = ParseLeadingInt32(piece);
    }
    p.ok = true;
    return p;
}

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
