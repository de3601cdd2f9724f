// An in-memory file system for unit tests: files, folders, locked paths, failures. It
// refuses only what the platform's file system refuses, so that the guards in the code
// under test are what a test sees.
#pragma once

#include <map>
#include <set>

#include "common/filesystem.h"

namespace zv::test {

class MemoryFileSystem : public IFileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> dirs;
    // Opening, reading or writing these fails with sharing violation 32 (another program
    // holds them without sharing reading, or reading is denied), but a replace by rename
    // goes through, as it does on Windows when the holder shares deletion.
    std::set<std::string> locked;
    std::set<std::string> readOnly;       // writing or replacing these fails with 5
    std::vector<std::string> created;     // folders created, in order
    std::set<std::string> openExclusive;  // held without any sharing: every access fails

    struct Reader : IReadFile {
        std::string data;
        std::size_t pos = 0;
        std::size_t chunk = 7;               // small chunks exercise the readers' buffering
        MemoryFileSystem* holder = nullptr;  // set while the file is held without sharing
        std::string path;
        ~Reader() override {
            if (holder)
                holder->openExclusive.erase(path);
        }
        std::size_t Read(char* buf, std::size_t size) override {
            const std::size_t n = std::min({size, data.size() - pos, chunk});
            std::copy_n(data.data() + pos, n, buf);
            pos += n;
            return n;
        }
    };
    struct Writer : IWriteFile {
        MemoryFileSystem& fs;
        std::string path;
        Writer(MemoryFileSystem& f, std::string p) : fs(f), path(std::move(p)) {}
        ~Writer() override { fs.openExclusive.erase(path); }
        bool Write(std::string_view data) override {
            if (fs.failWrites)
                return false;
            fs.files[path].append(data);
            return true;
        }
    };
    bool failWrites = false;

    std::unique_ptr<IReadFile> OpenRead(const std::string& path, bool exclusive,
                                        SysError* error) override {
        if (locked.count(path) || openExclusive.count(path)) {
            if (error)
                *error = 32;
            return nullptr;
        }
        auto it = files.find(path);
        if (it == files.end()) {
            if (error)
                *error = 2;
            return nullptr;
        }
        auto r = std::make_unique<Reader>();
        r->data = it->second;
        if (exclusive) {
            openExclusive.insert(path);
            r->holder = this;
            r->path = path;
        }
        return r;
    }
    std::unique_ptr<IWriteFile> CreateWrite(const std::string& path, bool exclusive,
                                            SysError* error) override {
        if (locked.count(path) || readOnly.count(path) || openExclusive.count(path)) {
            if (error)
                *error = readOnly.count(path) ? 5 : 32;
            return nullptr;
        }
        files[path].clear();
        if (exclusive)
            openExclusive.insert(path);
        return std::make_unique<Writer>(*this, path);
    }
    std::unique_ptr<IWriteFile> OpenAppend(const std::string& path, SysError* error) override {
        if (locked.count(path) || readOnly.count(path) || openExclusive.count(path)) {
            if (error)
                *error = 32;
            return nullptr;
        }
        openExclusive.insert(path);
        files[path];  // created when missing
        return std::make_unique<Writer>(*this, path);
    }
    bool ReadAll(const std::string& path, std::string& out) override {
        auto it = files.find(path);
        if (it == files.end() || locked.count(path) || openExclusive.count(path))
            return false;
        out = it->second;
        return true;
    }
    bool ReplaceContent(const std::string& path, std::string_view data) override {
        if (readOnly.count(path) || openExclusive.count(path))
            return false;
        files[path] = std::string(data);
        return true;
    }
    bool Exists(const std::string& path) override { return files.count(path) || dirs.count(path); }
    bool IsDirectory(const std::string& path) override { return dirs.count(path) > 0; }
    bool MakeDirectory(const std::string& path) override {
        created.push_back(path);
        return dirs.insert(path).second;
    }
    bool ListDirectory(const std::string&, std::vector<DirEntry>& entries) override {
        entries.clear();
        return false;
    }
    std::string ErrorText(SysError error) override {
        return error == 2    ? "File not found.\r\n"
               : error == 5  ? "Access is denied.\r\n"
               : error == 32 ? "Sharing violation.\r\n"
                             : "Error.\r\n";
    }
};

}  // namespace zv::test
