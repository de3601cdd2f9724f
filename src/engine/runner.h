// One macro run: the log header, the line loop, dispatch to the six handlers, and the
// worker thread's start-run handler around it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/commands.h"
#include "common/filesystem.h"
#include "engine/runlog.h"

namespace zv {

// The first parameter of the start-run thread message.
inline constexpr std::uint32_t kStartRunParam = 0x8001;

class CRkcMacro {
public:
    // Creates the log at logPath, opens the macro file without sharing (held until
    // destruction) and writes the log header.
    CRkcMacro(CommandContext& ctx, IFileSystem& fs, const std::string& macroPath,
              const std::string& logPath, LocalClock clock = CurrentLocalTime);
    virtual ~CRkcMacro();
    CRkcMacro(const CRkcMacro&) = delete;
    CRkcMacro& operator=(const CRkcMacro&) = delete;

    // Runs the lines from the top until the end of the file, the first error or a stop
    // request (looked at between lines).
    void Run();

private:
    void WriteHeader(const std::string& macroPath);
    void Dispatch(const std::string& line);
    void Log(std::string_view message) { log_->WriteLog(message); }

    CommandContext& ctx_;
    std::unique_ptr<CLog> log_;
    std::unique_ptr<IReadFile> file_;
    std::int32_t lineNumber_ = 0;
    bool error_ = false;
};

// The worker thread's start-run handler: ignores a firstParam other than kStartRunParam;
// runs ctx.app.macroPath when it is not empty. True when the status window is to be told
// that the run finished (no stop was requested).
bool RunMacroJob(std::uint32_t firstParam, CommandContext& ctx, IFileSystem& fs,
                 const std::string& logPath, LocalClock clock = CurrentLocalTime);

}  // namespace zv
