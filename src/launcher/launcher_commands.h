// What the launcher starts or opens for each command, and the texts it shows when that
// fails. The Win32 layer only carries these out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/runprogram.h"
#include "common/winconst.h"

namespace zv {

inline constexpr const char* kMsgCannotOpen = "%s\n\rを開くことができません。";
inline constexpr const char* kMsgLogOpenFailed =
    "ログファイルが開けません。\r\nインストールパスの「%s.log」ファイルを直接開いて下さい。";
inline constexpr const char* kMsgUpdateStartFailed = "'%s'\r\nプログラムの起動に失敗しました。";
inline constexpr const char* kMsgUpdateConfirm =
    "自動更新プログラムを起動します。\r\nZorvane は終了します。よろしいですか？";
inline constexpr std::string_view kUpdateProgram = "OstrandUpdate.exe";
inline constexpr std::string_view kReadmeFile = "Readme.html";
inline constexpr std::string_view kNotepad = "notepad.exe";

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
    // The macro an engine runs: the launcher keeps the process and watches how it ends
    // (HandleEngineEnd). Empty for every other start.
    std::string watchedMacro;
};

// A chosen macro: the engine runs it; with Ctrl (Shift or not) the editor opens it;
// with Shift alone the shell opens it with the program of its extension.
LaunchAction MacroCommandAction(const std::string& programFolder, const std::string& macroPath,
                                bool ctrl, bool shift);

// The editor or the engine without arguments (the engine then shows its settings).
LaunchAction PlainProgramAction(const std::string& programFolder, std::string_view exeName);

// The run log and the Notepad command line that shows it when the shell cannot.
std::string RunLogPath(const std::string& appDataFolder);
std::string NotepadCommandLine(const std::string& logPath);
std::string LogOpenFailedMessage();

// The local read-me as a file address; programFolder in UTF-8 (FileUrl).
std::string ReadmeAddress(const std::string& utf8ProgramFolder);

// The maker's update program, quoted, and the message when it cannot be started.
std::string UpdateCommandLine(const std::string& programFolder);

// One line of the About box's version block: a program and its product version, if the
// file has version information.
struct ProgramVersion {
    std::string fileName;
    std::optional<std::string> productVersion;
};

// The programs the About box lists, in its order.
std::vector<std::string> AboutProgramNames();

// "【プログラムバージョン詳細】" and one line per program ("name　ver-x" or "name　--").
std::string ComposeVersionBlock(const std::vector<ProgramVersion>& programs);

}  // namespace zv
