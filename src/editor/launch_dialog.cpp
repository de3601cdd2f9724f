#include "editor/launch_dialog.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/runprogram.h"
#include "common/strutil.h"
#include "common/syntax/launch.h"
#include "common/winconst.h"

namespace zv {
namespace {

constexpr const char* kMsgNoProgram = "起動プログラムが設定されていません。";

int ModeOf(LaunchMode mode) {
    switch (mode) {
        case LaunchMode::WaitStartup:
            return kLaunchWaitStartup;
        case LaunchMode::WaitEnd:
            return kLaunchWaitEnd;
        case LaunchMode::NoWait:
            break;
    }
    return kLaunchStartOnly;
}

bool IsKnownMode(int mode) {
    return mode >= kLaunchStartOnly && mode <= kLaunchWaitEnd;
}

}  // namespace

LaunchLineParse ParseLaunchLine(std::string_view line) {
    LaunchLineParse p;
    if (line.empty())
        return p;
    const LaunchParse l = ParseLaunch(WithParamColon(line));
    p.ok = l.ok;
    p.fields = {l.commandLine, ModeOf(l.mode)};
    return p;
}

std::string ComposeLaunchLine(const LaunchFields& fields) {
    std::string line = "LAUNCH:\"" + fields.program + "\"";
    if (IsKnownMode(fields.mode) && fields.mode != kLaunchStartOnly) {
        line += ',';
        line += kLaunchWaitModes[static_cast<std::size_t>(fields.mode)].option;
    }
    return line;
}

LineDescription DescribeLaunchLine(std::string_view line) {
    const LaunchLineParse p = ParseLaunchLine(line);
    if (!p.ok)
        return {std::string(line), false};
    return {">" + p.fields.program + "< 完了=" +
                std::string(kLaunchWaitModes[static_cast<std::size_t>(p.fields.mode)].word),
            true};
}

LaunchFields OpenLaunchDialog(std::string_view entryLine) {
    const LaunchLineParse p = ParseLaunchLine(entryLine);
    return p.ok ? p.fields : LaunchFields{};
}

DialogOk<LaunchField> ConfirmLaunchDialog(const LaunchFields& fields) {
    using Ok = DialogOk<LaunchField>;
    if (fields.program.empty())
        return Ok::Refuse(kMsgNoProgram, LaunchField::Program);
    return Ok::CloseWith(ComposeLaunchLine(fields));
}

std::string PluginSearchPattern(std::string_view programFolder) {
    return std::string(programFolder) + "Plugin\\*.exe";
}

std::vector<std::string> PluginEntries(const std::vector<std::string>& fileNames) {
    std::vector<std::string> entries;
    entries.reserve(fileNames.size());
    for (const std::string& name : fileNames)
        entries.push_back("\"Plugin\\" + name + "\"");
    // Bytes compare unsigned, so double-byte names sort after the ASCII ones.
    std::stable_sort(
        entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
            const std::string ua = ToUpperAscii(a);
            const std::string ub = ToUpperAscii(b);
            return std::lexicographical_compare(
                ua.begin(), ua.end(), ub.begin(), ub.end(), [](char x, char y) {
                    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                });
        });
    return entries;
}

std::string ChosenProgramText(std::string_view fullPath) {
    std::string text;
    const bool blank = fullPath.find(' ') != std::string_view::npos;
    if (blank)
        text += '"';
    text += fullPath;
    if (blank)
        text += '"';
    return text;
}

LaunchTrial TrialStart(std::string_view program) {
    LaunchTrial t;
    if (program.empty()) {
        t.message = kMsgNoProgram;
        return t;
    }
    t.commandLine = program;
    t.show = kShowDefault;
    t.failureMessage = StrPrintf(kMsgCannotProcess, t.commandLine.c_str());
    return t;
}

}  // namespace zv
