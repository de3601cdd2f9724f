// The file system as the portable code sees it. Paths are CP932 byte strings; the
// platform layer converts them at its boundary. Two implementations exist: the Win32
// one (share modes, wide-character calls) and a standard-library one for the native
// build, which has no share modes and ignores the exclusive flag.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

// A platform error code: GetLastError() on Windows, errno elsewhere. 0 means none.
using SysError = std::uint32_t;

class IReadFile {
public:
    virtual ~IReadFile() = default;
    // Reads up to size bytes into buf; 0 at end of file or on a read error.
    virtual std::size_t Read(char* buf, std::size_t size) = 0;
};

class IWriteFile {
public:
    virtual ~IWriteFile() = default;
    // Writes all of data and hands it to the system at once (no user-space buffer is
    // kept), so it survives the end of the process. False when not all was written.
    virtual bool Write(std::string_view data) = 0;
};

// A file time: 100-nanosecond ticks since 1601-01-01 UTC, as Windows counts them.
using FileTime = std::int64_t;

inline constexpr FileTime kFileTimeTicksPerSecond = 10000000;

struct DirEntry {
    std::string name;
    bool isDirectory = false;
    // What the listing tells of the entry without opening it; 0 where it does not say.
    FileTime lastWrite = 0;
    FileTime changed = 0;  // last change of the content or of the metadata (attributes,
                           // permissions, name)
    std::uint64_t size = 0;
    // The file system's number for the entry, which stays with it through renames; 0
    // where the listing does not give one.
    std::uint64_t fileId = 0;
    // A link (junction or symbolic link) to another place.
    bool isLink = false;
};

// A watch over the entries of one folder (FindFirstChangeNotification): it tells whether
// a name, attributes, size, write time or permissions of a file or folder in it may have
// changed since it was made or last rearmed. It does not see into subfolders.
class IFolderWatch {
public:
    virtual ~IFolderWatch() = default;
    // True once a change was seen (WaitForSingleObject without waiting).
    virtual bool Changed() = 0;
    // Starts watching for the next change (FindNextChangeNotification). False when the
    // folder can no longer be watched; the watch must then be made again.
    virtual bool Rearm() = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Opens a file for reading. exclusive: no other opener may read or write it while
    // it is held. On failure returns null and sets *error.
    virtual std::unique_ptr<IReadFile> OpenRead(const std::string& path, bool exclusive,
                                                SysError* error) = 0;
    // Creates (or truncates) a file for writing, held without sharing when exclusive.
    virtual std::unique_ptr<IWriteFile> CreateWrite(const std::string& path, bool exclusive,
                                                    SysError* error) = 0;
    // Opens a file for writing at its end, creating it when missing, held without sharing
    // while open. On failure returns null and sets *error.
    virtual std::unique_ptr<IWriteFile> OpenAppend(const std::string& path, SysError* error) = 0;
    // Reads a whole file that is open to shared reading. False when it cannot be read.
    virtual bool ReadAll(const std::string& path, std::string& out) = 0;
    // Replaces the content of path with data so that a crash leaves either the old or
    // the new content: writes a temporary file beside it and renames it over path.
    virtual bool ReplaceContent(const std::string& path, std::string_view data) = 0;
    // True when path names an existing file or folder.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    // Creates one folder; false when it could not be created (or exists already).
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Lists the entries of a folder in the platform's own order, "." and ".." included
    // where the platform reports them, with the times and sizes the listing carries.
    // False when the folder cannot be listed.
    virtual bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) = 0;
    // Watches the entries of the folder path; null where changes cannot be watched
    // reliably (no such folder, a network or removable drive, a platform without
    // watches). trackPath: Changed() also tells when the folder at path is no longer the
    // watched one (renamed or removed, another put in its place), which the watch itself
    // does not see.
    virtual std::unique_ptr<IFolderWatch> WatchFolder(const std::string& /*path*/,
                                                      bool /*trackPath*/) {
        return nullptr;
    }
    // The system's text for an error code (may end in a line break, as the system's does).
    virtual std::string ErrorText(SysError error) = 0;
};

// The file system of the platform the program was built for.
IFileSystem& PlatformFileSystem();

// Reads a file line by line: a line ends at LF and a CR directly before that LF is not
// part of it; the last line needs no line end. Lines may be of any length.
class LineReader {
public:
    explicit LineReader(IReadFile& file) : file_(file) {}
    // False at end of file (nothing left to read).
    bool ReadLine(std::string& line);

private:
    bool Fill();
    IReadFile& file_;
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
};

// Reads the head of a file through a small buffer: line prefixes and bounded skips. The
// first read takes firstRead bytes (the header lines of a usual macro file lie in its
// first 256), so a short head costs one small read; later reads take up to 4 KiB.
class HeadReader {
public:
    explicit HeadReader(IReadFile& file, std::size_t firstRead = 256)
        : file_(file), firstRead_(firstRead < sizeof buf_ ? firstRead : sizeof buf_) {}

    // Reads the current line up to its LF or until max bytes are taken, whichever comes
    // first (LineEnded tells which). Storing stops at a zero byte, as a C string would;
    // a CR right before the LF is dropped, also when the LF follows the max bytes. False
    // at end of file before any byte.
    bool ReadLinePrefix(std::size_t max, std::string& line);
    // True when the last ReadLinePrefix consumed its line's LF.
    bool LineEnded() const { return lineEnded_; }
    // Consumes the rest of the current line through its LF. False when the end of the
    // file or more than maxBytes came first.
    bool SkipRestOfLine(std::size_t maxBytes);

private:
    bool Fill();

    IReadFile& file_;
    char buf_[4096];
    std::size_t firstRead_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool lineEnded_ = false;
};

// Reads at most maxBytes of the first line of a file (CR LF handled as by LineReader,
// storing up to a zero byte), without reading further than needed. Returns false when
// nothing could be read.
bool ReadFirstLinePrefix(IReadFile& file, std::size_t maxBytes, std::string& line);

}  // namespace zv
