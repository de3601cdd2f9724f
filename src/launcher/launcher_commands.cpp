#include "launcher/launcher_commands.h"

#include "common/folders.h"
#include "common/strutil.h"

namespace zv {

LaunchAction MacroCommandAction(const std::string& programFolder, const std::string& macroPath,
                                bool ctrl, bool shift) {
    LaunchAction action;
    if (ctrl) {
        action.target = Quoted(programFolder + std::string(kEditorExe)) + " " + Quoted(macroPath);
        action.show = kShowDefault;
        action.failureMessage = StrPrintf(kMsgCannotProcess, action.target.c_str());
    } else if (shift) {
        action.kind = LaunchAction::Kind::ShellOpen;
        action.target = Quoted(macroPath);
        action.show = kShowNormal;
        action.failureMessage = StrPrintf(kMsgCannotOpen, action.target.c_str());
    } else {
        action.target =
            Quoted(programFolder + std::string(kEngineExe)) + " /M:" + Quoted(macroPath);
        action.show = kShowMinimize;
        action.failureMessage = StrPrintf(kMsgCannotProcess, action.target.c_str());
        action.returnsKeyboard = true;  // the engine runs minimised; the macro drives that window
        action.watchedMacro = macroPath;
    }
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

std::string RunLogPath(const std::string& appDataFolder) {
    return appDataFolder + std::string(kRunLogFileName);
}

std::string NotepadCommandLine(const std::string& logPath) {
    return std::string(kNotepad) + " " + Quoted(logPath);
}

std::string LogOpenFailedMessage() {
    const std::string engine(kEngineExe);
    return StrPrintf(kMsgLogOpenFailed, engine.c_str());
}

std::string ReadmeAddress(const std::string& utf8ProgramFolder) {
    return FileUrl(utf8ProgramFolder + std::string(kReadmeFile));
}

std::string UpdateCommandLine(const std::string& programFolder) {
    return Quoted(programFolder + std::string(kUpdateProgram));
}

std::vector<std::string> AboutProgramNames() {
    return {std::string(kLauncherExe), std::string(kEditorExe), std::string(kEngineExe)};
}

std::string ComposeVersionBlock(const std::vector<ProgramVersion>& programs) {
    std::string text = "【プログラムバージョン詳細】\r\n";
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += programs[i].fileName;
        text += "　";  // full-width space
        text +=
            programs[i].productVersion ? "ver-" + *programs[i].productVersion : std::string("--");
    }
    return text;
}

}  // namespace zv
