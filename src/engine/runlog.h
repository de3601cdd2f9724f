// The run log "Zorvane_Log.txt": one time-stamped entry per call, CR LF line ends,
// each entry handed to the system before the next line of the macro runs.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/filesystem.h"
#include "common/logentry.h"

namespace zv {

class CLog {
public:
    // Creates the file, replacing one of that name, held without sharing. A file that
    // cannot be created leaves the log closed: every WriteLog then does nothing.
    CLog(IFileSystem& fs, const std::string& path, LocalClock clock = CurrentLocalTime);
    virtual ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // Writes one entry. After a failed write (a full disk, say) the log closes itself,
    // so the run goes on without logging rather than writing partial entries.
    void WriteLog(std::string_view message);

private:
    std::unique_ptr<IWriteFile> file_;
    LocalClock clock_;
};

}  // namespace zv
