// Fakes for the launcher's unit tests: a file system with folder listings, a host that
// records message boxes, and a scripted foreground-lock system.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "fake_filesystem.h"
#include "launcher/fglock.h"
#include "launcher/launcher_host.h"

namespace zv::test {

// MemoryFileSystem whose folders can be listed. Entries are listed in the order they
// were added (not sorted), with "." and ".." first as Windows reports them.
class ListingFileSystem : public MemoryFileSystem {
public:
    std::map<std::string, std::vector<DirEntry>> listings;
    std::set<std::string> unlistable;                // ListDirectory fails for these folders
    std::map<std::string, int> opens;                // OpenRead calls per path
    std::map<std::string, int> lists;                // ListDirectory calls per path
    std::function<void(const std::string&)> onOpen;  // runs before each OpenRead

    void AddDir(const std::string& path) {
        dirs.insert(path);
        AddEntry(path, true);
    }
    void AddFile(const std::string& path, const std::string& content) {
        files[path] = content;
        AddEntry(path, false);
    }

    std::unique_ptr<IReadFile> OpenRead(const std::string& path, bool exclusive,
                                        SysError* error) override {
        ++opens[path];
        if (onOpen)
            onOpen(path);
        return MemoryFileSystem::OpenRead(path, exclusive, error);
    }
    bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) override {
        ++lists[path];
        entries.clear();
        if (unlistable.count(path) || !dirs.count(path))
            return false;
        entries.push_back({".", true});
        entries.push_back({"..", true});
        auto it = listings.find(path);
        if (it != listings.end())
            entries.insert(entries.end(), it->second.begin(), it->second.end());
        return true;
    }

private:
    void AddEntry(const std::string& path, bool isDir) {
        const std::size_t slash = FindLastSingleByte(path, '\\');  // not the trail byte of 表
        if (slash == std::string::npos)
            return;
        listings[path.substr(0, slash)].push_back({path.substr(slash + 1), isDir});
    }
};

class RecordingHost : public ILauncherHost {
public:
    ListingFileSystem fs;
    std::string programFolder = "C:\\Program Files\\Zorvane\\";
    std::vector<std::string> messages;

    IFileSystem& FileSystem() override { return fs; }
    std::string ProgramFolder() override { return programFolder; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

class FakeForegroundLock : public IForegroundLockSystem {
public:
    std::optional<std::uint32_t> registry;
    std::optional<std::uint32_t> system;
    bool refuseSet = false;
    std::vector<std::uint32_t> sets;  // values passed to SetSystemValue, in order

    std::optional<std::uint32_t> ReadRegistryValue() override { return registry; }
    std::optional<std::uint32_t> ReadSystemValue() override { return system; }
    bool SetSystemValue(std::uint32_t ms) override {
        sets.push_back(ms);
        if (refuseSet)
            return false;
        system = ms;
        if (registry)
            registry = ms;
        return true;
    }
};

}  // namespace zv::test
