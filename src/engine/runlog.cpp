#include "engine/runlog.h"

namespace zv {

CLog::CLog(IFileSystem& fs, const std::string& path, LocalClock clock)
    : file_(fs.CreateWrite(path, /*exclusive=*/true, nullptr)), clock_(std::move(clock)) {}

CLog::~CLog() = default;

void CLog::WriteLog(std::string_view message) {
    if (!file_)
        return;
    if (!file_->Write(FormatLogEntry(clock_(), message)))
        file_.reset();
}

}  // namespace zv
