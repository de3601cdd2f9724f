#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "common/folders.h"

namespace zv {
namespace {

TEST(Folders, AppDataFolderCreatedOnceWithTheFlag) {
    test::MemoryFileSystem fs;
    EXPECT_EQ(ComposeAppDataFolder("C:\\R", true, fs), "C:\\R\\Ostrand\\Zorvane\\");
    EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\R\\Ostrand", "C:\\R\\Ostrand\\Zorvane"}));
    ComposeAppDataFolder("C:\\R", true, fs);
    EXPECT_EQ(fs.created.size(), 2u) << "a second start creates nothing";

    test::MemoryFileSystem other;
    EXPECT_EQ(ComposeAppDataFolder("C:\\R", false, other), "C:\\R\\Ostrand\\Zorvane\\");
    EXPECT_TRUE(other.created.empty()) << "without the flag nothing is created";
    EXPECT_EQ(ComposeAppDataFolder("", false, other), "\\Ostrand\\Zorvane\\")
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
              "file:///C:/Program%20Files/Zorvane/help/");
    EXPECT_EQ(ComposeHelpAddress("file:///C:/z/help/", "MacroEditor.html", "#Focus"),
              "file:///C:/z/help/MacroEditor.html#Focus");
    EXPECT_EQ(ComposeHelpAddress("B/", "MacroSetting.html", ""), "B/MacroSetting.html");
    EXPECT_EQ(DocumentOpenFailedMessage("file:///x"),
              "file:///x\n上記のドキュメントが開けません。");
}

TEST(Folders, FileAddressesEscapeTheirPath) {
    // A space, "#", "%", "?" and the UTF-8 bytes of 表 (E8 A1 A8) are escaped, so that
    // the browser reads the folder back as it is and "#" does not end the path.
    EXPECT_EQ(FileUrl("C:\\Zv #1 100% ?\\\xE8\xA1\xA8\\Readme.html"),
              "file:///C:/Zv%20%231%20100%25%20%3F/%E8%A1%A8/Readme.html");
    EXPECT_EQ(FileUrl("D:\\a-b_c.d~e\\"), "file:///D:/a-b_c.d~e/");
    EXPECT_EQ(ComposeHelpAddress(HelpBaseAddress("C:\\A#B\\"), "MacroEditor.html", "#Keyin"),
              "file:///C:/A%23B/help/MacroEditor.html#Keyin")
        << "only the anchor's own # stays";

    EXPECT_TRUE(IsBrowserAddress("file:///C:/a.html"));
    EXPECT_TRUE(IsBrowserAddress("HTTPS://example.com/"));
    EXPECT_TRUE(IsBrowserAddress("http://example.com/"));
    EXPECT_FALSE(IsBrowserAddress("C:\\Zorvane_Log.txt"));
    EXPECT_FALSE(IsBrowserAddress("files"));
}

TEST(Folders, BrowserCommandLineCarriesTheWholeAddress) {
    const std::string url = "file:///C:/A%23B/help/MacroEditor.html#Keyin";
    EXPECT_EQ(BrowserCommandLine("\"C:\\B\\browser.exe\" -osint -url \"%1\"", url),
              "\"C:\\B\\browser.exe\" -osint -url \"" + url + "\"");
    EXPECT_EQ(BrowserCommandLine("\"C:\\B\\b.exe\" --single-argument %1", url),
              "\"C:\\B\\b.exe\" --single-argument " + url);
    EXPECT_EQ(BrowserCommandLine("b.exe %L %* 100%%", url), "b.exe " + url + "  100%")
        << "%* and the other arguments stand for nothing";
    EXPECT_EQ(BrowserCommandLine("b.exe -nohome", url), "b.exe -nohome \"" + url + "\"")
        << "no place for the address: it comes last";
    // The address's own escapes are not read as codes of the command.
    EXPECT_EQ(BrowserCommandLine("b.exe %1", "file:///C:/x%201/"), "b.exe file:///C:/x%201/");
}

}  // namespace
}  // namespace zv
