// A run of the macro from the editor: the temporary macro file the engine runs (the
// document's header and the chosen lines; never the user's file), the run log read as the
// engine writes it, the log's line numbers taken back to the list's lines, and what the
// editor says and selects when the run is over. The Win32 shell writes the file, starts
// and watches the engine and draws; this decides.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/filesystem.h"
#include "editor/document.h"

namespace zv {

// "マクロを実行" (F5), "選択行から実行" (Ctrl+F5), "選択行だけ実行" (F8).
enum class RunScope { Whole, FromSelected, SelectedOnly };

inline constexpr const char* kMsgRunLineBreak = "%sに改行が含まれているため、実行できません。";
inline constexpr const char* kMsgRunFileFailed =
    "実行用の一時ファイル「%s」を作成できません。\r\n%s";
inline constexpr const char* kMsgRunAskRefused =
    "エンジンが処理できない行が %d 行あります（赤で表示）。\r\nこのまま実行しますか？";

// The temporary macro of one run.
struct RunFile {
    std::string text;  // CR LF line ends, as the editor writes macro files
    // For line n of the file (from 1) at [n - 1]: the list line it holds, -1 for the
    // header's lines.
    std::vector<int> listIndexOfLine;
    int first = -1;  // the first and the last list line that run
    int last = -1;

    // The list line of a line number of the run log; -1 for none.
    int ListIndexOf(int fileLine) const;
};

// What a scope runs with the list's selection: the whole list, the selected line to the
// end, or the selected line alone. Nothing (nullopt) when there is no line to run; the
// message is set when the document cannot be written as a macro file.
std::optional<RunFile> ComposeRunFile(const MacroFields& fields,
                                      const std::vector<std::string>& lines, RunScope scope,
                                      int selection, std::string* message);

// The question to ask before the run when lines of it are ones the engine would stop on
// (drawn in red in the list), with their count; empty when there are none.
std::string RunRefusalQuestion(const RunFile& file, const std::vector<std::string>& lines);

// The temporary file of a run: unique to the editor process and the run.
std::string RunFilePath(const std::string& folder, std::uint32_t processId,
                        std::uint32_t runNumber);

// The run log's line numbers of the lines that failed; the first failure ends the run.
struct RunFailure {
    int fileLine = 0;
    bool unrecognised = false;  // not a command line for the engine
    std::string reason;         // the engine's reason (the text after the tab)
};

// What the run log has told so far of one run.
struct RunLogState {
    bool started = false;       // the run's start entry (which names its file) was read
    std::vector<int> ranLines;  // file lines logged as done, in log order
    std::optional<RunFailure> failure;
    bool ended = false;  // "マクロ処理終了": the engine's run is over
};

// Reads the run log of the run of macroPath from its bytes, in pieces as they come. The
// log's first entry must be that run's start entry; a log that begins otherwise is
// another run's, and nothing of it is taken.
class RunLogReader {
public:
    explicit RunLogReader(std::string macroPath) : macroPath_(std::move(macroPath)) {}
    // Takes more bytes of the log; a line not ended yet waits for its end.
    void Feed(std::string_view bytes);
    const RunLogState& State() const { return state_; }
    // The log's first entry was read and is another run's.
    bool Foreign() const { return foreign_; }

private:
    void TakeLine(std::string_view line);
    void TakeEntry(std::string_view message);
    void TakeContinuation(std::string_view line);

    std::string macroPath_;
    std::string pending_;  // the start of a line without its end yet
    RunLogState state_;
    bool foreign_ = false;
    bool sawEntry_ = false;
    int pendingError_ = 0;         // 1: "処理不能" before the next line entry, 2: unrecognised
    bool inFailureEntry_ = false;  // continuation lines belong to the failure's reason
};

// How often the editor reads the run log while a run goes, in milliseconds: an entry shows
// within this time of being written, and a read costs one open of a file that has not
// grown or has grown a little.
inline constexpr unsigned kRunFollowMs = 50;

// Follows the run log file of one run: each Poll reads what was added since the last.
// Until the log begins with the run's start entry (the engine may not have created it
// yet, and the file may still be the last run's), it is read from its start again.
class RunLogFollower {
public:
    RunLogFollower(std::string logPath, std::string macroPath);
    // True when the run's state changed.
    bool Poll(IFileSystem& fs);
    const RunLogState& State() const { return reader_.State(); }

private:
    std::string logPath_;
    std::string macroPath_;
    RunLogReader reader_;
    std::uint64_t offset_ = 0;
};

// The list lines a run has marked: ran, or the line it failed on.
enum class RunMark : std::uint8_t { None, Ran, Failed };

std::vector<RunMark> RunMarks(const RunFile& file, const RunLogState& state, int lineCount);

// How a run ended, for the user.
struct RunOutcome {
    enum class Kind { Completed, Failed, Stopped, NoLog };
    Kind kind = Kind::Completed;
    int select = -1;      // the list line to select and show; -1: the selection stays
    std::string status;   // the status bar's text
    std::string message;  // a message box; empty for none
};

// lineCount: the list's lines now. A one-line run that completed selects the next line, so
// that the next F8 steps on.
RunOutcome JudgeRun(const RunFile& file, const RunLogState& state, RunScope scope, int lineCount);

}  // namespace zv
