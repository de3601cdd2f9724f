#include <gtest/gtest.h>

#include "editor/editor_settings.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

const std::string kIni = "C:\\Users\\u\\AppData\\Roaming\\Ostrand\\Zorvane\\Zorvane.ini";

TEST(EditorSettings, WindowHeightIsWrittenOnlyWhenNormalAndChanged) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, kIni);
    EXPECT_EQ(ReadDefaultWindowHeight(profile), -1);
    EXPECT_FALSE(StoreWindowHeightOnClose(profile, false, 600, 96)) << "minimised or maximised";
    EXPECT_EQ(fs.files.count(kIni), 0u);
    EXPECT_TRUE(StoreWindowHeightOnClose(profile, true, 600, 96));
    EXPECT_EQ(fs.files[kIni], "[RkManagerSettings]\r\nDefaultWindowHeight=600\r\n");
    EXPECT_EQ(ReadDefaultWindowHeight(profile), 600);

    fs.readOnly.insert(kIni);
    EXPECT_FALSE(StoreWindowHeightOnClose(profile, true, 600, 96)) << "unchanged: not written";
    EXPECT_FALSE(StoreWindowHeightOnClose(profile, true, 640, 96)) << "the write failed";
    fs.readOnly.clear();
    EXPECT_TRUE(StoreWindowHeightOnClose(profile, true, 640, 96));
    EXPECT_EQ(ReadDefaultWindowHeight(profile), 640);

    // The macro folder is the launcher's setting, read from its section.
    EXPECT_EQ(ReadMacroTopPath(profile), "");
    profile.WriteString("RkManagerSettings", "RkMacroTopPath", "C:\\wrong");
    profile.WriteString("ZorvaneSettings", "RkMacroTopPath", "D:\\RK_MACRO");
    EXPECT_EQ(ReadMacroTopPath(profile), "D:\\RK_MACRO");
}

TEST(EditorSettings, FrameSizeArithmetic) {
    const FrameMetrics m{4, 4, 19, 23, 28, 20};
    const Size track = MinimumTrackSize({490, 190}, m);
    EXPECT_EQ(track, (Size{502, 292}));

    EXPECT_EQ(RestoredWindowSize(track, -1, 96), std::nullopt);
    EXPECT_EQ(RestoredWindowSize(track, 700, 96), (Size{502, 700}));
    EXPECT_EQ(RestoredWindowSize(track, 100, 96), (Size{502, 292})) << "never below the form";

    TrackLimits limits{{1280, 800}, {100, 100}, {1290, 810}};
    LimitTrackSize(limits, track);
    EXPECT_EQ(limits.minTrackSize, (Size{502, 292}));
    EXPECT_EQ(limits.maxTrackSize, (Size{502, 810})) << "the width is fixed, the height free";
    EXPECT_EQ(limits.maxSize, (Size{502, 800}));

    TrackLimits unknown{{1280, 800}, {100, 100}, {1290, 810}};
    LimitTrackSize(unknown, Size{});
    EXPECT_EQ(unknown.minTrackSize, (Size{100, 100})) << "not yet computed: left alone";
    EXPECT_EQ(unknown.maxSize, (Size{1280, 800}));
}

TEST(RecentFiles, MostRecentFirstWithoutRepeats) {
    RecentFileList recent;
    for (int i = 1; i <= 9; ++i)
        recent.Add("C:\\m\\" + std::to_string(i) + ".txt");
    ASSERT_EQ(recent.Entries().size(), 8u);
    EXPECT_EQ(recent.Entries().front(), "C:\\m\\9.txt");
    EXPECT_EQ(recent.Entries().back(), "C:\\m\\2.txt") << "the oldest fell off";

    recent.Add("c:\\M\\5.TXT");
    EXPECT_EQ(recent.Entries().front(), "c:\\M\\5.TXT") << "moved to the front as now named";
    EXPECT_EQ(recent.Entries().size(), 8u);
    EXPECT_EQ(std::count_if(recent.Entries().begin(), recent.Entries().end(),
                            [](const std::string& e) { return SamePath(e, "C:\\m\\5.txt"); }),
              1);
    EXPECT_EQ(recent.MenuText(0), "&1 c:\\M\\5.TXT");
    EXPECT_EQ(recent.EntryPath(8), "");
    EXPECT_EQ(recent.MenuText(8), "");

    recent.Add("C:\\R&D\\a.txt");
    EXPECT_EQ(recent.MenuText(0), "&1 C:\\R&&D\\a.txt");
}

TEST(RecentFiles, PathsCompareAsWindowsDoes) {
    EXPECT_TRUE(SamePath("C:\\Macro\\a.TXT", "c:\\macro\\A.txt"));
    EXPECT_TRUE(SamePath("C:\\ＡＢＺ\\a", "C:\\ａｂｚ\\A")) << "full-width letters";
    EXPECT_TRUE(SamePath("αΩ", "ΑΩ"));
    EXPECT_TRUE(SamePath("АНОЯ", "аноя")) << "Cyrillic, across the gap at 0x847F";
    EXPECT_FALSE(SamePath("C:\\a.txt", "C:\\a.txt "));
    EXPECT_FALSE(SamePath("\x93\x61", "\x93\x41")) << "a trail byte is not a letter";
    EXPECT_FALSE(SamePath("ａ", "Ｂ")) << "ａ folds to Ａ, not to its neighbour";
    EXPECT_FALSE(SamePath("ａ", "A")) << "full-width and ASCII letters differ";
    EXPECT_FALSE(SamePath("C:\\ab", "C:\\a"));
}

TEST(RecentFiles, StoredInTheirSection) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, kIni);
    fs.files[kIni] =
        "[Recent File List]\r\nFile1=C:\\m\\朝.txt\r\nFile2=\r\nFile3=c:\\M\\朝.TXT\r\n"
        "File4=D:\\b.txt\r\nFile9=D:\\ignored.txt\r\n";
    RecentFileList recent;
    recent.Load(profile);
    EXPECT_EQ(recent.Entries(), (std::vector<std::string>{"C:\\m\\朝.txt", "D:\\b.txt"}));

    recent.Add("E:\\new.txt");
    EXPECT_TRUE(recent.Save(profile));
    RecentFileList again;
    again.Load(profile);
    EXPECT_EQ(again.Entries(), recent.Entries());
    std::string value;
    EXPECT_TRUE(IniLookup(fs.files[kIni], "Recent File List", "File1", value));
    EXPECT_EQ(value, "E:\\new.txt");
    EXPECT_TRUE(IniLookup(fs.files[kIni], "Recent File List", "File3", value));
    EXPECT_EQ(value, "D:\\b.txt");
    EXPECT_TRUE(IniLookup(fs.files[kIni], "Recent File List", "File4", value));
    EXPECT_EQ(value, "") << "an unused key is emptied, not left with an old entry";
}

}  // namespace
}  // namespace zv
