// Standard-library file system for the native build (unit tests and benchmarks); file times
// come from the host's stat.
// Paths are used as bytes; share modes do not exist here, so `exclusive` is ignored.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#include "common/filesystem.h"

namespace zv {
namespace {

// Seconds from 1601-01-01 (file times) to 1970-01-01 (the host's times).
constexpr FileTime kUnixEpochSeconds = 11644473600;

FileTime FileTimeOf(const timespec& t) {
    return (t.tv_sec + kUnixEpochSeconds) * kFileTimeTicksPerSecond + t.tv_nsec / 100;
}

class StdReadFile : public IReadFile {
public:
    explicit StdReadFile(std::FILE* f) : f_(f) {}
    ~StdReadFile() override { std::fclose(f_); }
    std::size_t Read(char* buf, std::size_t size) override { return std::fread(buf, 1, size, f_); }

private:
    std::FILE* f_;
};

class StdWriteFile : public IWriteFile {
public:
    explicit StdWriteFile(std::FILE* f) : f_(f) {}
    ~StdWriteFile() override { std::fclose(f_); }
    bool Write(std::string_view data) override {
        const bool ok = std::fwrite(data.data(), 1, data.size(), f_) == data.size();
        return std::fflush(f_) == 0 && ok;
    }

private:
    std::FILE* f_;
};

class StdFileSystem : public IFileSystem {
public:
    std::unique_ptr<IReadFile> OpenRead(const std::string& path, bool, SysError* error) override {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr) {
            if (error)
                *error = static_cast<SysError>(errno);
            return nullptr;
        }
        return std::make_unique<StdReadFile>(f);
    }
    std::unique_ptr<IWriteFile> CreateWrite(const std::string& path, bool,
                                            SysError* error) override {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            if (error)
                *error = static_cast<SysError>(errno);
            return nullptr;
        }
        return std::make_unique<StdWriteFile>(f);
    }
    std::unique_ptr<IWriteFile> OpenAppend(const std::string& path, SysError* error) override {
        std::FILE* f = std::fopen(path.c_str(), "ab");
        if (f == nullptr) {
            if (error)
                *error = static_cast<SysError>(errno);
            return nullptr;
        }
        return std::make_unique<StdWriteFile>(f);
    }
    bool ReadAll(const std::string& path, std::string& out) override {
        out.clear();
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f == nullptr)
            return false;
        char buf[8192];
        std::size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, got);
        const bool ok = std::ferror(f) == 0;
        std::fclose(f);
        return ok;
    }
    bool ReplaceContent(const std::string& path, std::string_view data) override {
        const std::string temp = path + ".tmp~";
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        if (f == nullptr)
            return false;
        bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
        ok = (std::fclose(f) == 0) && ok;
        if (ok)
            ok = std::rename(temp.c_str(), path.c_str()) == 0;
        if (!ok)
            std::remove(temp.c_str());
        return ok;
    }
    bool Exists(const std::string& path) override {
        std::error_code ec;
        return std::filesystem::exists(path, ec);
    }
    bool IsDirectory(const std::string& path) override {
        std::error_code ec;
        return std::filesystem::is_directory(path, ec);
    }
    bool MakeDirectory(const std::string& path) override {
        std::error_code ec;
        return std::filesystem::create_directory(path, ec);
    }
    bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) override {
        entries.clear();
        std::error_code ec;
        std::filesystem::directory_iterator it(path, ec);
        if (ec)
            return false;
        for (const auto& e : it) {
            std::error_code ec2;
            DirEntry& entry = entries.emplace_back();
            entry.name = e.path().filename().string();
            entry.isDirectory = e.is_directory(ec2);
            entry.isLink = e.is_symlink(ec2);
            // The host's stat gives the change time (ctime) the standard library does not.
            struct stat st {};
            if (::stat(e.path().c_str(), &st) == 0) {
                entry.lastWrite = FileTimeOf(st.st_mtim);
                entry.changed = FileTimeOf(st.st_ctim);
                entry.size = static_cast<std::uint64_t>(st.st_size);
            }
        }
        return true;
    }
    std::string ErrorText(SysError error) override {
        return std::strerror(static_cast<int>(error));
    }
};

}  // namespace

IFileSystem& PlatformFileSystem() {
    static StdFileSystem fs;
    return fs;
}

}  // namespace zv
