// The LAUNCH dialog's model: a program's command line and what the run waits for, the
// entries of the "Plugin" folder, the program chooser and the trial start.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

inline constexpr int kLaunchProgramMaxChars = 260;  // the combo's edit limit

// Wait modes in the order of the radio buttons.
enum LaunchWait : int {
    kLaunchStartOnly = 0,
    kLaunchWaitStartup = 1,  // option "WAIT"
    kLaunchWaitEnd = 2,      // option "END"
};

struct LaunchWaitMode {
    std::string_view option;  // written after a comma; empty for none
    std::string_view word;    // how the list shows the mode
};

inline constexpr std::array<LaunchWaitMode, 3> kLaunchWaitModes{{
    {"", "待たない"},
    {"WAIT", "起動待ち"},
    {"END", "終了待ち"},
}};

struct LaunchFields {
    std::string program;  // the command line, as entered
    int mode = kLaunchStartOnly;

    bool operator==(const LaunchFields&) const = default;
};

struct LaunchLineParse {
    bool ok = false;
    LaunchFields fields;
};

// Reads a LAUNCH line: only its end decides the mode; the program loses its enclosing
// quotes. An unquoted program that ends in END or WAIT loses those letters.
LaunchLineParse ParseLaunchLine(std::string_view line);

// "LAUNCH:" + the program in double quotes, then "," + the option for modes 1 and 2.
std::string ComposeLaunchLine(const LaunchFields& fields);

// ">%s< 完了=%s" with the program and the mode's word, or the whole line invalid.
LineDescription DescribeLaunchLine(std::string_view line);

// The fields the dialog opens with: what parse read, or empty and mode 0 when it failed.
LaunchFields OpenLaunchDialog(std::string_view entryLine);

enum class LaunchField { Program };

// OK: the program must not be empty.
DialogOk<LaunchField> ConfirmLaunchDialog(const LaunchFields& fields);

// ---- the "Plugin" folder ----

// The pattern the dialog lists: program folder (ending in a backslash) + "Plugin\*.exe".
std::string PluginSearchPattern(std::string_view programFolder);

// The combo's entries for the file names found: "\"Plugin\\name\"" each, sorted as the
// combo sorts (ASCII letters without regard to case).
std::vector<std::string> PluginEntries(const std::vector<std::string>& fileNames);

// ---- the program chooser ("(&S)") ----

inline constexpr const char* kProgramChooserTitle = "ﾗﾝﾁするﾌﾟﾛｸﾞﾗﾑを選択";
inline constexpr const char* kProgramChooserFilter =
    "ﾌﾟﾛｸﾞﾗﾑ File (*.EXE)|*.EXE|All File (*.*)|*.*||";
inline constexpr const char* kProgramChooserOkText = "ﾌﾟﾛｸﾞﾗﾑ選択";

// The program field for a chosen file: the full path, in double quotes when it holds a
// blank.
std::string ChosenProgramText(std::string_view fullPath);

// ---- "試しに起動" ----

// Either a message (and the program field gets the focus), or a command line to start
// with the show value, and the message to show when it cannot be started.
struct LaunchTrial {
    std::string message;  // not empty: show it, focus the program field, start nothing
    std::string commandLine;
    int show = 0;
    std::string failureMessage;
};

LaunchTrial TrialStart(std::string_view program);

}  // namespace zv
