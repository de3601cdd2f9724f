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

struct DirEntry {
    std::string name;
    bool isDirectory = false;
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
    // where the platform reports them. False when the folder cannot be listed.
    virtual bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) = 0;
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

// Reads at most maxBytes of the first line of a file (CR LF handled as by LineReader),
// without reading further than needed. Returns false when nothing could be read.
bool ReadFirstLinePrefix(IReadFile& file, std::size_t maxBytes, std::string& line);

}  // namespace zv
