#include "engine/commands.h"

namespace zv {
bool ExecLaunch(CommandContext& ctx, const std::string& line, std::string& result) {
    IEngineDesktop& desktop = ctx.desktop;
    const EngineSettings& settings = ctx.app.settings;
    const LaunchParse p = ParseLaunch(line);
    if (!p.ok)
        return false;

    const char* modeWord = p.mode == LaunchMode::WaitStartup ? "起動待ち"
                           : p.mode == LaunchMode::WaitEnd   ? "終了待ち"
                                                             : "待たない";
    result = "LAUNCH: >" + p.commandLine + "< 完了=" + modeWord;

    std::unique_ptr<IStartedProcess> process = desktop.StartProcess(p.commandLine);
    if (!process) {
        result += "\n\t上記プログラムが起動できない";
        return false;
    }
    bool ok = true;
    if (p.mode == LaunchMode::WaitStartup) {
        if (!process->WaitInputIdle(AsMs(settings.launchWaitMSec))) {
            result += "\n\t上記プログラムの完了を確認できない";
            ok = false;
        }
        for (int poll = 0; poll < 10; ++poll) {
            if (process->WaitInputIdle(AsMs(settings.keyinWaitMSec))) {
                result += " -OK";
                break;
            }
            result += "*";
        }
    } else if (p.mode == LaunchMode::WaitEnd) {
        for (;;) {
            const std::optional<std::uint32_t> code = process->ExitCode();
            if (ctx.app.IsStopRequested() || !code || *code != kStillActive)
                break;
            desktop.Sleep(AsMs(settings.pgEndLoopSleepMSec));
        }
    }
    return ok;  // the process's handles close with it
}

}  // namespace zv
