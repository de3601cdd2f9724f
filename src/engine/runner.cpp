#include "engine/runner.h"

#include "common/cp932.h"
#include "common/macrofile.h"
#include "common/strutil.h"

namespace zv {
namespace {

using Handler = bool (*)(CommandContext&, const std::string&, std::string&);

Handler HandlerOf(CommandKind kind) {
    switch (kind) {
        case CommandKind::Launch:
            return ExecLaunch;
        case CommandKind::Focus:
            return ExecFocus;
        case CommandKind::Wait:
            return ExecWait;
        case CommandKind::Keyin:
            return ExecKeyin;
        case CommandKind::Type:
            return ExecType;
        case CommandKind::Mouse:
            return ExecMouse;
    }
    return nullptr;
}

std::string LineEntry(std::int32_t lineNumber, std::string_view text) {
    std::string entry = StrPrintf("%4.4d行目：", lineNumber);
    entry += text;
    return entry;
}

}  // namespace

CRkcMacro::CRkcMacro(CommandContext& ctx, IFileSystem& fs, const std::string& macroPath,
                     const std::string& logPath, LocalClock clock)
    : ctx_(ctx), log_(std::make_unique<CLog>(fs, logPath, std::move(clock))) {
    file_ = fs.OpenRead(macroPath, /*exclusive=*/true, nullptr);
    WriteHeader(macroPath);
}

void CRkcMacro::WriteHeader(const std::string& macroPath) {
    std::string first = macroPath + " マクロ処理開始";
    if (ctx_.app.settings.mouseMoveReal != 0)
        first += "\n[マウスリアル移動モード]";
    Log(first);
    Log(StrPrintf("OS情報 Ver=%d : MinVer=%d", ctx_.app.osMajor, ctx_.app.osMinor));

    std::optional<std::uint32_t> timeout = ctx_.desktop.ReadForegroundLockTimeoutRegistry();
    if (!timeout)
        timeout = ctx_.desktop.ReadForegroundLockTimeoutSystem();
    if (timeout) {
        const auto value = static_cast<std::int32_t>(*timeout);
        Log(StrPrintf("Info : ForeGroundLockTimeOut=%d mm sec", value));
        if (value >= 1)
            Log("\t↑この値が０でない場合RKマクロのフォーカス切り替えが正常にできない可能性あり");
    } else {
        Log("ForeGroundLockTimeOut "
            "読み込みエラー\n（RKマクロのフォーカス切り替えが正常にできない可能性あり）");
    }
}

CRkcMacro::~CRkcMacro() {
    Log("マクロ処理終了");
    log_.reset();
    file_.reset();
}

void CRkcMacro::Run() {
    if (!file_)
        return;
    lineNumber_ = 1;
    ctx_.desktop.Sleep(AsMs(ctx_.app.settings.keyinWaitMSec));
    LineReader reader(*file_);
    std::string raw;
    while (reader.ReadLine(raw)) {
        if (ctx_.app.IsStopRequested())
            break;
        const std::string line(StripWhite(raw));
        if (ClassifyLine(line) == LineKind::Command)
            Dispatch(line);
        if (error_) {
            Log("エラー発生のため処理を中止");
            break;
        }
        ++lineNumber_;
    }
}

void CRkcMacro::Dispatch(const std::string& line) {
    const std::optional<CommandKind> kind = MatchKeyword(line);
    if (!kind) {
        Log("<ERROR>下記の行はコマンドとして認識出来ない");
        Log(LineEntry(lineNumber_, line));
        error_ = true;
        return;
    }
    std::string result;
    if (HandlerOf(*kind)(ctx_, line, result)) {
        Log(LineEntry(lineNumber_, result));
        return;
    }
    Log("<ERROR>下記の行は処理不能");
    std::string entry = LineEntry(lineNumber_, line);
    if (!result.empty()) {
        entry += "\n\t";
        entry += result;
    }
    Log(entry);
    error_ = true;
}

bool RunMacroJob(std::uint32_t firstParam, CommandContext& ctx, IFileSystem& fs,
                 const std::string& logPath, LocalClock clock) {
    if (firstParam != kStartRunParam)
        return false;
    if (!ctx.app.macroPath.empty()) {
        CRkcMacro macro(ctx, fs, ctx.app.macroPath, logPath, std::move(clock));
        macro.Run();
    }
    return !ctx.app.IsStopRequested();
}

}  // namespace zv
