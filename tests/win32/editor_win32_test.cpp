// The editor's OLE data object as another program or editor window meets it.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include "editor/dragdrop.h"
#include "editor/win32/dragdrop_win32.h"

namespace zv {
namespace {

class OleScope {
public:
    OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (ok_)
            OleUninitialize();
    }

private:
    bool ok_;
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
        EXPECT_EQ(ParseDragText(read), std::optional<std::string>("TYPE:\"表示\""));
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
    EXPECT_FALSE(ParseDragText(read)) << "text without the marker carries no line";
    EXPECT_FALSE(ReadDroppedText(nullptr, read));
}

}  // namespace
}  // namespace zv
