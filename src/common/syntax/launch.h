// LAUNCH parameters: a program's command line, quoted or not, optionally followed by
// "WAIT" (wait until it is ready for input) or "END" (wait until it ends).
#pragma once

#include <string>
#include <string_view>

namespace zv {

enum class LaunchMode { NoWait, WaitStartup, WaitEnd };

struct LaunchParse {
    bool ok = false;  // false: empty, or an opening quote without its closing one
    std::string commandLine;
    LaunchMode mode = LaunchMode::NoWait;
};

// Only the end of the parameter text decides the mode, in any letter case, with or
// without a comma before it; an unquoted program ending in those letters loses them.
LaunchParse ParseLaunch(std::string_view line);

}  // namespace zv
