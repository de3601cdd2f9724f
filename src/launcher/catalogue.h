// The macro catalogue: the macro folder tree scanned into the model of the hotkey
// menu. The Win32 layer turns the model into pop-up menus; everything that decides
// what is listed, where and with which id lives here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/filesystem.h"
#include "common/macrohead.h"

namespace zv {

// Command id of the first macro item of a display; the others follow one by one.
inline constexpr int ID_MACRO_FIRST = 10000;

// Macro ids stay below the menus' own command ids (32771 on) and within the 16 bits a
// menu command carries: a larger maximum lists at most this many macros.
inline constexpr int kMaxMacroItems = 22000;

// Paths are limited to the platform's 260-byte buffers: a path (with its terminating
// zero) must fit, and so must a folder's search pattern "folder\*.*". Entries that do
// not fit are skipped.
inline constexpr std::size_t kMaxPathBytes = 260;

enum class MacroBitmap { Ordinary, Targeted };

// How a macro with a target caption fares against the caption of the front window.
enum class TargetMatch { Ordinary, Targeted, Hidden };

// Empty target: always listed. A trailing "*": listed when the caption contains the rest
// (case-sensitive, on character boundaries). Otherwise: listed on an exact match.
TargetMatch MatchTarget(std::string_view target, std::string_view caption);

// One item of the hotkey menu: a macro (id from ID_MACRO_FIRST) or a folder (id -1)
// whose children make its submenu.
struct MacroMenuNode {
    int id = -1;
    bool isFolder = false;
    std::string label;
    std::string path;
    MacroBitmap bitmap = MacroBitmap::Ordinary;
    std::vector<MacroMenuNode> children;
};

// One inserted item, in insertion order: the list the command handler searches by id.
// Folder entries (id -1) stay in the list even when their empty submenu was removed.
struct MacroMenuEntry {
    int id = -1;
    std::string label;
    std::string path;
};

struct MacroMenuModel {
    std::vector<MacroMenuNode> items;  // inserted above the command menu's own items
    std::vector<MacroMenuEntry> entries;
    int itemCount = 0;            // macro items over the whole tree
    int macroFileMax = 0;         // the maximum this display was built with
    bool maximumReached = false;  // the scan stopped at the maximum (one beep)
};

// What earlier scans read, kept for the next one.
// Headers are kept by file path with the stamp (write time, change time, size) the folder
// listing showed for the file. A scan that lists a file with the same stamp takes the
// kept header instead of opening the file; a new file or one with another stamp is read,
// and a file the scan did not meet is dropped. What such a scan builds is what a scan
// without kept headers builds, within these limits:
// - A file written or changed less than kSettleTime before a scan is read but not kept:
//   an edit within the file system's time resolution may leave the stamp as it was, and
//   only a stamp older than that resolution is sure to move with the next edit. The file
//   times are compared with the system clock, so a file system whose clock lags behind it
//   by more than kSettleTime loses that guarantee.
// - A file that cannot be opened is not kept: it is tried again at every scan. One that
//   another program holds without sharing while its stamp stays unchanged still counts
//   as read: the listing does not show a lock.
// Folder listings are kept too, each with a watch over the folder: a scan lists again
// only the folders whose watch saw a change, and a scan after no change lists nothing.
// When a folder is listed again, the kept listings below each of its subfolders that is
// gone or is another folder now (another file id, or none given) are dropped; the top
// folder's watch tracks its path. Folders the file system gives no watch for (network
// and removable drives), folders reached through a link, and folders beyond
// kMaxWatchedFolders are listed at every scan.
class MacroHeaderCache {
public:
    static constexpr FileTime kSettleTime = 3 * kFileTimeTicksPerSecond;
    static constexpr std::size_t kMaxWatchedFolders = 1000;

    std::size_t Size() const { return kept_.size(); }
    // Folders whose listings are kept.
    std::size_t ListingCount() const { return listings_.size(); }

private:
    friend class CMacroCatalogue;
    struct Kept {
        FileTime lastWrite = 0;
        FileTime changed = 0;
        std::uint64_t size = 0;
        MacroHeader header;
        bool met = false;  // listed by the scan under way
    };
    struct Listing {
        std::vector<DirEntry> entries;
        std::unique_ptr<IFolderWatch> watch;  // made before the entries were listed
        bool met = false;                     // used by the scan under way
    };
    std::unordered_map<std::string, Kept> kept_;
    std::unordered_map<std::string, Listing> listings_;  // by folder path
};

// Builds the hotkey menu's model from the folder tree. depth: levels of subfolders
// searched below the top folder; maximum: macro items over the whole tree.
class CMacroCatalogue {
public:
    CMacroCatalogue(IFileSystem& fs, std::string targetCaption, int depth, int macroFileMax);

    // Scans topPath with the configured depth, reading every file, and returns the model.
    // Each call scans anew.
    MacroMenuModel Build(const std::string& topPath);
    // The same model, reading only the files that cache does not hold with their current
    // stamp; cache then holds what this scan met. now: the system time as a file time.
    MacroMenuModel Build(const std::string& topPath, MacroHeaderCache& cache, FileTime now);

private:
    // Fills `level` from one folder and, recursively, its subfolders.
    // keepListing: the folder's listing may be kept (it is not reached through a link).
    void ScanMacroFolder(const std::string& folder, int remainingDepth, bool keepListing,
                         std::vector<MacroMenuNode>& level);
    // The header of a listed macro file; null when the file is no macro or cannot be
    // opened. Points into scratch or into the cache.
    const MacroHeader* HeaderOf(const std::string& path, const DirEntry& entry,
                                MacroHeader& scratch);
    // The listing of a folder, kept or made now; null when the folder cannot be listed.
    // Points into the cache or into scratch.
    const std::vector<DirEntry>* ListingOf(const std::string& folder, bool keep,
                                           std::vector<DirEntry>& scratch);
    // After folder was listed again: drops the kept listings below its subfolders that
    // are not the same folders as in the listing before.
    void DropMovedSubfolders(const std::string& folder, const std::vector<DirEntry>& before,
                             const std::vector<DirEntry>& now);

    IFileSystem& fs_;
    std::string targetCaption_;
    int depth_;
    int macroFileMax_;
    MacroMenuModel model_;
    MacroHeaderCache* cache_ = nullptr;
    FileTime now_ = 0;
    std::string topPath_;
};

// The entry a menu command stands for: ids in [ID_MACRO_FIRST, ID_MACRO_FIRST + maximum)
// select the first entry with that id; null for any other id.
const MacroMenuEntry* FindMacroEntry(const MacroMenuModel& model, int commandId);

}  // namespace zv
