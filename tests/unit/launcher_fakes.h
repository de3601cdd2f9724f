// Fakes for the launcher's unit tests: a file system with folder listings, a host that
// records message boxes, and a scripted foreground-lock system.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "fake_filesystem.h"
#include "launcher/fglock.h"
#include "launcher/launcher_host.h"

namespace zv::test {

// The macro folder of the catalogue tests.
inline const std::string kTop = "C:\\m";

// A macro file's text: the header, the target line when given, a command.
inline std::string MacroText(const std::string& title, const std::string& target = "") {
    std::string text = "; <RKMACRO>" + title + "\r\n";
    if (!target.empty())
        text += "; <TARGET>" + target + "\r\n";
    return text + "\r\nWAIT:100\r\n";
}

// The sum of a per-path count (opens, lists).
inline int Total(const std::map<std::string, int>& perPath) {
    int n = 0;
    for (const auto& [path, count] : perPath)
        n += count;
    return n;
}

// MemoryFileSystem whose folders can be listed. Entries are listed in the order they
// were added (not sorted), with "." and ".." first as Windows reports them. Files carry
// the stamp a listing shows: write and change times from a clock the test moves, cut to
// the file system's time resolution, the size and a file id. With `watchable`, folders can
// be watched: a watch follows its folder (not its path) as Windows' does and sees every
// change made through the methods below to the entries of that folder, and the folder's
// removal; changes inside a linked folder happen elsewhere and no watch here sees them.
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
    bool watchable = false;                          // WatchFolder gives watches
    std::set<std::string> linked;                    // folders that are links
    std::set<std::string> unwatchable;               // WatchFolder refuses these (no handles left)
    std::map<std::string, std::uint64_t> dirIds;     // folder path -> its file id
    std::vector<std::uint64_t> changes;              // ids of the folders changed, in order

    void AddDir(const std::string& path) {
        Note(path);
        dirs.insert(path);
        dirIds[path] = AddEntry(path, true).fileId;
    }
    // A folder that links to another place; what happens inside it no watch sees.
    void AddLink(const std::string& path) {
        AddDir(path);
        linked.insert(path);
        Find(path)->isLink = true;
    }
    void AddFile(const std::string& path, const std::string& content) {
        Note(path);
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
        Note(path);
        files[path] = content;
        e->lastWrite = e->changed = Now();
        e->size = content.size();
    }
    // New times, same content.
    void Touch(const std::string& path) {
        Note(path);
        if (DirEntry* e = Find(path))
            e->lastWrite = e->changed = Now();
    }
    // Only the change time moves, as when permissions or attributes change or when a
    // copy keeps the write time of its source.
    void ChangeMetadata(const std::string& path) {
        Note(path);
        if (DirEntry* e = Find(path))
            e->changed = Now();
    }
    // New content with the old write time, as a copy that keeps its source's times: only
    // the change time and the size tell.
    void CopyKeepingWriteTime(const std::string& path, const std::string& content) {
        DirEntry* e = Find(path);
        if (e == nullptr)
            return;
        Note(path);
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
        Note(path);
        const std::string inside = path + "\\";
        for (auto it = dirIds.begin(); it != dirIds.end();) {
            if (it->first == path || it->first.rfind(inside, 0) == 0) {
                changes.push_back(it->second);  // a watch on a removed folder ends
                it = dirIds.erase(it);
            } else {
                ++it;
            }
        }
        for (auto it = files.begin(); it != files.end();)
            it = it->first == path || it->first.rfind(inside, 0) == 0 ? files.erase(it) : ++it;
        for (auto it = dirs.begin(); it != dirs.end();)
            it = *it == path || it->rfind(inside, 0) == 0 ? dirs.erase(it) : ++it;
        for (auto it = listings.begin(); it != listings.end();)
            it = it->first == path || it->first.rfind(inside, 0) == 0 ? listings.erase(it) : ++it;
        locked.erase(path);
        std::erase_if(linked,
                      [&](const std::string& l) { return l == path || l.rfind(inside, 0) == 0; });
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
        Note(to);
        moved.name = Split(to).second;
        moved.changed = Now();
        AddEntry(to, false) = moved;
    }

    // Renames or moves a folder with everything in it; the folders keep their ids.
    bool RenameFolder(const std::string& from, const std::string& to) {
        const std::string inside = from + "\\";
        DirEntry* e = Find(from);
        if (e == nullptr || !e->isDirectory || dirs.count(to) || files.count(to) ||
            to.rfind(inside, 0) == 0 || !dirs.count(Split(to).first)) {
            return false;
        }
        Note(from);
        Note(to);
        DirEntry moved = *e;
        const auto [folder, name] = Split(from);
        std::erase_if(listings[folder], [&](const DirEntry& d) { return d.name == name; });
        auto rebase = [&](const std::string& p) {
            return p == from ? to : p.rfind(inside, 0) == 0 ? to + p.substr(from.size()) : p;
        };
        auto moveKeys = [&](auto& map) {
            std::remove_reference_t<decltype(map)> out;
            for (auto& item : map)
                out.insert({rebase(item.first), std::move(item.second)});
            map = std::move(out);
        };
        auto moveSet = [&](std::set<std::string>& set) {
            std::set<std::string> out;
            for (const std::string& p : set)
                out.insert(rebase(p));
            set = std::move(out);
        };
        moveKeys(files);
        moveKeys(listings);
        moveKeys(dirIds);
        moveSet(dirs);
        moveSet(locked);
        moveSet(linked);
        moved.name = Split(to).second;
        moved.changed = Now();
        listings[Split(to).first].push_back(moved);
        return true;
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
    std::unique_ptr<IFolderWatch> WatchFolder(const std::string& path, bool trackPath) override {
        if (!watchable || !dirIds.count(path) || unwatchable.count(path))
            return nullptr;
        return std::make_unique<Watch>(*this, dirIds[path], trackPath ? path : "");
    }

private:
    class Watch : public IFolderWatch {
    public:
        Watch(ListingFileSystem& fs, std::uint64_t id, std::string trackedPath)
            : fs_(fs), id_(id), path_(std::move(trackedPath)), from_(fs.changes.size()) {}
        bool Changed() override {
            for (std::size_t i = from_; i < fs_.changes.size(); ++i) {
                if (fs_.changes[i] == id_)
                    return true;
            }
            return !StillThere();
        }
        bool Rearm() override {
            from_ = fs_.changes.size();
            return StillThere();
        }

    private:
        bool StillThere() const {
            if (path_.empty())
                return true;
            auto it = fs_.dirIds.find(path_);
            return it != fs_.dirIds.end() && it->second == id_;
        }
        ListingFileSystem& fs_;
        std::uint64_t id_;
        std::string path_;
        std::size_t from_;
    };
    static bool Within(const std::string& path, const std::string& folder) {
        return path == folder || path.rfind(folder + "\\", 0) == 0;
    }
    // A change of the entry path, seen by the watch of the folder it is in.
    void Note(const std::string& path) {
        for (const std::string& l : linked) {
            if (path != l && Within(path, l))
                return;
        }
        auto it = dirIds.find(Split(path).first);
        if (it != dirIds.end())
            changes.push_back(it->second);
    }
    FileTime Now() const { return clock - clock % resolution; }
    std::uint64_t lastId_ = 0;
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
        e.fileId = ++lastId_;
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
