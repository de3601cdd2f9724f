// How the suite's programs start one another: the command line, the show value and the
// message when the start fails. The launcher and the editor start the engine on a macro
// through EngineRunAction, so that both start it the same way.
#pragma once

#include <string>
#include <string_view>

#include "common/runprogram.h"
#include "common/winconst.h"

namespace zv {

// A process to start or a document to open through the shell's "open" verb.
struct LaunchAction {
    enum class Kind { RunProgram, ShellOpen };
    Kind kind = Kind::RunProgram;
    std::string target;  // command line, or the file the shell opens
    int show = kShowDefault;
    std::string failureMessage;
    // Chosen from the hotkey menu: the window the user was in gets the keyboard back
    // afterwards. Only a macro run does; the editor and a document opened by the shell
    // come up in front of that window.
    bool returnsKeyboard = false;
    // The macro an engine runs: the starter keeps the process and watches how it ends.
    // Empty for every other start.
    std::string watchedMacro;
};

// The engine on a macro: "<folder>RkEngine.exe" in double quotes, " /M:" and the quoted
// macro path, minimised, in a new process group (RunProgram), watched until it ends.
LaunchAction EngineRunAction(const std::string& programFolder, const std::string& macroPath);

// A program of the suite without arguments, quoted, shown as it chooses.
LaunchAction PlainProgramAction(const std::string& programFolder, std::string_view exeName);

}  // namespace zv
