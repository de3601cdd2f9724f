#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "common/folders.h"

namespace zv {
namespace {

TEST(Folders, AppDataFolderCreatesOnceWithFlag) {
    test::MemoryFileSystem fs;
    EXPECT_EQ(ComposeAppDataFolder("C:\\R", true, fs), "C:\\R\\Ostrand\\Zorvane\\");
    EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\R\\Ostrand", "C:\\R\\Ostrand\\Zorvane"}));
    ComposeAppDataFolder("C:\\R", true, fs);
    EXPECT_EQ(fs.created.size(), 2u) << "a second start creates nothing";
}

TEST(Folders, AppDataFolderWithoutFlagOrBase) {
    test::MemoryFileSystem fs;
    EXPECT_EQ(ComposeAppDataFolder("C:\\R", false, fs), "C:\\R\\Ostrand\\Zorvane\\");
    EXPECT_TRUE(fs.created.empty());
    EXPECT_EQ(ComposeAppDataFolder("", false, fs), "\\Ostrand\\Zorvane\\")
        << "relative to the drive root";
}

TEST(Folders, ProgramFolderKeepsTrailBytes) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Zorvane\\RkEngine.exe"),
              "C:\\Program Files\\Zorvane\\");
    // 表 ends in 0x5C: the folder cut must not happen inside it.
    EXPECT_EQ(FolderOfPath("C:\\表\\RkEngine.exe"), "C:\\表\\");
    EXPECT_EQ(FolderOfPath("C:\\ソ表"), "C:\\");
    EXPECT_EQ(FolderOfPath("noslash"), "");
}

TEST(Folders, HelpAddresses) {
    EXPECT_EQ(HelpBaseAddress("C:\\Program Files\\Zorvane\\"),
              "file:///C:/Program Files/Zorvane/help/");
    EXPECT_EQ(ComposeHelpAddress("file:///C:/z/help/", "MacroEditor.html", "#Focus"),
              "file:///C:/z/help/MacroEditor.html#Focus");
    EXPECT_EQ(ComposeHelpAddress("B/", "MacroSetting.html", ""), "B/MacroSetting.html");
    EXPECT_EQ(DocumentOpenFailedMessage("file:///x"),
              "file:///x\n上記のドキュメントが開けません。");
    EXPECT_EQ(FileUrl("C:\\表\\Readme.html"), "file:///C:/表/Readme.html");
}

}  // namespace
}  // namespace zv
