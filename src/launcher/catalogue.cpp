#include "launcher/catalogue.h"

#include <algorithm>
#include <utility>

#include "common/cp932.h"
#include "common/macrofile.h"

namespace zv {
namespace {

// Joins folder and name when the result fits the platform's path buffer.
bool JoinPath(const std::string& folder, const std::string& name, std::string& path) {
    if (folder.size() + 1 + name.size() >= kMaxPathBytes)
        return false;
    path.assign(folder).append("\\").append(name);
    return true;
}

// A folder can be searched when its pattern "folder\*.*" fits the path buffer.
bool CanSearch(const std::string& folder) {
    return folder.size() + 4 < kMaxPathBytes;
}

// A listed stamp can stand for the file's content once it is older than the settle time:
// any later edit then gives the file a newer stamp. A listing without times never can.
bool Settled(const DirEntry& entry, FileTime now) {
    if (entry.lastWrite == 0)
        return false;
    return std::max(entry.lastWrite, entry.changed) <= now - MacroHeaderCache::kSettleTime;
}

// Drops the items the scan did not meet and clears the mark of the others.
template <class Map>
void KeepOnlyMet(Map& items) {
    for (auto it = items.begin(); it != items.end();)
        it = std::exchange(it->second.met, false) ? std::next(it) : items.erase(it);
}

// Drops the kept listings of the folders below folder.
template <class Listings>
void DropListingsBelow(Listings& listings, const std::string& folder) {
    const std::string inside = folder + "\\";
    std::erase_if(listings, [&](const auto& item) {
        return item.first.compare(0, inside.size(), inside) == 0;
    });
}

}  // namespace

TargetMatch MatchTarget(std::string_view target, std::string_view caption) {
    if (target.empty())
        return TargetMatch::Ordinary;
    if (target.back() == '*') {  // 0x2A is never the trail byte of a double-byte character
        target.remove_suffix(1);
        return FindMb(caption, target) != std::string_view::npos ? TargetMatch::Targeted
                                                                 : TargetMatch::Hidden;
    }
    return caption == target ? TargetMatch::Targeted : TargetMatch::Hidden;
}

CMacroCatalogue::CMacroCatalogue(IFileSystem& fs, std::string targetCaption, int depth,
                                 int macroFileMax)
    : fs_(fs),
      targetCaption_(std::move(targetCaption)),
      depth_(std::max(depth, 0)),
      macroFileMax_(std::clamp(macroFileMax, 0, kMaxMacroItems)) {}

MacroMenuModel CMacroCatalogue::Build(const std::string& topPath) {
    model_ = MacroMenuModel{};  // every scan starts afresh
    model_.macroFileMax = macroFileMax_;
    topPath_ = topPath;
    ScanMacroFolder(topPath, depth_, true, model_.items);
    return std::move(model_);
}

MacroMenuModel CMacroCatalogue::Build(const std::string& topPath, MacroHeaderCache& cache,
                                      FileTime now) {
    cache_ = &cache;
    now_ = now;
    MacroMenuModel model = Build(topPath);
    // Keep only what this scan met, so removed files and old folders do not pile up.
    KeepOnlyMet(cache.listings_);
    KeepOnlyMet(cache.kept_);
    cache_ = nullptr;
    return model;
}

const std::vector<DirEntry>* CMacroCatalogue::ListingOf(const std::string& folder, bool keep,
                                                        std::vector<DirEntry>& scratch) {
    if (cache_ == nullptr || !keep)
        return fs_.ListDirectory(folder, scratch) ? &scratch : nullptr;
    auto& listings = cache_->listings_;
    auto it = listings.find(folder);
    if (it != listings.end() && it->second.watch && !it->second.watch->Changed()) {
        it->second.met = true;
        return &it->second.entries;
    }
    // The watch is armed before the folder is listed: a change made while it is listed is
    // seen by the next scan.
    std::unique_ptr<IFolderWatch> watch;
    std::vector<DirEntry> before;
    const bool knewBefore = it != listings.end();
    if (knewBefore) {
        if (it->second.watch && it->second.watch->Rearm())
            watch = std::move(it->second.watch);
        before = std::move(it->second.entries);
        listings.erase(it);
    }
    if (!watch && listings.size() < MacroHeaderCache::kMaxWatchedFolders) {
        // Only the top folder has no watched parent to tell that it moved.
        watch = fs_.WatchFolder(folder, folder == topPath_);
    }
    const bool listed = fs_.ListDirectory(folder, scratch);
    if (knewBefore) {
        DropMovedSubfolders(folder, before, scratch);
    } else if (!listings.empty()) {
        // Nothing tells whether the subfolders are the ones whose listings are kept.
        DropListingsBelow(listings, folder);
    }
    if (!listed)
        return nullptr;  // not kept: tried again at the next scan
    if (!watch)
        return &scratch;
    MacroHeaderCache::Listing& kept = listings[folder];
    kept.entries = std::move(scratch);
    kept.watch = std::move(watch);
    kept.met = true;
    return &kept.entries;
}

void CMacroCatalogue::DropMovedSubfolders(const std::string& folder,
                                          const std::vector<DirEntry>& before,
                                          const std::vector<DirEntry>& now) {
    std::string path;
    for (const DirEntry& old : before) {
        if (!old.isDirectory || old.name.empty() || old.name[0] == '.')
            continue;
        const auto same = std::find_if(now.begin(), now.end(), [&](const DirEntry& e) {
            return e.isDirectory && e.name == old.name && e.fileId == old.fileId && e.fileId != 0;
        });
        if (same != now.end() || !JoinPath(folder, old.name, path))
            continue;
        cache_->listings_.erase(path);
        DropListingsBelow(cache_->listings_, path);
    }
}

const MacroHeader* CMacroCatalogue::HeaderOf(const std::string& path, const DirEntry& entry,
                                             MacroHeader& scratch) {
    if (cache_ == nullptr)
        return ReadMacroHeader(fs_, path, scratch) == HeaderRead::Macro ? &scratch : nullptr;
    auto it = cache_->kept_.find(path);
    if (it != cache_->kept_.end()) {
        MacroHeaderCache::Kept& kept = it->second;
        if (kept.lastWrite == entry.lastWrite && kept.changed == entry.changed &&
            kept.size == entry.size) {
            kept.met = true;
            return kept.header.isMacro ? &kept.header : nullptr;
        }
    }
    const HeaderRead read = ReadMacroHeader(fs_, path, scratch);
    if (read == HeaderRead::CannotOpen || !Settled(entry, now_)) {
        if (it != cache_->kept_.end())
            cache_->kept_.erase(it);
        return read == HeaderRead::Macro ? &scratch : nullptr;
    }
    MacroHeaderCache::Kept& kept = cache_->kept_[path];
    kept.lastWrite = entry.lastWrite;
    kept.changed = entry.changed;
    kept.size = entry.size;
    kept.header = std::move(scratch);
    kept.met = true;
    return kept.header.isMacro ? &kept.header : nullptr;
}

void CMacroCatalogue::ScanMacroFolder(const std::string& folder, int remainingDepth,
                                      bool keepListing, std::vector<MacroMenuNode>& level) {
    if (folder.empty() || model_.maximumReached || !CanSearch(folder))
        return;
    // One listing serves both passes (files, then folders).
    std::vector<DirEntry> scratchListing;
    const std::vector<DirEntry>* listed = ListingOf(folder, keepListing, scratchListing);
    if (listed == nullptr)
        return;
    const std::vector<DirEntry>& listing = *listed;

    std::string path;
    MacroHeader scratch;
    for (const DirEntry& entry : listing) {
        if (entry.isDirectory || entry.name.empty() || entry.name[0] == '.')
            continue;
        if (!JoinPath(folder, entry.name, path))
            continue;
        const MacroHeader* header = HeaderOf(path, entry, scratch);
        if (header == nullptr)
            continue;
        const TargetMatch match = MatchTarget(header->target, targetCaption_);
        if (match == TargetMatch::Hidden)
            continue;
        if (model_.itemCount >= model_.macroFileMax) {  // a maximum of 0 lists nothing
            model_.maximumReached = true;
            return;
        }
        MacroMenuNode node;
        node.id = ID_MACRO_FIRST + model_.itemCount;
        node.label = header->title.empty() ? entry.name : header->title;
        node.path = path;
        node.bitmap =
            match == TargetMatch::Targeted ? MacroBitmap::Targeted : MacroBitmap::Ordinary;
        model_.entries.push_back({node.id, node.label, node.path});
        level.push_back(std::move(node));
        if (++model_.itemCount >= model_.macroFileMax) {
            model_.maximumReached = true;
            return;
        }
    }

    if (remainingDepth <= 0)
        return;
    for (const DirEntry& entry : listing) {
        if (!entry.isDirectory || entry.name.empty() || entry.name[0] == '.')
            continue;
        if (!JoinPath(folder, entry.name, path))
            continue;
        model_.entries.push_back({-1, entry.name, path});
        MacroMenuNode node;
        node.isFolder = true;
        node.label = entry.name;
        node.path = path;
        // What a link leads to can change without a trace in the folders watched here.
        ScanMacroFolder(node.path, remainingDepth - 1, keepListing && !entry.isLink, node.children);
        if (!node.children.empty())
            level.push_back(std::move(node));
        if (model_.maximumReached)
            return;
    }
}

const MacroMenuEntry* FindMacroEntry(const MacroMenuModel& model, int commandId) {
    if (commandId < ID_MACRO_FIRST || commandId - ID_MACRO_FIRST >= model.macroFileMax)
        return nullptr;
    for (const MacroMenuEntry& entry : model.entries) {
        if (entry.id == commandId)
            return &entry;
    }
    return nullptr;
}

}  // namespace zv
