#include "launcher/catalogue.h"

#include <algorithm>
#include <cstring>

#include "common/cp932.h"
#include "common/macrofile.h"

namespace zv {
namespace {

// Reads the head of a file through a small buffer: line prefixes and bounded skips.
class HeadReader {
public:
    explicit HeadReader(IReadFile& file) : file_(file) {}

    // Reads the current line up to its LF or until max bytes are taken, whichever comes
    // first (LineEnded tells which). Storing stops at a zero byte, as a C string would;
    // a CR right before the LF is dropped. False at end of file before any byte.
    bool ReadLinePrefix(std::size_t max, std::string& line) {
        line.clear();
        lineEnded_ = false;
        bool any = false;
        bool storing = true;
        for (std::size_t taken = 0; taken < max;) {
            if (pos_ == end_ && !Fill())
                return any;
            any = true;
            const char* start = buf_ + pos_;
            const std::size_t avail = std::min(end_ - pos_, max - taken);
            const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
            const std::size_t n = lf != nullptr ? static_cast<std::size_t>(lf - start) : avail;
            if (storing) {
                const char* zero = static_cast<const char*>(std::memchr(start, '\0', n));
                line.append(start, zero != nullptr ? static_cast<std::size_t>(zero - start) : n);
                storing = zero == nullptr;
            }
            pos_ += n;
            taken += n;
            if (lf != nullptr) {
                ++pos_;
                if (storing && !line.empty() && line.back() == '\r')
                    line.pop_back();
                lineEnded_ = true;
                return true;
            }
        }
        return true;
    }
    // True when the last ReadLinePrefix consumed its line's LF.
    bool LineEnded() const { return lineEnded_; }

    // Consumes the rest of the current line through its LF. False when the end of the
    // file or more than maxBytes came first.
    bool SkipRestOfLine(std::size_t maxBytes) {
        std::size_t skipped = 0;
        for (;;) {
            if (pos_ == end_ && !Fill())
                return false;
            const void* lf = std::memchr(buf_ + pos_, '\n', end_ - pos_);
            if (lf != nullptr) {
                pos_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buf_) + 1;
                return true;
            }
            skipped += end_ - pos_;
            pos_ = end_;
            if (skipped > maxBytes)
                return false;
        }
    }

private:
    bool Fill() {
        // The header lines of a usual macro file lie in its first 256 bytes; only a longer
        // head costs a second read.
        pos_ = 0;
        end_ = file_.Read(buf_, firstRead_ ? kFirstRead : sizeof buf_);
        firstRead_ = false;
        return end_ > 0;
    }

    static constexpr std::size_t kFirstRead = 256;

    IReadFile& file_;
    char buf_[4096];
    bool firstRead_ = true;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool lineEnded_ = false;
};

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

HeaderRead ReadMacroHeader(IFileSystem& fs, const std::string& path, MacroHeader& header) {
    header.isMacro = false;  // cleared, not replaced: the strings keep their buffers
    header.title.clear();
    header.target.clear();
    SysError error = 0;
    std::unique_ptr<IReadFile> file = fs.OpenRead(path, false, &error);
    if (!file)
        return HeaderRead::CannotOpen;
    HeadReader reader(*file);
    thread_local std::string line;  // reused from file to file
    if (!reader.ReadLinePrefix(kCatalogueLinePrefix, line))
        return HeaderRead::NotMacro;
    bool found = false;
    header.title = ReadHeaderValue(line, kHeaderTag, found);
    if (!found) {
        header.title.clear();
        return HeaderRead::NotMacro;
    }
    header.isMacro = true;
    // The second line starts after the first line's LF, however long the first line is.
    const bool lineEnded = reader.LineEnded() || reader.SkipRestOfLine(kMaxFirstLineSkip);
    if (lineEnded && reader.ReadLinePrefix(kCatalogueLinePrefix, line)) {
        header.target = ReadHeaderValue(line, kTargetTag, found);
    }
    return HeaderRead::Macro;
}

CMacroCatalogue::CMacroCatalogue(IFileSystem& fs, std::string targetCaption, int depth,
                                 int macroFileMax)
    : fs_(fs), targetCaption_(std::move(targetCaption)), depth_(depth < 0 ? 0 : depth) {
    model_.macroFileMax = macroFileMax < 0                ? 0
                          : macroFileMax > kMaxMacroItems ? kMaxMacroItems
                                                          : macroFileMax;
}

MacroMenuModel CMacroCatalogue::Build(const std::string& topPath) {
    ScanMacroFolder(topPath, depth_, model_.items);
    return std::move(model_);
}

void CMacroCatalogue::ScanMacroFolder(const std::string& folder, int remainingDepth,
                                      std::vector<MacroMenuNode>& level) {
    if (folder.empty() || model_.maximumReached || !CanSearch(folder))
        return;
    // One listing serves both passes (files, then folders).
    std::vector<DirEntry> listing;
    if (!fs_.ListDirectory(folder, listing))
        return;

    std::string path;
    MacroHeader header;
    for (const DirEntry& entry : listing) {
        if (entry.isDirectory || entry.name.empty() || entry.name[0] == '.')
            continue;
        if (!JoinPath(folder, entry.name, path))
            continue;
        if (ReadMacroHeader(fs_, path, header) != HeaderRead::Macro)
            continue;
        const TargetMatch match = MatchTarget(header.target, targetCaption_);
        if (match == TargetMatch::Hidden)
            continue;
        if (model_.itemCount >= model_.macroFileMax) {  // a maximum of 0 lists nothing
            model_.maximumReached = true;
            return;
        }
        MacroMenuNode node;
        node.id = ID_MACRO_FIRST + model_.itemCount;
        node.label = header.title.empty() ? entry.name : header.title;
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
        ScanMacroFolder(node.path, remainingDepth - 1, node.children);
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
