// The shared Win32 layer: text conversion, the file system with share modes, folders.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/filesystem.h"
#include "common/folders.h"
#include "common/win32/text.h"

namespace zv {
namespace {

std::string TempFolder() {
    wchar_t buf[MAX_PATH];
    GetTempPathW(MAX_PATH, buf);
    return FromWide(buf);
}

TEST(Win32Text, RoundTripsCp932) {
    const std::string s = "表示 ソフト\\日本語";
    EXPECT_EQ(FromWide(ToWide(s)), s);
    EXPECT_EQ(ToWide("表"), std::wstring(L"\u8868"));
    EXPECT_EQ(FromWide(L"\u8868"), std::string("\x95\x5C"));
    EXPECT_EQ(ToWide(""), L"");
}

TEST(Win32FileSystem, ExclusiveOpenBlocksOtherOpeners) {
    IFileSystem& fs = PlatformFileSystem();
    const std::string path = TempFolder() + "zv 表 exclusive.txt";
    ASSERT_TRUE(fs.ReplaceContent(path, "; <RKMACRO>x\r\n"));
    SysError error = 0;
    {
        auto held = fs.OpenRead(path, true, &error);
        ASSERT_NE(held, nullptr);
        EXPECT_EQ(fs.OpenRead(path, true, &error), nullptr);
        EXPECT_EQ(error, static_cast<SysError>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(fs.ErrorText(error).empty());
    }
    EXPECT_NE(fs.OpenRead(path, true, &error), nullptr) << "released when closed";
    EXPECT_EQ(fs.OpenRead(path + ".none", true, &error), nullptr);
    EXPECT_EQ(error, static_cast<SysError>(ERROR_FILE_NOT_FOUND));
    DeleteFileW(ToWide(path).c_str());
}

TEST(Win32FileSystem, ReplaceContentAndListing) {
    IFileSystem& fs = PlatformFileSystem();
    const std::string dir = TempFolder() + "zv日本語 dir";
    fs.MakeDirectory(dir);
    ASSERT_TRUE(fs.IsDirectory(dir));
    const std::string file = dir + "\\a.ini";
    ASSERT_TRUE(fs.ReplaceContent(file, "one"));
    ASSERT_TRUE(fs.ReplaceContent(file, "two"));
    std::string content;
    ASSERT_TRUE(fs.ReadAll(file, content));
    EXPECT_EQ(content, "two");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(fs.ListDirectory(dir, entries));
    int files = 0;
    for (const DirEntry& e : entries) {
        if (!e.isDirectory) {
            ++files;
            EXPECT_EQ(e.name, "a.ini") << "no temporary file is left behind";
        }
    }
    EXPECT_EQ(files, 1);
    DeleteFileW(ToWide(file).c_str());
    RemoveDirectoryW(ToWide(dir).c_str());
}

TEST(Win32Folders, ProgramAndAppDataFolders) {
    const std::string program = GetProgramFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '\\');
    const std::string appData = GetAppDataFolder(true);
    EXPECT_GE(appData.size(), std::string("\\Ostrand\\Zorvane\\").size());
    EXPECT_EQ(appData.substr(appData.size() - 17), "\\Ostrand\\Zorvane\\");
    EXPECT_TRUE(PlatformFileSystem().IsDirectory(appData.substr(0, appData.size() - 1)));
}

}  // namespace
}  // namespace zv
