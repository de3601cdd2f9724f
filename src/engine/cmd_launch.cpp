#include "engine/commands.h"
#include "common/cp932.h"

namespace zv {
namespace {

// True when text ends with suffix, the suffix starts on a character boundary and at
// least one character stands before it.
bool EndsWithKeyword(std::string_view text, std::string_view suffix) {
    if (text.size() <= suffix.size() || !text.ends_with(suffix))
        return false;
    const std::size_t start = text.size() - suffix.size();
    std::size_t pos = 0;
    while (pos < start)
        pos += CharLength(text, pos);
    return pos == start;
}

}  // namespace

LaunchParse ParseLaunch(std::string_view line) {
    LaunchParse p;
    p.commandLine = GetParamText(line);
    const std::string upper = ToUpperAscii(p.commandLine);
    std::size_t cut = 0;
    if (EndsWithKeyword(upper, "WAIT")) {
        p.mode = LaunchMode::WaitStartup;
        cut = 4;
    } else if (EndsWithKeyword(upper, "END")) {
        p.mode = LaunchMode::WaitEnd;
        cut = 3;
    }
    if (cut != 0) {
        p.commandLine.erase(p.commandLine.size() - cut);
        TrimTrailingSeparators(p.commandLine);
    }
    if (!StripQuotes(p.commandLine)) {
        p.commandLine.clear();
        return p;
    }
    p.ok = true;
    return p;
}

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
