#include "common/programstart.h"

#include "common/folders.h"
#include "common/strutil.h"

namespace zv {

LaunchAction EngineRunAction(const std::string& programFolder, const std::string& macroPath) {
    LaunchAction action;
    action.target = Quoted(programFolder + std::string(kEngineExe)) + " /M:" + Quoted(macroPath);
    action.show = kShowMinimize;
    action.failureMessage = StrPrintf(kMsgCannotProcess, action.target.c_str());
    action.returnsKeyboard = true;  // the engine runs minimised; the macro drives that window
    action.watchedMacro = macroPath;
    return action;
}

LaunchAction PlainProgramAction(const std::string& programFolder, std::string_view exeName) {
    LaunchAction action;
    // Quoted, so that a folder with spaces cannot be taken for a shorter program path.
    action.target = Quoted(programFolder + std::string(exeName));
    action.show = kShowDefault;
    action.failureMessage = StrPrintf(kMsgCannotProcess, action.target.c_str());
    return action;
}

}  // namespace zv
