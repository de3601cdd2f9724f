// Starting a program without waiting for it, as all three programs do.
#pragma once

#include <string>

namespace zv {

// The message when a command line cannot be started (line feed before carriage return).
inline constexpr const char* kMsgCannotProcess = "%s\n\rが処理できません。";

// Creates a process from a command line whose first token is the program (no
// application name), in a new process group, with the caller's environment and current
// folder, no inherited handles and the given show value. Both handles are closed at
// once. True when the process was created.
bool RunProgram(const std::string& commandLine, int show);

}  // namespace zv
