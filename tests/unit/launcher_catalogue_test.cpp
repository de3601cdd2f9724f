#include <gtest/gtest.h>

#include "launcher/catalogue.h"
#include "launcher_fakes.h"

namespace zv {
namespace {

using test::kTop;

// Labels of a menu level, folders in brackets with their children.
std::string Describe(const std::vector<MacroMenuNode>& level) {
    std::string out;
    for (const MacroMenuNode& n : level) {
        if (!out.empty())
            out += ",";
        if (n.isFolder) {
            out += "[" + n.label + ":" + Describe(n.children) + "]";
        } else {
            out += n.label;
            if (n.bitmap == MacroBitmap::Targeted)
                out += "*";
        }
    }
    return out;
}

struct Catalogue {
    test::ListingFileSystem fs;
    Catalogue() { fs.AddDir(kTop); }
    MacroMenuModel Build(const std::string& caption = "", int depth = 2, int max = 100) {
        return CMacroCatalogue(fs, caption, depth, max).Build(kTop);
    }
};

TEST(MacroTarget, MatchRules) {
    EXPECT_EQ(MatchTarget("", "anything"), TargetMatch::Ordinary);
    EXPECT_EQ(MatchTarget("Notepad*", "Untitled - Notepad"), TargetMatch::Targeted);
    EXPECT_EQ(MatchTarget("Notepad*", "untitled - notepad"), TargetMatch::Hidden);
    EXPECT_EQ(MatchTarget("*", ""), TargetMatch::Targeted);
    EXPECT_EQ(MatchTarget("*", "x"), TargetMatch::Targeted);
    EXPECT_EQ(MatchTarget("Notepad", "Notepad"), TargetMatch::Targeted);
    EXPECT_EQ(MatchTarget("Notepad", "Notepad2"), TargetMatch::Hidden);
    EXPECT_EQ(MatchTarget("Note*pad", "Note*pad"), TargetMatch::Targeted);
    EXPECT_EQ(MatchTarget("a**", "xa*y"), TargetMatch::Targeted) << "only one star is removed";
    // "\x95\x5C" (表) must not match "\x5C" inside its trail byte.
    EXPECT_EQ(MatchTarget("\\*", "表示"), TargetMatch::Hidden);
    EXPECT_EQ(MatchTarget("示*", "表示 - エディタ"), TargetMatch::Targeted);
}

TEST(MacroCatalogue, FilesFirstThenFoldersInListingOrderWithIds) {
    Catalogue c;
    c.fs.AddFile(kTop + "\\b.rkm", test::MacroText("Bee"));
    c.fs.AddDir(kTop + "\\sub");
    c.fs.AddFile(kTop + "\\sub\\s1.rkm", test::MacroText("Sub one"));
    c.fs.AddDir(kTop + "\\sub\\deep");
    c.fs.AddFile(kTop + "\\sub\\deep\\d.rkm", test::MacroText(""));
    c.fs.AddFile(kTop + "\\a.txt", test::MacroText("Ay"));
    c.fs.AddFile(kTop + "\\plain.txt", "just text\r\n");
    c.fs.AddFile(kTop + "\\.hidden.rkm", test::MacroText("Hidden"));
    const MacroMenuModel m = c.Build();
    EXPECT_EQ(Describe(m.items), "Bee,Ay,[sub:Sub one,[deep:d.rkm]]");
    EXPECT_EQ(m.itemCount, 4);
    EXPECT_FALSE(m.maximumReached);
    ASSERT_EQ(m.entries.size(), 6u);
    const std::vector<std::pair<int, std::string>> expected{
        {10000, kTop + "\\b.rkm"},  {10001, kTop + "\\a.txt"},
        {-1, kTop + "\\sub"},       {10002, kTop + "\\sub\\s1.rkm"},
        {-1, kTop + "\\sub\\deep"}, {10003, kTop + "\\sub\\deep\\d.rkm"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m.entries[i].id, expected[i].first);
        EXPECT_EQ(m.entries[i].path, expected[i].second);
    }
    EXPECT_EQ(m.items[0].id, 10000);
    EXPECT_EQ(m.items[2].children[1].children[0].id, 10003);
}

TEST(MacroCatalogue, ASecondBuildScansAnewFromAnEmptyModel) {
    Catalogue c;
    c.fs.AddFile(kTop + "\\one", test::MacroText("One"));
    c.fs.AddFile(kTop + "\\two", test::MacroText("Two"));
    CMacroCatalogue catalogue(c.fs, "", 2, 3);
    EXPECT_EQ(catalogue.Build(kTop).itemCount, 2);
    c.fs.AddFile(kTop + "\\three", test::MacroText("Three"));
    const MacroMenuModel m = catalogue.Build(kTop);
    EXPECT_EQ(Describe(m.items), "One,Two,Three");
    EXPECT_EQ(m.itemCount, 3);
    EXPECT_EQ(m.macroFileMax, 3);
    EXPECT_TRUE(m.maximumReached);
    ASSERT_EQ(m.entries.size(), 3u);
    EXPECT_EQ(m.entries[0].id, ID_MACRO_FIRST);
    EXPECT_EQ(m.entries[2].id, ID_MACRO_FIRST + 2);
}

TEST(MacroCatalogue, TargetedMacrosFollowTheFrontWindow) {
    Catalogue c;
    c.fs.AddFile(kTop + "\\all.rkm", test::MacroText("All"));
    c.fs.AddFile(kTop + "\\memo.rkm", test::MacroText("Memo", "メモ帳*"));
    c.fs.AddFile(kTop + "\\exact.rkm", test::MacroText("Exact", "無題 - メモ帳"));
    c.fs.AddFile(kTop + "\\any.rkm", test::MacroText("Any", "*"));
    c.fs.AddDir(kTop + "\\only");
    c.fs.AddFile(kTop + "\\only\\calc.rkm", test::MacroText("Calc", "電卓"));
    EXPECT_EQ(Describe(c.Build("無題 - メモ帳").items), "All,Memo*,Exact*,Any*");
    EXPECT_EQ(Describe(c.Build("a.txt - メモ帳").items), "All,Memo*,Any*");
    EXPECT_EQ(Describe(c.Build("電卓").items), "All,Any*,[only:Calc*]");
    const MacroMenuModel m = c.Build("Explorer");
    EXPECT_EQ(Describe(m.items), "All,Any*");
    EXPECT_EQ(m.entries.back().id, -1) << "the folder's entry stays though its submenu went";
}

TEST(MacroCatalogue, DepthLimitsTheFolderLevels) {
    Catalogue c;
    c.fs.AddFile(kTop + "\\top.rkm", test::MacroText("Top"));
    c.fs.AddDir(kTop + "\\1");
    c.fs.AddFile(kTop + "\\1\\one.rkm", test::MacroText("One"));
    c.fs.AddDir(kTop + "\\1\\2");
    c.fs.AddFile(kTop + "\\1\\2\\two.rkm", test::MacroText("Two"));
    c.fs.AddDir(kTop + "\\1\\2\\3");
    c.fs.AddFile(kTop + "\\1\\2\\3\\three.rkm", test::MacroText("Three"));
    EXPECT_EQ(Describe(c.Build("", 0).items), "Top");
    EXPECT_EQ(c.fs.lists.count(kTop + "\\1"), 0u) << "depth 0 does not look into subfolders";
    EXPECT_EQ(Describe(c.Build("", 1).items), "Top,[1:One]");
    EXPECT_EQ(Describe(c.Build("", 2).items), "Top,[1:One,[2:Two]]");
    EXPECT_EQ(Describe(c.Build("", 10).items), "Top,[1:One,[2:Two,[3:Three]]]");
}

TEST(MacroCatalogue, EmptyFoldersAddNoSubmenu) {
    Catalogue c;
    c.fs.AddDir(kTop + "\\empty");
    c.fs.AddDir(kTop + "\\empty\\inner");
    c.fs.AddFile(kTop + "\\empty\\inner\\notes.txt", "no header");
    c.fs.AddDir(kTop + "\\full");
    c.fs.AddDir(kTop + "\\full\\inner");
    c.fs.AddFile(kTop + "\\full\\inner\\m.rkm", test::MacroText("M"));
    EXPECT_EQ(Describe(c.Build().items), "[full:[inner:M]]");
}

TEST(MacroCatalogue, MaximumCountsOverTheWholeTree) {
    Catalogue c;
    for (int i = 1; i <= 5; ++i)
        c.fs.AddFile(kTop + "\\m" + std::to_string(i), test::MacroText("M" + std::to_string(i)));
    c.fs.AddDir(kTop + "\\sub");
    c.fs.AddFile(kTop + "\\sub\\s", test::MacroText("S"));
    MacroMenuModel m = c.Build("", 2, 3);
    EXPECT_EQ(Describe(m.items), "M1,M2,M3");
    EXPECT_TRUE(m.maximumReached);
    EXPECT_EQ(c.fs.opens.count(kTop + "\\m4"), 0u) << "the search ends at the maximum";
    EXPECT_EQ(c.fs.lists.count(kTop + "\\sub"), 0u) << "no subfolders examined";

    // The maximum reached inside a subfolder ends the whole scan; that submenu stays.
    c.fs.listings[kTop].clear();
    c.fs.AddDir(kTop + "\\a");
    c.fs.AddFile(kTop + "\\a\\1", test::MacroText("A1"));
    c.fs.AddFile(kTop + "\\a\\2", test::MacroText("A2"));
    c.fs.AddDir(kTop + "\\b");
    c.fs.AddFile(kTop + "\\b\\1", test::MacroText("B1"));
    c.fs.AddFile(kTop + "\\top", test::MacroText("Top"));
    m = c.Build("", 2, 2);
    EXPECT_EQ(Describe(m.items), "Top,[a:A1]");
    EXPECT_TRUE(m.maximumReached);

    // Exactly the maximum found: it is reached (one beep), all are listed.
    m = c.Build("", 2, 4);
    EXPECT_EQ(Describe(m.items), "Top,[a:A1,A2],[b:B1]");
    EXPECT_TRUE(m.maximumReached);
    m = c.Build("", 2, 5);
    EXPECT_FALSE(m.maximumReached);

    // Hidden targeted macros do not count.
    c.fs.files[kTop + "\\top"] = test::MacroText("Top", "Other");
    EXPECT_EQ(Describe(c.Build("", 2, 2).items), "[a:A1,A2]");
}

TEST(MacroCatalogue, FindMacroEntryByCommandId) {
    Catalogue c;
    c.fs.AddFile(kTop + "\\x", test::MacroText("X"));
    c.fs.AddFile(kTop + "\\y", test::MacroText("Y"));
    c.fs.AddDir(kTop + "\\sub");  // its entry, id -1, lies between the macros' entries
    c.fs.AddFile(kTop + "\\sub\\z", test::MacroText("Z"));
    MacroMenuModel m = c.Build("", 2, 5);
    ASSERT_EQ(m.entries.at(2).id, -1);
    ASSERT_NE(FindMacroEntry(m, 10002), nullptr);
    EXPECT_EQ(FindMacroEntry(m, 10002)->path, kTop + "\\sub\\z");
    EXPECT_EQ(FindMacroEntry(m, 10003), nullptr);
    EXPECT_EQ(FindMacroEntry(m, 9999), nullptr);
    EXPECT_EQ(FindMacroEntry(m, -1), nullptr) << "folder entries are never chosen";
    EXPECT_EQ(FindMacroEntry(m, 10005), nullptr) << "beyond the maximum";

    // Maximum zero lists nothing; no maximum lets an id reach the menu's own commands.
    m = c.Build("", 2, 0);
    EXPECT_TRUE(m.items.empty());
    EXPECT_TRUE(m.maximumReached);
    EXPECT_EQ(FindMacroEntry(m, ID_MACRO_FIRST), nullptr);
    m = c.Build("", 2, 1000000);
    EXPECT_EQ(m.macroFileMax, kMaxMacroItems);
    EXPECT_LT(ID_MACRO_FIRST + m.macroFileMax, 32771);
    EXPECT_EQ(FindMacroEntry(m, 32775), nullptr) << "the editor command is not a macro id";
    EXPECT_NE(FindMacroEntry(m, ID_MACRO_FIRST), nullptr);
}

TEST(MacroCatalogue, BadEntriesAreSkipped) {
    Catalogue c;
    c.fs.AddFile(kTop + "\\locked.rkm", test::MacroText("Locked"));
    c.fs.locked.insert(kTop + "\\locked.rkm");
    c.fs.AddFile(kTop + "\\vanishes.rkm", test::MacroText("Vanishes"));
    c.fs.AddFile(kTop + "\\binary.bin", std::string("\x00\x01\xFF\xFE\x81", 5));
    c.fs.AddFile(kTop + "\\empty.rkm", "");
    c.fs.AddFile(kTop + "\\日本語 表.rkm", test::MacroText(""));
    c.fs.AddFile(kTop + "\\titled.rkm", test::MacroText("予定表\\"));
    c.fs.AddDir(kTop + "\\closed");
    c.fs.AddFile(kTop + "\\closed\\m.rkm", test::MacroText("Closed"));
    c.fs.unlistable.insert(kTop + "\\closed");
    c.fs.listings[kTop].push_back({"", false});  // a nameless entry from a broken listing
    c.fs.onOpen = [&](const std::string& path) {
        if (path == kTop + "\\vanishes.rkm")
            c.fs.files.erase(path);
    };
    const MacroMenuModel m = c.Build();
    EXPECT_EQ(Describe(m.items), "日本語 表.rkm,予定表\\");
    EXPECT_EQ(m.itemCount, 2);
}

TEST(MacroCatalogue, MissingTopFolderGivesAnEmptyMenu) {
    test::ListingFileSystem fs;
    EXPECT_TRUE(CMacroCatalogue(fs, "", 2, 100).Build("").items.empty());
    EXPECT_TRUE(fs.lists.empty()) << "an empty folder string is not searched";
    EXPECT_TRUE(CMacroCatalogue(fs, "", 2, 100).Build("C:\\none").items.empty());
}

TEST(MacroCatalogue, PathsBeyondTheBufferAreSkippedNotCut) {
    Catalogue c;
    const std::string fits(259 - kTop.size() - 1, 'f');     // folder + "\" + name = 259 bytes
    const std::string tooLong(260 - kTop.size() - 1, 'g');  // 260 bytes: no room for the zero
    c.fs.AddFile(kTop + "\\" + fits, test::MacroText("Fits"));
    c.fs.AddFile(kTop + "\\" + tooLong, test::MacroText("Too long"));
    // A folder whose path fits but whose search pattern "\*.*" does not.
    const std::string dir(257 - kTop.size() - 1, 'd');
    c.fs.AddDir(kTop + "\\" + dir);
    c.fs.AddFile(kTop + "\\" + dir + "\\x", test::MacroText("X"));
    const MacroMenuModel m = c.Build();
    EXPECT_EQ(Describe(m.items), "Fits");
    EXPECT_EQ(c.fs.opens.count(kTop + "\\" + tooLong), 0u);
    EXPECT_EQ(c.fs.lists.count(kTop + "\\" + dir), 0u);
    for (const MacroMenuEntry& e : m.entries)
        EXPECT_LT(e.path.size(), kMaxPathBytes);
}

TEST(MacroCatalogue, FolderLoopsEndAtThePathLimit) {
    // A listing that always shows a subfolder "loop" (like a junction to its parent).
    class LoopFs : public test::ListingFileSystem {
    public:
        bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) override {
            ++lists[path];
            entries = {{"m.rkm", false}, {"loop", true}};
            return true;
        }
        std::unique_ptr<IReadFile> OpenRead(const std::string&, bool, SysError*) override {
            auto r = std::make_unique<Reader>();
            r->data = "; <RKMACRO>m\r\n";
            return r;
        }
    } fs;
    const MacroMenuModel m = CMacroCatalogue(fs, "", 1000000, 100000).Build(kTop);
    EXPECT_LT(fs.lists.size(), 60u);
    EXPECT_GT(m.itemCount, 40);
}

}  // namespace
}  // namespace zv
