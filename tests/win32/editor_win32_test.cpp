// The editor's OLE data object as another program or editor window meets it; saving over
// a file the system will not let it replace.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <vector>

#include "common/filesystem.h"
#include "common/win32/text.h"
#include "editor/document.h"
#include "editor/dragdrop.h"
#include "editor/win32/dragdrop_win32.h"
#include "win32_helpers.h"

namespace zv {
namespace {

struct OleScope {
    const bool ok = SUCCEEDED(OleInitialize(nullptr));
    ~OleScope() {
        if (ok)
            OleUninitialize();
    }
};

TEST(EditorDataObject, OffersTheLineAsPlainTextOnlyAndEveryReaderGetsItsOwnCopy) {
    OleScope ole;
    const std::string payload = ComposeDragText("TYPE:\"表示\"");
    ComPtr<IDataObject> data = CreateTextDataObject(payload);
    ASSERT_TRUE(data);

    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC unicode{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC stream{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_EQ(data->QueryGetData(&text), S_OK);
    EXPECT_NE(data->QueryGetData(&unicode), S_OK) << "no other format is offered";
    EXPECT_NE(data->QueryGetData(&stream), S_OK);

    ComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.Receive()), S_OK);
    FORMATETC listed[2]{};
    ULONG got = 0;
    formats->Next(2, listed, &got);
    ASSERT_EQ(got, 1u);
    EXPECT_EQ(listed[0].cfFormat, CF_TEXT);

    // Two readers each free what they got; the object keeps its own block.
    for (int reader = 0; reader < 2; ++reader) {
        std::string read;
        ASSERT_TRUE(ReadDroppedText(data.Get(), read));
        EXPECT_EQ(read, payload);
    }
    STGMEDIUM medium{};
    ASSERT_EQ(data->GetData(&text, &medium), S_OK);
    const char* bytes = static_cast<const char*>(GlobalLock(medium.hGlobal));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(GlobalSize(medium.hGlobal) >= payload.size() + 1, true);
    EXPECT_EQ(bytes[payload.size()], '\0') << "the text ends in a zero byte";
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    EXPECT_EQ(data->GetData(&unicode, &medium), DV_E_FORMATETC);
}

TEST(EditorDataObject, TextOfAnotherProgramIsReadUpToItsZeroByte) {
    OleScope ole;
    ComPtr<IDataObject> plain = CreateTextDataObject(std::string("abc\0def", 7));
    std::string read;
    ASSERT_TRUE(ReadDroppedText(plain.Get(), read));
    EXPECT_EQ(read, "abc");
    EXPECT_FALSE(ReadDroppedText(nullptr, read));
}

std::vector<std::string> FileNames(IFileSystem& fs, const std::string& folder) {
    std::vector<DirEntry> entries;
    fs.ListDirectory(folder, entries);
    std::vector<std::string> names;
    for (const DirEntry& e : entries) {
        if (!e.isDirectory)
            names.push_back(e.name);
    }
    return names;
}

// A process of its own holding path open without sharing: a suspended copy of this
// program that inherited the handle, which this process then closes.
PROCESS_INFORMATION HoldInAnotherProcess(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const UniqueFile h(CreateFileW(ToWide(path).c_str(), GENERIC_READ, 0, &inherit, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h)
        return PROCESS_INFORMATION{};
    return test::StartSelf(L"--gtest_list_tests", CREATE_SUSPENDED, TRUE);
}

TEST(EditorSave, OverAReadOnlyOrHeldFileFailsSaysSoAndLeavesNoTemporaryFile) {
    IFileSystem& fs = PlatformFileSystem();
    const test::TempTree tree("zv 保存 over");
    const std::string& folder = tree.path;
    const std::string path = folder + "\\朝.txt";
    const std::wstring widePath = ToWide(path);
    const std::string old = "; <RKMACRO>old\r\n\r\n\r\nWAIT:1\r\n";
    ASSERT_TRUE(fs.ReplaceContent(path, old));

    EditorDocument doc;
    doc.NoteListChange(doc.List().InsertLineAfter(-1, "WAIT:2"));
    const auto saveFails = [&](const char* why) {
        EXPECT_FALSE(doc.Save(fs, path).ok) << why;
        EXPECT_EQ(FileNames(fs, folder), std::vector<std::string>{"朝.txt"})
            << why << ": no temporary file is left behind";
    };
    std::string content;

    ASSERT_TRUE(SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_READONLY));
    saveFails("read-only");
    SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(fs.ReadAll(path, content));
    EXPECT_EQ(content, old);

    const PROCESS_INFORMATION holder = HoldInAnotherProcess(path);
    ASSERT_NE(holder.hProcess, nullptr);
    saveFails("held by another process");
    test::EndProcess(holder, 10000);
    EXPECT_TRUE(fs.ReadAll(path, content));
    EXPECT_EQ(content, old);

    // Released, the same save goes through: the failures were the file's.
    EXPECT_TRUE(doc.Save(fs, path).ok);
    EXPECT_TRUE(fs.ReadAll(path, content));
    EXPECT_EQ(content, "; <RKMACRO>\r\n\r\n\r\nWAIT:2\r\n");
}

}  // namespace
}  // namespace zv
