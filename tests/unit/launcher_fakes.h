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
// were added (not sorted), with "." and ".." first as Windows reports them. Files carry
// the stamp a listing shows: write and change times from a clock the test moves, cut to
// the file system's time resolution, and the size.
class ListingFileSystem : public MemoryFileSystem {
public:
    std::map<std::string, std::vector<DirEntry>> listings;
    std::set<std::string> unlistable;                // ListDirectory fails for these folders
    std::map<std::string, int> opens;                // OpenRead calls per path
    std::map<std::string, int> lists;                // ListDirectory calls per path
    std::function<void(const std::string&)> onOpen;  // runs before each OpenRead
    FileTime clock = 134000000000000000;             // now, as a file time (in 2025)
    FileTime resolution = 1;                         // file times are cut to this
    bool changeTimes = true;                         // false: listings show no change time

    void AddDir(const std::string& path) {
        dirs.insert(path);
        AddEntry(path, true);
    }
    void AddFile(const std::string& path, const std::string& content) {
        files[path] = content;
        DirEntry& e = AddEntry(path, false);
        e.lastWrite = e.changed = Now();
        e.size = content.size();
    }

    // Writes a file as an editor would: a new file goes to the end of its folder's
    // listing, an existing one keeps its place and gets new times and size.
    void WriteFile(const std::string& path, const std::string& content) {
        DirEntry* e = Find(path);
        if (e == nullptr) {
            AddFile(path, content);
            return;
        }
        files[path] = content;
        e->lastWrite = e->changed = Now();
        e->size = content.size();
    }
    // New times, same content.
    void Touch(const std::string& path) {
        if (DirEntry* e = Find(path))
            e->lastWrite = e->changed = Now();
    }
    // Only the change time moves, as when permissions or attributes change or when a
    // copy keeps the write time of its source.
    void ChangeMetadata(const std::string& path) {
        if (DirEntry* e = Find(path))
            e->changed = Now();
    }
    // New content with the old write time, as a copy that keeps its source's times: only
    // the change time and the size tell.
    void CopyKeepingWriteTime(const std::string& path, const std::string& content) {
        DirEntry* e = Find(path);
        if (e == nullptr)
            return;
        files[path] = content;
        e->changed = Now();
        e->size = content.size();
    }
    // Permissions taken away or given back: the file cannot or can be opened again.
    void SetReadable(const std::string& path, bool readable) {
        if (readable)
            locked.erase(path);
        else
            locked.insert(path);
        ChangeMetadata(path);
    }
    // Removes a file, or a folder with everything in it.
    void Remove(const std::string& path) {
        const std::string inside = path + "\\";
        for (auto it = files.begin(); it != files.end();)
            it = it->first == path || it->first.rfind(inside, 0) == 0 ? files.erase(it) : ++it;
        for (auto it = dirs.begin(); it != dirs.end();)
            it = *it == path || it->rfind(inside, 0) == 0 ? dirs.erase(it) : ++it;
        for (auto it = listings.begin(); it != listings.end();)
            it = it->first == path || it->first.rfind(inside, 0) == 0 ? listings.erase(it) : ++it;
        locked.erase(path);
        const auto [folder, name] = Split(path);
        auto it = listings.find(folder);
        if (it != listings.end())
            std::erase_if(it->second, [&](const DirEntry& e) { return e.name == name; });
    }
    // Renames a file within or across folders: its write time stays, its change time
    // moves, and it is listed at the end of its new folder.
    void Rename(const std::string& from, const std::string& to) {
        const DirEntry* e = Find(from);
        if (e == nullptr || e->isDirectory)
            return;
        DirEntry moved = *e;
        const std::string content = files[from];
        const bool wasLocked = locked.count(from) > 0;
        Remove(from);
        files[to] = content;
        if (wasLocked)
            locked.insert(to);
        moved.name = Split(to).second;
        moved.changed = Now();
        AddEntry(to, false) = moved;
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
        if (!changeTimes) {
            for (DirEntry& e : entries)
                e.changed = 0;
        }
        return true;
    }

private:
    FileTime Now() const { return clock - clock % resolution; }
    static std::pair<std::string, std::string> Split(const std::string& path) {
        const std::size_t slash = FindLastSingleByte(path, '\\');  // not the trail byte of 表
        if (slash == std::string::npos)
            return {"", path};
        return {path.substr(0, slash), path.substr(slash + 1)};
    }
    DirEntry* Find(const std::string& path) {
        const auto [folder, name] = Split(path);
        auto it = listings.find(folder);
        if (it == listings.end())
            return nullptr;
        for (DirEntry& e : it->second) {
            if (e.name == name)
                return &e;
        }
        return nullptr;
    }
    DirEntry& AddEntry(const std::string& path, bool isDir) {
        const auto [folder, name] = Split(path);
        DirEntry& e = listings[folder].emplace_back();
        e.name = name;
        e.isDirectory = isDir;
        return e;
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
