// The catalogue that keeps headers between presses: it must build exactly what a fresh
// scan builds after any change to the folder tree, while opening only what changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "launcher/catalogue.h"
#include "launcher_fakes.h"

namespace zv {
namespace {

const std::string kTop = "C:\\m";
const std::string kOtherTop = "C:\\m2";
constexpr FileTime kSecond = kFileTimeTicksPerSecond;

std::string Macro(const std::string& title, const std::string& target = "") {
    std::string text = "; <RKMACRO>" + title + "\r\n";
    if (!target.empty())
        text += "; <TARGET>" + target + "\r\n";
    return text + "\r\nWAIT:100\r\n";
}

void DumpLevel(const std::vector<MacroMenuNode>& level, int indent, std::string& out) {
    for (const MacroMenuNode& n : level) {
        out += std::string(indent, ' ') + (n.isFolder ? "folder " : "macro ") +
               std::to_string(n.id) + " '" + n.label + "' " + n.path +
               (n.bitmap == MacroBitmap::Targeted ? " targeted\n" : "\n");
        DumpLevel(n.children, indent + 2, out);
    }
}

// Everything the menu and the command handler use, as text that diffs readably.
std::string Dump(const MacroMenuModel& m) {
    std::string out = "count " + std::to_string(m.itemCount) + " max " +
                      std::to_string(m.macroFileMax) + (m.maximumReached ? " reached\n" : "\n");
    DumpLevel(m.items, 0, out);
    for (const MacroMenuEntry& e : m.entries)
        out += "entry " + std::to_string(e.id) + " '" + e.label + "' " + e.path + "\n";
    return out;
}

int Opens(const test::ListingFileSystem& fs) {
    int n = 0;
    for (const auto& [path, count] : fs.opens)
        n += count;
    return n;
}

struct KeptCatalogue {
    test::ListingFileSystem fs;
    MacroHeaderCache cache;
    KeptCatalogue() { fs.AddDir(kTop); }
    // A press: the kept catalogue's model; opens counts the files it opened.
    MacroMenuModel Press(const std::string& caption = "", int depth = 2, int max = 100) {
        fs.opens.clear();
        return CMacroCatalogue(fs, caption, depth, max).Build(kTop, cache, fs.clock);
    }
    MacroMenuModel Fresh(const std::string& caption = "", int depth = 2, int max = 100) {
        return CMacroCatalogue(fs, caption, depth, max).Build(kTop);
    }
};

TEST(MacroCatalogueKept, OpensOnlyNewChangedAndRecentFiles) {
    KeptCatalogue k;
    k.fs.AddFile(kTop + "\\a.rkm", Macro("A"));
    k.fs.AddFile(kTop + "\\notes.txt", "no macro");
    k.fs.AddDir(kTop + "\\sub");
    k.fs.AddFile(kTop + "\\sub\\b.rkm", Macro("B", "Win*"));
    k.fs.clock += 10 * kSecond;
    EXPECT_EQ(Dump(k.Press("Win")), Dump(k.Fresh("Win")));
    EXPECT_EQ(Opens(k.fs), 3);
    EXPECT_EQ(k.cache.Size(), 3u) << "the file that is no macro is kept too";
    EXPECT_EQ(Dump(k.Press("Win")), Dump(k.Fresh("Win")));
    EXPECT_EQ(Opens(k.fs), 0) << "nothing changed";
    EXPECT_EQ(Dump(k.Press("Other")), Dump(k.Fresh("Other")));
    EXPECT_EQ(Opens(k.fs), 0) << "the front window decides from the kept target";

    // An edit: that file is read, and read again while its stamp is recent.
    k.fs.WriteFile(kTop + "\\sub\\b.rkm", Macro("Bee", "Win*"));
    k.fs.clock += kSecond;
    EXPECT_EQ(Dump(k.Press("Win")), Dump(k.Fresh("Win")));
    EXPECT_EQ(k.fs.opens, (std::map<std::string, int>{{kTop + "\\sub\\b.rkm", 1}}));
    k.Press("Win");
    EXPECT_EQ(Opens(k.fs), 1);
    k.fs.clock += MacroHeaderCache::kSettleTime;
    k.Press("Win");
    EXPECT_EQ(Opens(k.fs), 1);
    k.Press("Win");
    EXPECT_EQ(Opens(k.fs), 0) << "settled";

    // A file that cannot be opened is tried at every press, and listed once it can be
    // opened again, even with its stamp unchanged (a lock that ended).
    k.fs.locked.insert(kTop + "\\a.rkm");
    k.fs.ChangeMetadata(kTop + "\\a.rkm");
    k.fs.clock += 10 * kSecond;
    EXPECT_EQ(Dump(k.Press()), Dump(k.Fresh()));
    k.Press();
    EXPECT_EQ(k.fs.opens, (std::map<std::string, int>{{kTop + "\\a.rkm", 1}}));
    k.fs.locked.clear();
    EXPECT_EQ(Dump(k.Press()), Dump(k.Fresh()));
    EXPECT_EQ(k.Press().items.at(0).label, "A");

    // Files the scan no longer meets are dropped: another top folder, then depth 0.
    k.fs.AddDir(kOtherTop);
    k.fs.AddFile(kOtherTop + "\\c.rkm", Macro("C"));
    k.fs.clock += 10 * kSecond;
    CMacroCatalogue(k.fs, "", 2, 100).Build(kOtherTop, k.cache, k.fs.clock);
    EXPECT_EQ(k.cache.Size(), 1u);
    k.Press("", 0);
    EXPECT_EQ(k.cache.Size(), 2u) << "a.rkm and notes.txt";
}

TEST(MacroCatalogueKept, EditsThatKeepTheStampAreSeen) {
    KeptCatalogue k;
    // Write times of a 2-second resolution and no change times: two same-size edits
    // within one such step leave the stamp as it was.
    k.fs.resolution = 2 * kSecond;
    k.fs.changeTimes = false;
    k.fs.clock += kSecond / 10;
    k.fs.AddFile(kTop + "\\a.rkm", Macro("A"));
    EXPECT_EQ(k.Press().items.at(0).label, "A");
    k.fs.clock += kSecond / 2;
    k.fs.WriteFile(kTop + "\\a.rkm", Macro("B"));
    EXPECT_EQ(k.Press().items.at(0).label, "B");
    // Settled stamps are trusted; the next edit moves the write time.
    k.fs.clock += MacroHeaderCache::kSettleTime;
    k.Press();
    k.Press();
    EXPECT_EQ(Opens(k.fs), 0);
    k.fs.WriteFile(kTop + "\\a.rkm", Macro("C"));
    EXPECT_EQ(k.Press().items.at(0).label, "C");

    // With change times: a copy that keeps the old write time and size.
    KeptCatalogue c;
    c.fs.AddFile(kTop + "\\a.rkm", Macro("A"));
    c.fs.clock += 10 * kSecond;
    c.Press();
    c.fs.CopyKeepingWriteTime(kTop + "\\a.rkm", Macro("B"));
    EXPECT_EQ(c.Press().items.at(0).label, "B");
    // Change times of a coarse resolution: a second copy within one step of it.
    c.fs.resolution = 2 * kSecond;
    c.fs.clock += 10 * kSecond - c.fs.clock % (2 * kSecond);
    c.fs.CopyKeepingWriteTime(kTop + "\\a.rkm", Macro("C"));
    c.fs.clock += kSecond / 2;
    EXPECT_EQ(c.Press().items.at(0).label, "C");
    c.fs.CopyKeepingWriteTime(kTop + "\\a.rkm", Macro("D"));
    EXPECT_EQ(c.Press().items.at(0).label, "D");
    c.fs.resolution = 1;

    // A listing without times: every file is read at every press.
    c.fs.clock += 10 * kSecond;
    for (auto& [folder, entries] : c.fs.listings) {
        for (DirEntry& e : entries)
            e.lastWrite = e.changed = 0;
    }
    c.Press();
    c.Press();
    EXPECT_EQ(Opens(c.fs), 1);
}

// Random changes of the kinds users make between two presses.
class RandomTree {
public:
    RandomTree(unsigned seed) : rng_(seed) {
        fs.AddDir(kTop);
        fs.AddDir(kOtherTop);
        switch (seed % 3) {
            case 0:
                break;  // times to the tick, with change times
            case 1:
                fs.resolution = 2 * kSecond;  // a FAT-like disk
                fs.changeTimes = false;
                break;
            default:
                fs.resolution = kSecond / 100;
                break;
        }
    }

    test::ListingFileSystem fs;
    std::string top = kTop;
    std::string caption;
    int depth = 2;
    int max = 100;

    // Applies one random change; returns what it did.
    std::string Change() {
        const std::string folder = Pick(Folders());
        // Users often come back to the file they just changed.
        const std::string file =
            rng_() % 2 == 0 && fs.files.count(last_) ? last_ : (last_ = Pick(Files()));
        const std::string newFile = folder + "\\" + Pick(kFileNames);
        const unsigned change = rng_() % 16;
        const bool needsFile = (change >= 3 && change <= 8) || change == 11;
        if (file.empty() && needsFile)
            return "";
        // Without change times in the listing, only the content's write time and size
        // tell: a permission change does not show, nor a copy of the same size that keeps
        // the write time.
        if (!fs.changeTimes && change == 11)
            return "";
        switch (change) {
            case 0:
            case 1:
            case 2:
                fs.WriteFile(newFile, Content());
                return "write " + newFile;
            case 3:
            case 4:
                fs.WriteFile(file, SameSize(fs.files[file]));
                return "same-size edit " + file;
            case 5: {
                const std::string content = Content();
                if (!fs.changeTimes && content.size() == fs.files[file].size())
                    return "";
                fs.CopyKeepingWriteTime(file, content);
                return "copy keeping the write time " + file;
            }
            case 6:
                fs.Touch(file);
                return "touch " + file;
            case 7:
                fs.Remove(file);
                return "remove " + file;
            case 8:
                if (fs.files.count(newFile) || fs.dirs.count(newFile))
                    return "";
                fs.Rename(file, newFile);
                return "rename " + file + " to " + newFile;
            case 9: {
                const std::string dir = folder + "\\" + Pick(kFolderNames);
                if (fs.dirs.count(dir) || Depth(dir) > 4)
                    return "";
                fs.AddDir(dir);
                return "make folder " + dir;
            }
            case 10: {
                if (rng_() % 8 != 0 && (folder == kTop || folder == kOtherTop))
                    return "";
                fs.Remove(folder);
                if (folder == kTop || folder == kOtherTop)
                    fs.AddDir(folder);  // the top folder comes back, empty
                return "remove folder " + folder;
            }
            case 11:
                fs.SetReadable(file, false);
                return "make unreadable " + file;
            case 12: {
                if (fs.locked.empty())
                    return "";
                const std::string path = *fs.locked.begin();
                if (rng_() % 2 == 0) {
                    fs.locked.erase(path);  // a lock ends without a trace in the listing
                    return "lock ends " + path;
                }
                fs.SetReadable(path, true);
                return "make readable " + path;
            }
            case 13:
                depth = static_cast<int>(rng_() % 4);
                return "depth " + std::to_string(depth);
            case 14:
                max = std::vector<int>{0, 1, 2, 3, 5, 8, 100}[rng_() % 7];
                return "maximum " + std::to_string(max);
            default:
                top = top == kTop ? kOtherTop : kTop;
                return "macro folder " + top;
        }
    }

    // Moves the clock on by a random step, from nothing to a minute.
    void Tick() {
        static const FileTime steps[] = {0,       1,           kSecond / 100, kSecond / 2,
                                         kSecond, 2 * kSecond, 4 * kSecond,   60 * kSecond};
        fs.clock += steps[rng_() % std::size(steps)];
    }

    void NewCaption() {
        caption = Pick(std::vector<std::string>{"", "Win", "Window - Win", "Other", "Oin"});
    }

    unsigned Next() { return rng_(); }

private:
    inline static const std::vector<std::string> kFileNames{"1.rkm",  "2.rkm",  "3.rkm", "n.txt",
                                                            ".h.rkm", "表.rkm", "x"};
    inline static const std::vector<std::string> kFolderNames{"a", "b", "表"};

    static int Depth(const std::string& path) {
        return static_cast<int>(std::count(path.begin(), path.end(), '\\'));
    }
    template <class T>
    std::string Pick(const T& items) {
        if (items.empty())
            return "";
        auto it = items.begin();
        std::advance(it, rng_() % items.size());
        return *it;
    }
    std::vector<std::string> Folders() const { return {fs.dirs.begin(), fs.dirs.end()}; }
    std::vector<std::string> Files() const {
        std::vector<std::string> out;
        for (const auto& [path, content] : fs.files)
            out.push_back(path);
        return out;
    }
    std::string Content() {
        switch (rng_() % 8) {
            case 0:
                return "";
            case 1:
                return "plain text\r\n";
            case 2:
                return "<RKMACRO>at offset zero\r\n";
            default: {
                const std::string title =
                    Pick(std::vector<std::string>{"", "A", "B", "AB", "表示"});
                const std::string target =
                    Pick(std::vector<std::string>{"", "", "Win*", "Win", "*", "Other", "Oin*"});
                return Macro(title, target);
            }
        }
    }
    // The same number of bytes, other letters: titles, targets and even the header tag
    // ("<RKMBCRW>") change.
    static std::string SameSize(std::string text) {
        for (char& c : text) {
            c = c == 'A' ? 'B' : c == 'B' ? 'A' : c == 'W' ? 'O' : c == 'O' ? 'W' : c;
        }
        return text;
    }

    std::mt19937 rng_;
    std::string last_;  // the file changed last
};

TEST(MacroCatalogueKept, MatchesAFreshScanThroughRandomChanges) {
    int presses = 0;
    int pressesWithKeptFiles = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        RandomTree t(seed);
        MacroHeaderCache cache;
        std::vector<std::string> log;  // the changes of this sequence, for a failure
        for (int step = 0; step < 200; ++step) {
            const int changes = static_cast<int>(t.Next() % 4);
            for (int i = 0; i < changes; ++i) {
                const std::string what = t.Change();
                if (!what.empty())
                    log.push_back(std::to_string(step) + ": " + what);
            }
            t.Tick();
            if (t.Next() % 3 == 0)
                t.NewCaption();

            t.fs.opens.clear();
            const MacroMenuModel kept =
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top, cache, t.fs.clock);
            const int keptOpens = Opens(t.fs);
            t.fs.opens.clear();
            const MacroMenuModel fresh =
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top);
            ++presses;
            if (keptOpens < Opens(t.fs))
                ++pressesWithKeptFiles;
            if (Dump(kept) != Dump(fresh)) {
                std::string history;
                for (std::size_t i = log.size() > 30 ? log.size() - 30 : 0; i < log.size(); ++i)
                    history += log[i] + "\n";
                ADD_FAILURE() << "seed " << seed << " step " << step << " caption '" << t.caption
                              << "' depth " << t.depth << " max " << t.max << "\nkept:\n"
                              << Dump(kept) << "fresh:\n"
                              << Dump(fresh) << "last changes:\n"
                              << history;
                break;
            }

            // Now and then a quiet while: then a press opens only what cannot be opened.
            if (step % 10 == 9) {
                t.fs.clock += MacroHeaderCache::kSettleTime + 2 * kSecond;
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top, cache, t.fs.clock);
                t.fs.opens.clear();
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top, cache, t.fs.clock);
                for (const auto& [path, count] : t.fs.opens)
                    EXPECT_TRUE(t.fs.locked.count(path)) << "seed " << seed << " opened " << path;
            }
        }
    }
    // The sequences must reach states where keeping pays, or they prove little.
    EXPECT_GT(pressesWithKeptFiles, presses / 3);
}

}  // namespace
}  // namespace zv
