#include "common/syntax/launch.h"

#include "common/cp932.h"
#include "common/macrofile.h"
#include "common/syntax/params.h"

namespace zv {

LaunchParse ParseLaunch(std::string_view line) {
    LaunchParse p;
    p.commandLine = GetParamText(line);
    const std::string upper = ToUpperAscii(p.commandLine);
    std::size_t cut = 0;
    if (EndsWithWord(upper, "WAIT")) {
        p.mode = LaunchMode::WaitStartup;
        cut = 4;
    } else if (EndsWithWord(upper, "END")) {
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

}  // namespace zv
