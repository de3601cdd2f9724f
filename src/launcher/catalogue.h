// The macro catalogue: the macro folder tree scanned into the model of the hotkey
// menu. The Win32 layer turns the model into pop-up menus; everything that decides
// what is listed, where and with which id lives here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

// Builds the hotkey menu's model from the folder tree. depth: levels of subfolders
// searched below the top folder; maximum: macro items over the whole tree.
class CMacroCatalogue {
public:
    CMacroCatalogue(IFileSystem& fs, std::string targetCaption, int depth, int macroFileMax);

    // Scans topPath with the configured depth and returns the finished model.
    MacroMenuModel Build(const std::string& topPath);

private:
    // Fills `level` from one folder and, recursively, its subfolders.
    void ScanMacroFolder(const std::string& folder, int remainingDepth,
                         std::vector<MacroMenuNode>& level);

    IFileSystem& fs_;
    std::string targetCaption_;
    int depth_;
    MacroMenuModel model_;
};

// The entry a menu command stands for: ids in [ID_MACRO_FIRST, ID_MACRO_FIRST + maximum)
// select the first entry with that id; null for any other id.
const MacroMenuEntry* FindMacroEntry(const MacroMenuModel& model, int commandId);

}  // namespace zv
