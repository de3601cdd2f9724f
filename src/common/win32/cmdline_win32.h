// The process's command line after the program's own name, as WinMain receives it.
#pragma once

#include <string>

namespace zv {

// GetCommandLineW without the program name (quoted or not) and the blanks after it,
// converted to CP932.
std::string CommandLineAfterProgramName();

}  // namespace zv
