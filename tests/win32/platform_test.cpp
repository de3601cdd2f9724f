// The shared Win32 layer: text conversion, the file system with share modes, folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/filesystem.h"
#include "common/folders.h"
#include "common/win32/text.h"
#include "win32_helpers.h"

namespace zv {
namespace {

using test::TempFolder;
using test::TempTree;

TEST(Win32Text, RoundTripsCp932) {
    const std::string s = "表示 ソフト\\日本語";
    EXPECT_EQ(FromWide(ToWide(s)), s);
    EXPECT_EQ(ToWide("表"), std::wstring(L"\u8868"));
    EXPECT_EQ(FromWide(L"\u8868"), std::string("\x95\x5C"));
    EXPECT_EQ(ToWide(""), L"");
}

TEST(Win32FileSystem, ExclusiveOpensBlockOthersAndAppendWritesAtTheEnd) {
    IFileSystem& fs = PlatformFileSystem();
    const std::string path = TempFolder() + "zv 表 append.txt";
    DeleteFileW(ToWide(path).c_str());
    SysError error = 0;
    {
        auto created = fs.OpenAppend(path, &error);
        ASSERT_NE(created, nullptr) << "a missing file is created";
        EXPECT_TRUE(created->Write("one\r\n"));
        EXPECT_EQ(fs.OpenRead(path, false, &error), nullptr) << "held without sharing";
    }
    ASSERT_NE(fs.OpenAppend(path, &error), nullptr);
    EXPECT_TRUE(fs.OpenAppend(path, &error)->Write("two\r\n"));
    std::string content;
    ASSERT_TRUE(fs.ReadAll(path, content));
    EXPECT_EQ(content, "one\r\ntwo\r\n");
    {
        auto run = fs.CreateWrite(path, /*exclusive=*/true, &error);  // an engine's run
        ASSERT_NE(run, nullptr);
        EXPECT_EQ(fs.OpenAppend(path, &error), nullptr);
        EXPECT_EQ(error, static_cast<SysError>(ERROR_SHARING_VIOLATION));
    }
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

const DirEntry* Named(const std::vector<DirEntry>& entries, const std::string& name) {
    for (const DirEntry& e : entries) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

TEST(Win32FileSystem, ListingCarriesTimesAndSizesInTheSearchOrder) {
    IFileSystem& fs = PlatformFileSystem();
    const TempTree tree("zv 表 stamps");
    const std::string& dir = tree.path;
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
    EXPECT_EQ(after.size(), before.size()) << "no temporary file is left behind";
    EXPECT_GT(Named(after, "表.rkm")->lastWrite, e->lastWrite);

    // A file or a missing folder is no folder to list.
    EXPECT_FALSE(fs.ListDirectory(file, after));
    EXPECT_FALSE(fs.ListDirectory(dir + "\\none", after));
}

// Change notifications arrive a moment after the change under Wine.
bool ChangedWithin(IFolderWatch& watch, DWORD ms) {
    return test::WaitFor([&] { return watch.Changed(); }, ms);
}

// Rearms until the watch stays quiet for a while (late notifications of earlier changes
// may still come in); false when it never does.
bool Quiet(IFolderWatch& watch) {
    for (int i = 0; i < 10; ++i) {
        if (!watch.Rearm())
            return false;
        if (!ChangedWithin(watch, 300))
            return true;
    }
    return false;
}

TEST(Win32FileSystem, FolderWatchSeesItsEntriesAndTheTrackedPath) {
    IFileSystem& fs = PlatformFileSystem();
    const TempTree tree("zv 表 watch");
    const TempTree movedTree("zv 表 watch moved");
    const std::string& dir = tree.path;
    const std::string deep = dir + "\\sub\\deep";
    fs.MakeDirectory(dir + "\\sub");
    fs.MakeDirectory(deep);
    ASSERT_TRUE(fs.ReplaceContent(deep + "\\a.rkm", "; <RKMACRO>A\r\n"));

    const std::unique_ptr<IFolderWatch> top = fs.WatchFolder(dir, true);
    const std::unique_ptr<IFolderWatch> watch = fs.WatchFolder(deep, false);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(watch, nullptr);
    EXPECT_FALSE(ChangedWithin(*watch, 300)) << "nothing changed yet";

    ASSERT_TRUE(fs.ReplaceContent(deep + "\\b.rkm", "; <RKMACRO>B\r\n"));
    EXPECT_TRUE(ChangedWithin(*watch, 3000)) << "a file added";
    ASSERT_TRUE(Quiet(*watch));
    // Written in place, as a text editor saves.
    ASSERT_TRUE(test::WriteBytes(ToWide(deep + "\\a.rkm"), "; <RKMACRO>C\r\n", TRUNCATE_EXISTING));
    EXPECT_TRUE(ChangedWithin(*watch, 3000)) << "a file written in place, same size";
    ASSERT_TRUE(Quiet(*watch));
    ASSERT_TRUE(SetFileAttributesW(ToWide(deep + "\\a.rkm").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(ChangedWithin(*watch, 3000)) << "an attribute changed";
    SetFileAttributesW(ToWide(deep + "\\a.rkm").c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(Quiet(*watch));

    // A subfolder renamed is a change of the folder it is in.
    ASSERT_TRUE(Quiet(*top));
    ASSERT_TRUE(MoveFileW(ToWide(dir + "\\sub").c_str(), ToWide(dir + "\\sub2").c_str()));
    EXPECT_TRUE(ChangedWithin(*top, 3000)) << "a subfolder renamed";
    ASSERT_TRUE(MoveFileW(ToWide(dir + "\\sub2").c_str(), ToWide(dir + "\\sub").c_str()));

    // The tracked folder renamed away: the folder at the path is no longer the watched one.
    ASSERT_TRUE(RemoveDirectoryW(ToWide(movedTree.path).c_str()));
    ASSERT_TRUE(MoveFileW(ToWide(dir).c_str(), ToWide(movedTree.path).c_str()));
    EXPECT_TRUE(top->Changed());
    EXPECT_FALSE(top->Rearm());
    fs.MakeDirectory(dir);
    EXPECT_TRUE(top->Changed()) << "another folder of the same name";

    // Only existing folders on local disks are watched.
    EXPECT_EQ(fs.WatchFolder(dir + "\\none", true), nullptr);
    EXPECT_EQ(fs.WatchFolder("relative\\folder", false), nullptr);
    EXPECT_EQ(fs.WatchFolder("\\\\server\\share\\macros", false), nullptr);
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
