// Whether the engine would stop on a macro line before acting on it: a line that is not a
// command, or a command whose parameters its parser refuses. What only the run can tell
// (a window not found, a program that does not start) is not judged here.
#pragma once

#include <string_view>

namespace zv {

// True when the engine runs or skips the line (as read from the file, white space
// around it included); false when it would stop the run on it.
bool EngineAcceptsLine(std::string_view line);

}  // namespace zv
