// The suite's folders, its configuration file and its help pages. The composition
// rules are portable; the platform functions at the end are defined by each platform.
#pragma once

#include <string>
#include <string_view>

#include "common/filesystem.h"

namespace zv {

inline constexpr std::string_view kConfigFileName = "Zorvane.ini";
// Sections of the configuration file: one per program.
inline constexpr std::string_view kEngineSection = "RkEngineSettings";
inline constexpr std::string_view kLauncherSection = "ZorvaneSettings";
inline constexpr std::string_view kEditorSection = "RkManagerSettings";
inline constexpr std::string_view kRunLogFileName = "Zorvane_Log.txt";
inline constexpr std::string_view kEngineExe = "RkEngine.exe";
// The engine's exit code when it ended by itself; any other code tells the launcher that
// the engine was cut off (Task Manager ends a process with 1, a crash with its exception).
inline constexpr unsigned kEngineExitNormal = 0;
inline constexpr std::string_view kLauncherExe = "Zorvane.exe";
inline constexpr std::string_view kEditorExe = "RkEditor.exe";
inline constexpr std::string_view kLocalHelpFolder = "HELP\\";
// The help pages, in the folder "help" beside the programs.
inline constexpr std::string_view kHelpMacroEditor = "MacroEditor.html";
inline constexpr std::string_view kHelpMacroHint = "MacroHint.html";
inline constexpr std::string_view kHelpMacroSetting = "MacroSetting.html";
inline constexpr std::string_view kHelpProperty = "Property.html";
inline constexpr std::string_view kDocumentOpenFailed = "\n上記のドキュメントが開けません。";

// The per-user data folder from the roaming application-data folder (empty when the
// shell could not tell it): base + "\Ostrand" + "\Zorvane" + "\". With create, each
// of the two folders is created when missing; failures are ignored.
std::string ComposeAppDataFolder(std::string_view roamingBase, bool create, IFileSystem& fs);

// The folder part of a program's full path, its last backslash included.
std::string FolderOfPath(std::string_view fullPath);

// The help site's base address: the "help" folder beside the programs as a file URL.
// programFolder is UTF-8, as FileUrl takes it.
std::string HelpBaseAddress(std::string_view utf8ProgramFolder);

// "file:///" + path as a browser reads it back: every backslash becomes a slash, and
// every byte but letters, digits, "-", ".", "_", "~", "/" and ":" is written as "%XX",
// so that a space, "#", "%" or "?" in a folder name stays part of the path. The path is
// UTF-8, the encoding browsers give the escaped bytes of a file address.
std::string FileUrl(std::string_view utf8Path);

// True for an address a browser opens (file:, http:, https:, any letter case).
bool IsBrowserAddress(std::string_view address);

// The command line that opens address in the program whose registered command is
// command (a template such as "\"C:\B\browser.exe\" -url \"%1\""): "%0", "%1", "%L"
// and "%l" stand for the address, "%%" for one "%"; "%*", "%2" to "%9" and any other
// code stand for nothing. A command with no place for the address gets it at the end,
// after a space, in double quotes. Works on CP932 and UTF-8 alike ("%" is never part of
// a character of either).
std::string BrowserCommandLine(std::string_view command, std::string_view address);

// The address OpenHelpPage opens: base + page + anchor, nothing between them.
std::string ComposeHelpAddress(std::string_view base, std::string_view page,
                               std::string_view anchor);

// The message shown when the shell cannot open an address.
std::string DocumentOpenFailedMessage(std::string_view address);

// ---- platform functions ----

// Folder of the running program, ending in a backslash.
std::string GetProgramFolder();
// The same in UTF-8, for addresses (FileUrl): no character of the path is lost.
std::string GetProgramFolderUtf8();
// Per-user data folder of the suite, ending in a backslash (see ComposeAppDataFolder).
std::string GetAppDataFolder(bool create);
// Opens an address: a browser address (IsBrowserAddress) in the program registered for
// web addresses, started with the whole address, anchor included (the shell's "open" of
// a file address may drop the "#" part on its way to the browser); when there is no such
// program, or for any other address, with the shell's "open" verb. Reports a failure in
// a message box; returns whether the address was handed on.
bool OpenDocument(const std::string& address);
// OpenDocument on base + page + anchor. The local help folder is accepted and unused.
bool OpenHelpPage(const std::string& base, const std::string& localHelpFolder,
                  const std::string& page, const std::string& anchor);
// OpenHelpPage on a page of the help beside the programs.
bool OpenSuiteHelp(std::string_view page, std::string_view anchor = {});

}  // namespace zv
