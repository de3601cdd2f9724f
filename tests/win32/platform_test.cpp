// The shared Win32 layer: text conversion, the file system with share modes, folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

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

const DirEntry* Named(const std::vector<DirEntry>& entries, const std::string& name) {
    for (const DirEntry& e : entries) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

TEST(Win32FileSystem, ListingCarriesTimesAndSizesInTheSearchOrder) {
    IFileSystem& fs = PlatformFileSystem();
    const std::string dir = TempFolder() + "zv 表 stamps";
    fs.MakeDirectory(dir);
    const std::string file = dir + "\\表.rkm";
    ASSERT_TRUE(fs.ReplaceContent(file, "12345"));
    fs.MakeDirectory(dir + "\\sub");
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(fs.ReplaceContent(dir + "\\f" + std::to_string(i * 7919 % 97), "x"));
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const FileTime nowTicks = static_cast<FileTime>(
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);

    std::vector<DirEntry> before;
    ASSERT_TRUE(fs.ListDirectory(dir, before));
    const DirEntry* e = Named(before, "表.rkm");
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->isDirectory);
    EXPECT_EQ(e->size, 5u);
    EXPECT_LT(std::abs(e->lastWrite - nowTicks), 60 * kFileTimeTicksPerSecond);
    EXPECT_GE(e->changed, e->lastWrite);
    ASSERT_NE(Named(before, "sub"), nullptr);
    EXPECT_TRUE(Named(before, "sub")->isDirectory);

    // The order is the one a search for "folder\*.*" gives, which the menu follows.
    std::vector<std::string> searched;
    WIN32_FIND_DATAW data;
    const HANDLE h = FindFirstFileW(ToWide(dir + "\\*.*").c_str(), &data);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        searched.push_back(FromWide(data.cFileName));
    } while (FindNextFileW(h, &data));
    FindClose(h);
    std::vector<std::string> listed;
    for (const DirEntry& entry : before)
        listed.push_back(entry.name);
    EXPECT_EQ(listed, searched);

    // An attribute change moves only the change time; new content moves the write time.
    Sleep(50);
    ASSERT_TRUE(SetFileAttributesW(ToWide(file).c_str(), FILE_ATTRIBUTE_READONLY));
    std::vector<DirEntry> after;
    ASSERT_TRUE(fs.ListDirectory(dir, after));
    ASSERT_NE(Named(after, "表.rkm"), nullptr);
    EXPECT_EQ(Named(after, "表.rkm")->lastWrite, e->lastWrite);
    EXPECT_GT(Named(after, "表.rkm")->changed, e->changed);
    ASSERT_TRUE(SetFileAttributesW(ToWide(file).c_str(), FILE_ATTRIBUTE_NORMAL));
    Sleep(50);
    ASSERT_TRUE(fs.ReplaceContent(file, "1234567"));
    ASSERT_TRUE(fs.ListDirectory(dir, after));
    ASSERT_NE(Named(after, "表.rkm"), nullptr);
    EXPECT_EQ(Named(after, "表.rkm")->size, 7u);
    EXPECT_GT(Named(after, "表.rkm")->lastWrite, e->lastWrite);

    // A file or a missing folder is no folder to list.
    EXPECT_FALSE(fs.ListDirectory(file, after));
    EXPECT_FALSE(fs.ListDirectory(dir + "\\none", after));

    for (const DirEntry& entry : before) {
        if (!entry.isDirectory)
            DeleteFileW(ToWide(dir + "\\" + entry.name).c_str());
    }
    RemoveDirectoryW(ToWide(dir + "\\sub").c_str());
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
