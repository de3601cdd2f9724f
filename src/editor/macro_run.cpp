#include "editor/macro_run.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/strutil.h"
#include "common/syntax/linecheck.h"

namespace zv {
namespace {

constexpr std::string_view kStartSuffix = " マクロ処理開始";
constexpr std::string_view kEndEntry = "マクロ処理終了";
constexpr std::string_view kErrorFailed = "<ERROR>下記の行は処理不能";
constexpr std::string_view kErrorUnrecognised = "<ERROR>下記の行はコマンドとして認識出来ない";
constexpr std::string_view kLineMark = "行目：";
constexpr std::string_view kUnrecognisedReason = "コマンドとして認識出来ない";
constexpr std::string_view kNoReason = "処理不能";
// One read of the log at most: a run that wrote more is read on in the next pieces.
constexpr std::size_t kReadPiece = 1 << 20;

// "[yy/mm/dd HH:MM:SS] " at the start of a physical line: the length of that stamp, 0 when
// the line is the continuation of an entry. A part that could not be formatted is empty.
std::size_t StampLength(std::string_view line) {
    if (line.empty() || line[0] != '[')
        return 0;
    const std::size_t close = line.find("] ");
    if (close == std::string_view::npos || close < 2 || close > 18)
        return 0;
    for (std::size_t i = 1; i < close; ++i) {
        const char c = line[i];
        if (!(c == ' ' || c == '/' || c == ':' || (c >= '0' && c <= '9')))
            return 0;
    }
    return close + 2;
}

// The number of "%4.4d行目：%s"; nullopt for another entry.
std::optional<int> LineNumberOf(std::string_view message) {
    std::size_t digits = 0;
    while (digits < message.size() && digits < 9 && message[digits] >= '0' &&
           message[digits] <= '9')
        ++digits;
    if (digits == 0 || message.substr(digits, kLineMark.size()) != kLineMark)
        return std::nullopt;
    int n = 0;
    for (std::size_t i = 0; i < digits; ++i)
        n = n * 10 + (message[i] - '0');
    return n;
}

// The last file line of the run that the engine runs as a command (neither empty nor a
// comment once stripped); 0 when there is none.
int LastCommandLine(const RunFile& file) {
    for (int n = static_cast<int>(file.listIndexOfLine.size()); n >= 1; --n) {
        if (file.listIndexOfLine[static_cast<std::size_t>(n - 1)] >= 0)
            return n;
    }
    return 0;
}

}  // namespace

int RunFile::ListIndexOf(int fileLine) const {
    if (fileLine < 1 || fileLine > static_cast<int>(listIndexOfLine.size()))
        return -1;
    return listIndexOfLine[static_cast<std::size_t>(fileLine - 1)];
}

std::optional<RunFile> ComposeRunFile(const MacroFields& fields,
                                      const std::vector<std::string>& lines, RunScope scope,
                                      int selection, std::string* message) {
    const int count = static_cast<int>(lines.size());
    RunFile file;
    if (scope == RunScope::Whole) {
        file.first = 0;
        file.last = count - 1;
    } else {
        if (selection < 0 || selection >= count)
            return std::nullopt;
        file.first = selection;
        file.last = scope == RunScope::SelectedOnly ? selection : count - 1;
    }
    if (count == 0)
        return std::nullopt;
    // The header as the editor writes it, without the description: comment lines the
    // engine skips and the user does not need in a trial.
    MacroFields header = fields;
    header.description.clear();
    const std::vector<std::string> chosen(lines.begin() + file.first,
                                          lines.begin() + file.last + 1);
    std::optional<std::string> text = ComposeMacroText(header, chosen);
    if (!text) {
        if (message != nullptr)
            *message = StrPrintf(kMsgRunLineBreak, LineBreakField(header, chosen).c_str());
        return std::nullopt;
    }
    file.text = std::move(*text);
    // Every line of the file ends in CR LF and no line holds an LF of its own (the text
    // would not have been composed): the header's lines come first, then one file line
    // per chosen list line.
    const int total = static_cast<int>(std::count(file.text.begin(), file.text.end(), '\n'));
    const int headerLines = total - static_cast<int>(chosen.size());
    file.listIndexOfLine.assign(static_cast<std::size_t>(headerLines), -1);
    for (int i = file.first; i <= file.last; ++i) {
        const std::string_view stripped = StripWhite(lines[static_cast<std::size_t>(i)]);
        // Lines the engine skips hold no command: no log entry can name them.
        const bool runs = !stripped.empty() && stripped[0] != ';';
        file.listIndexOfLine.push_back(runs ? i : -1);
    }
    return file;
}

std::string RunRefusalQuestion(const RunFile& file, const std::vector<std::string>& lines) {
    int refused = 0;
    for (int i = std::max(file.first, 0); i <= file.last && i < static_cast<int>(lines.size());
         ++i) {
        if (!EngineAcceptsLine(lines[static_cast<std::size_t>(i)]))
            ++refused;
    }
    return refused == 0 ? std::string() : StrPrintf(kMsgRunAskRefused, refused);
}

std::string RunFilePath(const std::string& folder, std::uint32_t processId,
                        std::uint32_t runNumber) {
    return folder + StrPrintf("RkEditorRun_%u_%u.txt", static_cast<unsigned>(processId),
                              static_cast<unsigned>(runNumber));
}

void RunLogReader::Feed(std::string_view bytes) {
    pending_.append(bytes);
    std::size_t start = 0;
    for (std::size_t lf; (lf = pending_.find('\n', start)) != std::string::npos; start = lf + 1) {
        std::string_view line(pending_.data() + start, lf - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        TakeLine(line);
    }
    pending_.erase(0, start);
}

void RunLogReader::TakeLine(std::string_view line) {
    if (foreign_)
        return;
    const std::size_t stamp = StampLength(line);
    if (stamp > 0)
        TakeEntry(line.substr(stamp));
    else if (sawEntry_)
        TakeContinuation(line);
}

void RunLogReader::TakeEntry(std::string_view message) {
    inFailureEntry_ = false;
    if (!sawEntry_) {
        sawEntry_ = true;
        // The macro path as the engine was given it, then " マクロ処理開始".
        if (message.size() == macroPath_.size() + kStartSuffix.size() &&
            message.substr(0, macroPath_.size()) == macroPath_ &&
            message.substr(macroPath_.size()) == kStartSuffix) {
            state_.started = true;
        } else {
            foreign_ = true;
        }
        return;
    }
    if (state_.ended)
        return;  // what the log holds after the run's end is not the run's
    if (message == kEndEntry) {
        state_.ended = true;
        return;
    }
    if (state_.failure)
        return;  // the first failure ends the run
    if (message == kErrorFailed) {
        pendingError_ = 1;
        return;
    }
    if (message == kErrorUnrecognised) {
        pendingError_ = 2;
        return;
    }
    const std::optional<int> number = LineNumberOf(message);
    if (!number)
        return;  // the header's entries, "エラー発生のため処理を中止"
    if (pendingError_ != 0) {
        RunFailure failure;
        failure.fileLine = *number;
        failure.unrecognised = pendingError_ == 2;
        if (failure.unrecognised)
            failure.reason = kUnrecognisedReason;
        state_.failure = std::move(failure);
        inFailureEntry_ = !state_.failure->unrecognised;
        pendingError_ = 0;
        return;
    }
    state_.ranLines.push_back(*number);
}

void RunLogReader::TakeContinuation(std::string_view line) {
    if (!inFailureEntry_)
        return;
    // Each line of the reason stands on a line of its own, after a tab; a handler's text
    // of several lines (what it tried, then why it failed) brings its own tabs.
    if (!line.empty() && line[0] == '\t')
        line.remove_prefix(1);
    std::string& reason = state_.failure->reason;
    if (!reason.empty())
        reason += "\r\n";
    reason += line;
}

RunLogFollower::RunLogFollower(std::string logPath, std::string macroPath)
    : logPath_(std::move(logPath)), macroPath_(macroPath), reader_(std::move(macroPath)) {}

bool RunLogFollower::Poll(IFileSystem& fs) {
    const RunLogState before = reader_.State();
    if (!before.started) {
        // Until the run's start entry is there, the file is read anew from its start.
        reader_ = RunLogReader(macroPath_);
        offset_ = 0;
    }
    for (;;) {
        std::string piece;
        if (!fs.ReadFrom(logPath_, offset_, kReadPiece, piece) || piece.empty())
            break;
        offset_ += piece.size();
        reader_.Feed(piece);
        if (reader_.Foreign() || piece.size() < kReadPiece)
            break;
    }
    const RunLogState& now = reader_.State();
    return now.started != before.started || now.ranLines.size() != before.ranLines.size() ||
           now.failure.has_value() != before.failure.has_value() || now.ended != before.ended;
}

std::vector<RunMark> RunMarks(const RunFile& file, const RunLogState& state, int lineCount) {
    std::vector<RunMark> marks(static_cast<std::size_t>(std::max(0, lineCount)), RunMark::None);
    auto mark = [&](int fileLine, RunMark m) {
        const int index = file.ListIndexOf(fileLine);
        if (index >= 0 && index < lineCount)
            marks[static_cast<std::size_t>(index)] = m;
    };
    for (const int line : state.ranLines)
        mark(line, RunMark::Ran);
    if (state.failure)
        mark(state.failure->fileLine, RunMark::Failed);
    return marks;
}

RunOutcome JudgeRun(const RunFile& file, const RunLogState& state, RunScope scope, int lineCount) {
    RunOutcome outcome;
    if (!state.started) {
        outcome.kind = RunOutcome::Kind::NoLog;
        outcome.status = "実行ログを読めなかったため、実行の結果は分かりません。";
        outcome.message = outcome.status;
        return outcome;
    }
    if (state.failure) {
        const int index = file.ListIndexOf(state.failure->fileLine);
        outcome.kind = RunOutcome::Kind::Failed;
        outcome.select = index < lineCount ? index : -1;
        const std::string& reason =
            state.failure->reason.empty() ? std::string(kNoReason) : state.failure->reason;
        // The status bar holds the reason's last line: why the command failed.
        const std::size_t lastLine = reason.rfind('\n');
        const std::string why =
            lastLine == std::string::npos ? reason : reason.substr(lastLine + 1);
        outcome.status = StrPrintf("%d行目でエラー：%s", index + 1, why.c_str());
        outcome.message =
            StrPrintf("%d行目でマクロの実行が止まりました。\r\n\r\n%s", index + 1, reason.c_str());
        return outcome;
    }
    const int last = LastCommandLine(file);
    const bool allRan = last == 0 || std::find(state.ranLines.begin(), state.ranLines.end(),
                                               last) != state.ranLines.end();
    if (state.ended && allRan) {
        outcome.kind = RunOutcome::Kind::Completed;
        outcome.status = "マクロの実行が終了しました。";
        if (scope == RunScope::SelectedOnly) {
            outcome.status = StrPrintf("%d行目を実行しました。", file.first + 1);
            if (file.first + 1 < lineCount)
                outcome.select = file.first + 1;
        }
        return outcome;
    }
    outcome.kind = RunOutcome::Kind::Stopped;
    const int lastRan = state.ranLines.empty() ? -1 : file.ListIndexOf(state.ranLines.back());
    outcome.status = lastRan < 0
                         ? std::string("マクロの実行を中止しました。実行された行はありません。")
                         : StrPrintf("マクロの実行を%d行目の後で中止しました。", lastRan + 1);
    return outcome;
}

}  // namespace zv
