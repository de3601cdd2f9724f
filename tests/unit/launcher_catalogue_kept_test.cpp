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

using test::kTop;
const std::string kOtherTop = "C:\\m2";
constexpr FileTime kSecond = kFileTimeTicksPerSecond;

void DumpLevel(const std::vector<MacroMenuNode>& level, const std::string& indent,
               std::string& out) {
    for (const MacroMenuNode& n : level) {
        out += indent + std::to_string(n.id) + " '" + n.label + "' " + n.path +
               (n.bitmap == MacroBitmap::Targeted ? " targeted\n" : "\n");
        DumpLevel(n.children, indent + "  ", out);
    }
}

// Everything the menu and the command handler use, as text that diffs readably.
std::string Dump(const MacroMenuModel& m) {
    std::string out = "count " + std::to_string(m.itemCount) + " max " +
                      std::to_string(m.macroFileMax) + (m.maximumReached ? " reached\n" : "\n");
    DumpLevel(m.items, "", out);
    for (const MacroMenuEntry& e : m.entries)
        out += "entry " + std::to_string(e.id) + " '" + e.label + "' " + e.path + "\n";
    return out;
}

TEST(MacroCatalogueKept, OpensOnlyNewChangedRecentAndUnreadableFiles) {
    test::ListingFileSystem fs;
    MacroHeaderCache cache;
    auto press = [&](const std::string& top = kTop, int depth = 2) {
        fs.opens.clear();
        return CMacroCatalogue(fs, "Win", depth, 100).Build(top, cache, fs.clock);
    };
    fs.AddDir(kTop);
    fs.AddFile(kTop + "\\a.rkm", test::MacroText("A"));
    fs.AddFile(kTop + "\\notes.txt", "no macro");
    fs.AddDir(kTop + "\\sub");
    fs.AddFile(kTop + "\\sub\\b.rkm", test::MacroText("B", "Win*"));
    fs.clock += 10 * kSecond;
    press();
    EXPECT_EQ(test::Total(fs.opens), 3);
    EXPECT_EQ(Dump(press()), Dump(CMacroCatalogue(fs, "Win", 2, 100).Build(kTop)));
    EXPECT_EQ(test::Total(fs.opens), 0)
        << "nothing changed, and the file that is no macro is kept too";

    // An edited file is read, and read again while its stamp is recent.
    fs.WriteFile(kTop + "\\sub\\b.rkm", test::MacroText("Bee", "Win*"));
    fs.clock += kSecond;
    EXPECT_EQ(press().items.at(1).children.at(0).label, "Bee");
    EXPECT_EQ(fs.opens, (std::map<std::string, int>{{kTop + "\\sub\\b.rkm", 1}}));
    fs.clock += MacroHeaderCache::kSettleTime;
    press();
    EXPECT_EQ(test::Total(fs.opens), 1);
    press();
    EXPECT_EQ(test::Total(fs.opens), 0) << "settled";

    // A file that cannot be opened is tried at every press, and listed once a lock ends,
    // though the listing shows no change.
    fs.locked.insert(kTop + "\\a.rkm");
    fs.ChangeMetadata(kTop + "\\a.rkm");
    fs.clock += 10 * kSecond;
    press();
    EXPECT_EQ(press().items.size(), 1u);
    EXPECT_EQ(test::Total(fs.opens), 1);
    fs.locked.clear();
    EXPECT_EQ(press().items.at(0).label, "A");

    // What a scan no longer meets is dropped: another folder, then depth 0.
    fs.AddDir(kOtherTop);
    fs.AddFile(kOtherTop + "\\c.rkm", test::MacroText("C"));
    fs.clock += 10 * kSecond;
    press(kOtherTop);
    EXPECT_EQ(cache.Size(), 1u);
    press(kTop, 0);
    EXPECT_EQ(cache.Size(), 2u) << "a.rkm and notes.txt";

    // A listing without times: every file is read at every press.
    for (auto& [folder, entries] : fs.listings) {
        for (DirEntry& e : entries)
            e.lastWrite = e.changed = 0;
    }
    press(kTop, 0);
    press(kTop, 0);
    EXPECT_EQ(test::Total(fs.opens), 2);
}

TEST(MacroCatalogueKept, ListsOnlyFoldersWhoseWatchSawAChange) {
    test::ListingFileSystem fs;
    fs.watchable = true;
    // Folders x and y, each with a macro in a subfolder, and their names swapped.
    auto addXY = [&] {
        for (const std::string name : {"x", "y"}) {
            fs.AddDir(kTop + "\\" + name);
            fs.AddDir(kTop + "\\" + name + "\\in");
            fs.AddFile(kTop + "\\" + name + "\\in\\" + name + ".rkm", test::MacroText(name));
        }
    };
    auto swapXY = [&] {
        ASSERT_TRUE(fs.RenameFolder(kTop + "\\x", kTop + "\\t"));
        ASSERT_TRUE(fs.RenameFolder(kTop + "\\y", kTop + "\\x"));
        ASSERT_TRUE(fs.RenameFolder(kTop + "\\t", kTop + "\\y"));
    };
    MacroHeaderCache cache;
    auto press = [&](const std::string& caption = "Win") {
        fs.opens.clear();
        fs.lists.clear();
        return CMacroCatalogue(fs, caption, 2, 100).Build(kTop, cache, fs.clock);
    };
    fs.AddDir(kTop);
    fs.AddFile(kTop + "\\a.rkm", test::MacroText("A"));
    fs.AddDir(kTop + "\\sub");
    fs.AddDir(kTop + "\\sub\\deep");
    fs.AddFile(kTop + "\\sub\\deep\\b.rkm", test::MacroText("B", "Win*"));
    fs.clock += 10 * kSecond;
    press();
    EXPECT_EQ(test::Total(fs.lists), 3);
    EXPECT_EQ(cache.ListingCount(), 3u);
    EXPECT_EQ(press().items.at(1).children.at(0).children.at(0).label, "B");
    EXPECT_EQ(test::Total(fs.lists) + test::Total(fs.opens), 0);
    // Another window in front: the kept listings and headers serve its matches too.
    EXPECT_EQ(press("Other").items.size(), 1u);
    EXPECT_EQ(test::Total(fs.lists) + test::Total(fs.opens), 0);

    // A change two levels down: that folder is listed again and that file read.
    fs.WriteFile(kTop + "\\sub\\deep\\b.rkm", test::MacroText("Bee", "Win*"));
    fs.clock += 10 * kSecond;
    EXPECT_EQ(press().items.at(1).children.at(0).children.at(0).label, "Bee");
    EXPECT_EQ(fs.lists, (std::map<std::string, int>{{kTop + "\\sub\\deep", 1}}));
    EXPECT_EQ(test::Total(fs.opens), 1);

    // A file not kept (written just now) is read again at every press, listed or not.
    fs.WriteFile(kTop + "\\a.rkm", test::MacroText("Ay"));
    press();
    EXPECT_EQ(press().items.at(0).label, "Ay");
    EXPECT_EQ(test::Total(fs.lists), 0);
    EXPECT_EQ(test::Total(fs.opens), 1);

    // Two folders swap names: the listings kept below them belong to the other name now.
    addXY();
    fs.clock += 10 * kSecond;
    press();
    swapXY();
    const MacroMenuModel swapped = press();
    ASSERT_EQ(swapped.items.size(), 4u);
    EXPECT_EQ(swapped.items[2].label, "x");
    EXPECT_EQ(swapped.items[2].children.at(0).children.at(0).path, kTop + "\\x\\in\\y.rkm");
    EXPECT_EQ(swapped.items[3].label, "y");
    EXPECT_EQ(swapped.items[3].children.at(0).children.at(0).path, kTop + "\\y\\in\\x.rkm");

    // The top folder replaced by another one of the same name.
    fs.Remove(kTop);
    fs.AddDir(kTop);
    fs.AddFile(kTop + "\\c.rkm", test::MacroText("C"));
    fs.clock += 10 * kSecond;
    const MacroMenuModel replaced = press();
    ASSERT_EQ(replaced.items.size(), 1u);
    EXPECT_EQ(replaced.items[0].label, "C");

    // A linked folder: what changes where it leads no watch here sees, so it is listed
    // at every press.
    fs.AddLink(kTop + "\\link");
    fs.AddFile(kTop + "\\link\\d.rkm", test::MacroText("D"));
    fs.clock += 10 * kSecond;
    press();
    const std::size_t changes = fs.changes.size();
    fs.WriteFile(kTop + "\\link\\d.rkm", test::MacroText("Dee"));
    fs.clock += 10 * kSecond;
    EXPECT_EQ(fs.changes.size(), changes) << "the edit where the link leads was not seen";
    EXPECT_EQ(press().items.at(1).children.at(0).label, "Dee");
    EXPECT_EQ(fs.lists, (std::map<std::string, int>{{kTop + "\\link", 1}}));

    // A new top folder the system gives no watch for: it is listed at every press, and
    // so is everything below it, as nothing tells whether its subfolders are still the
    // ones whose listings are kept.
    fs.unwatchable.insert(kTop);
    fs.Remove(kTop);
    fs.AddDir(kTop);
    addXY();
    fs.clock += 10 * kSecond;
    press();
    press();
    EXPECT_EQ(test::Total(fs.lists), 5);
    swapXY();
    const MacroMenuModel unwatchedSwap = press();
    ASSERT_EQ(unwatchedSwap.items.size(), 2u);
    EXPECT_EQ(unwatchedSwap.items[0].children.at(0).children.at(0).path, kTop + "\\x\\in\\y.rkm");
    EXPECT_EQ(unwatchedSwap.items[1].children.at(0).children.at(0).path, kTop + "\\y\\in\\x.rkm");

    // No watch at all (a network drive): every press lists everything.
    fs.watchable = false;
    MacroHeaderCache unwatched;
    CMacroCatalogue(fs, "Win", 2, 100).Build(kTop, unwatched, fs.clock);
    fs.lists.clear();
    CMacroCatalogue(fs, "Win", 2, 100).Build(kTop, unwatched, fs.clock);
    EXPECT_EQ(test::Total(fs.lists), 5);
    EXPECT_EQ(unwatched.ListingCount(), 0u);
}

// Random changes of the kinds users make between two presses, on one of three kinds of
// disk: times to the tick with change times; a 2-second write time without change times
// (FAT-like); times to 10 ms with change times. Most trees can be watched; some hold a
// linked folder whose changes no watch sees.
class RandomTree {
public:
    explicit RandomTree(unsigned seed) : rng_(seed) {
        fs.AddDir(kTop);
        fs.AddDir(kOtherTop);
        fs.resolution = seed % 3 == 0 ? 1 : seed % 3 == 1 ? 2 * kSecond : kSecond / 100;
        fs.changeTimes = seed % 3 != 1;
        fs.watchable = seed % 4 != 0;
        if (seed % 5 == 0)
            fs.AddLink(kTop + "\\link");
    }

    // Whether path is listed at every press: it is or lies within a linked folder or a
    // folder the system gives no watch for.
    bool AlwaysListed(const std::string& path) const {
        auto within = [&](const std::string& folder) {
            return path == folder || path.rfind(folder + "\\", 0) == 0;
        };
        return std::any_of(fs.linked.begin(), fs.linked.end(), within) ||
               std::any_of(fs.unwatchable.begin(), fs.unwatchable.end(), within);
    }

    test::ListingFileSystem fs;
    std::string top = kTop;
    std::string caption;
    int depth = 2;
    int max = 100;

    // Applies one random change; returns what it did ("" for nothing).
    std::string Change() {
        const std::string folder = Pick(std::vector<std::string>(fs.dirs.begin(), fs.dirs.end()));
        // Users often come back to the file they just changed.
        if (rng_() % 2 == 0 || !fs.files.count(last_))
            last_ = Pick(Files());
        const std::string file = last_;
        const std::string newFile = folder + "\\" + Pick(kFileNames);
        const unsigned change = rng_() % 19;
        if (file.empty() && change >= 3 && change <= 12)
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
            case 5:
            case 6: {
                // Without change times only the size tells such a copy.
                const std::string content = rng_() % 2 ? Content() : SameSize(fs.files[file]);
                if (!fs.changeTimes && content.size() == fs.files[file].size())
                    return "";
                fs.CopyKeepingWriteTime(file, content);
                return "copy keeping the write time " + file;
            }
            case 7:
                fs.Touch(file);
                return "touch " + file;
            case 8:
                fs.Remove(file);
                return "remove " + file;
            case 9:
                if (fs.files.count(newFile) || fs.dirs.count(newFile))
                    return "";
                fs.Rename(file, newFile);
                return "rename " + file + " to " + newFile;
            case 10:
                if (!fs.changeTimes)
                    return "";  // a permission change shows only in the change time
                fs.SetReadable(file, false);
                return "make unreadable " + file;
            case 11: {
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
            case 12: {
                const std::string dir = folder + "\\" + Pick(kFolderNames);
                if (fs.dirs.count(dir) || std::count(dir.begin(), dir.end(), '\\') > 4)
                    return "";
                fs.AddDir(dir);
                return "make folder " + dir;
            }
            case 13:
                if (rng_() % 8 != 0 && (folder == kTop || folder == kOtherTop))
                    return "";
                fs.Remove(folder);
                if (folder == kTop || folder == kOtherTop)
                    fs.AddDir(folder);  // the top folder comes back, empty
                return "remove folder " + folder;
            case 14:
                depth = static_cast<int>(rng_() % 4);
                return "depth " + std::to_string(depth);
            case 15:
                max = std::vector<int>{0, 1, 2, 3, 5, 8, 100}[rng_() % 7];
                return "maximum " + std::to_string(max);
            case 16: {
                // Folders move within the tree, sometimes into another one's old name.
                if (folder == kTop || folder == kOtherTop)
                    return "";
                const std::string parent =
                    Pick(std::vector<std::string>(fs.dirs.begin(), fs.dirs.end()));
                const std::string to = parent + "\\" + Pick(kFolderNames);
                if (!fs.RenameFolder(folder, to))
                    return "";
                return "rename folder " + folder + " to " + to;
            }
            case 17:
                // The system has no watch to give for a folder for a while.
                if (!fs.unwatchable.insert(folder).second)
                    fs.unwatchable.erase(folder);
                return "watch refused or given again " + folder;
            default:
                top = top == kTop ? kOtherTop : kTop;
                return "macro folder " + top;
        }
    }

    // Moves the clock on by nothing, a tick, or up to a minute; sometimes another window
    // comes to the front.
    void Tick() {
        static const FileTime steps[] = {0,       1,           kSecond / 100, kSecond / 2,
                                         kSecond, 2 * kSecond, 4 * kSecond,   60 * kSecond};
        fs.clock += steps[rng_() % std::size(steps)];
        if (rng_() % 3 == 0)
            caption = Pick(std::vector<std::string>{"", "Win", "Window - Win", "Other", "Oin"});
    }

    unsigned Next() { return rng_(); }

private:
    inline static const std::vector<std::string> kFileNames{"1.rkm",  "2.rkm",  "3.rkm", "n.txt",
                                                            ".h.rkm", "表.rkm", "x"};
    inline static const std::vector<std::string> kFolderNames{"a", "b", "表"};

    std::string Pick(const std::vector<std::string>& items) {
        return items.empty() ? "" : items[rng_() % items.size()];
    }
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
            default:
                return test::MacroText(Pick({"", "A", "B", "AB", "表示"}),
                                       Pick({"", "", "Win*", "Win", "*", "Other", "Oin*"}));
        }
    }
    // The same number of bytes, other letters: titles, targets and even the header tag
    // ("<RKMBCRW>") change.
    static std::string SameSize(std::string text) {
        for (char& c : text)
            c = c == 'A' ? 'B' : c == 'B' ? 'A' : c == 'W' ? 'O' : c == 'O' ? 'W' : c;
        return text;
    }

    std::mt19937 rng_;
    std::string last_;  // the file changed last
};

TEST(MacroCatalogueKept, MatchesAFreshScanThroughRandomChanges) {
    int presses = 0;
    int pressesThatKeptFiles = 0;
    int quietPressesWatched = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        RandomTree t(seed);
        MacroHeaderCache cache;
        std::vector<std::string> log;  // the changes of this sequence, for a failure
        for (int step = 0; step < 200; ++step) {
            for (unsigned i = t.Next() % 4; i > 0; --i) {
                const std::string what = t.Change();
                if (!what.empty())
                    log.push_back(std::to_string(step) + ": " + what);
            }
            t.Tick();
            t.fs.opens.clear();
            const MacroMenuModel kept =
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top, cache, t.fs.clock);
            const int keptOpens = test::Total(t.fs.opens);
            t.fs.opens.clear();
            t.fs.lists.clear();
            const MacroMenuModel fresh =
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top);
            ++presses;
            pressesThatKeptFiles += keptOpens < test::Total(t.fs.opens) ? 1 : 0;
            ASSERT_LE(cache.Size(), t.fs.files.size()) << "seed " << seed << " step " << step;
            // Each kept listing holds a watch: only the folders this scan met keep theirs.
            ASSERT_LE(cache.ListingCount(), t.fs.lists.size())
                << "seed " << seed << " step " << step;
            if (Dump(kept) != Dump(fresh)) {
                std::string history;
                for (std::size_t i = log.size() > 30 ? log.size() - 30 : 0; i < log.size(); ++i)
                    history += log[i] + "\n";
                FAIL() << "seed " << seed << " step " << step << " caption '" << t.caption
                       << "' depth " << t.depth << " max " << t.max << "\nkept:\n"
                       << Dump(kept) << "fresh:\n"
                       << Dump(fresh) << "last changes:\n"
                       << history;
            }
            // Now and then a quiet while: then a press opens only what cannot be opened,
            // and lists nothing where the tree is watched.
            if (step % 10 == 9) {
                t.fs.clock += MacroHeaderCache::kSettleTime + 2 * kSecond;
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top, cache, t.fs.clock);
                t.fs.opens.clear();
                t.fs.lists.clear();
                CMacroCatalogue(t.fs, t.caption, t.depth, t.max).Build(t.top, cache, t.fs.clock);
                for (const auto& [path, count] : t.fs.opens)
                    EXPECT_TRUE(t.fs.locked.count(path)) << "seed " << seed << " opened " << path;
                if (t.fs.watchable) {
                    for (const auto& [path, count] : t.fs.lists) {
                        EXPECT_TRUE(t.AlwaysListed(path)) << "seed " << seed << " listed " << path;
                    }
                    ++quietPressesWatched;
                }
            }
        }
    }
    // The sequences must reach states where keeping pays, or they prove little.
    EXPECT_GT(pressesThatKeptFiles, presses / 3);
    EXPECT_GT(quietPressesWatched, 300);
}

}  // namespace
}  // namespace zv
