#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "common/folders.h"
#include "engine/startup.h"

namespace zv {
namespace {

const char* const kAppData = "C:\\Users\\u\\AppData\\Roaming";

class FakeHost : public IEngineStartupHost {
public:
    test::MemoryFileSystem fs;
    std::vector<std::string> messages;
    bool dialogOpen = false;
    int activations = 0, settingsDialogs = 0, statusWindows = 0;
    std::string statusPath;

    IFileSystem& FileSystem() override { return fs; }
    OsVersion QueryOsVersion() override { return {10, 0, 2}; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::string GetAppDataFolder(bool create) override {
        return ComposeAppDataFolder(kAppData, create, fs);
    }
    bool ActivateOpenSettingsDialog() override {
        if (dialogOpen)
            ++activations;
        return dialogOpen;
    }
    void ShowSettingsDialog(CRkCaptureApp&) override { ++settingsDialogs; }
    void ShowStatusWindow(CRkCaptureApp& app) override {
        ++statusWindows;
        statusPath = app.macroPath;
    }
};

const std::string kIni = std::string(kAppData) + "\\Ostrand\\Zorvane\\Zorvane.ini";

TEST(Startup, ValidMacroLoadsSettingsAndOpensStatusWindow) {
    FakeHost host;
    host.fs.files["C:\\m\\a.rkm"] = "; <RKMACRO>title\r\nWAIT:1\r\n";
    CRkCaptureApp app;
    EXPECT_EQ(RunEngineStartup("/M:\"C:\\m\\a.rkm\" /2:\"two\"", app, host),
              StartupOutcome::StatusWindow);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.statusPath, "C:\\m\\a.rkm");
    EXPECT_EQ(app.params.param2, "two");
    EXPECT_EQ(app.osMajor, 10);
    EXPECT_TRUE(app.ntPlatform);
    EXPECT_EQ(app.profilePath, kIni);
    EXPECT_EQ(host.fs.created,
              (std::vector<std::string>{std::string(kAppData) + "\\Ostrand",
                                        std::string(kAppData) + "\\Ostrand\\Zorvane"}));
    EXPECT_NE(host.fs.files[kIni].find("MouseMoveReal=0"), std::string::npos);

    const std::string path = "C:\\マクロ 表\\日報 作成.rkm";
    host.fs.files[path] = "; <RKMACRO>日報\r\n";
    EXPECT_EQ(RunEngineStartup("\"" + path + "\"", app, host), StartupOutcome::StatusWindow);
    EXPECT_EQ(host.statusPath, path) << "a Japanese path with blanks";
}

TEST(Startup, MissingFileShowsOpenMessageWithSystemText) {
    FakeHost host;
    CRkCaptureApp app;
    EXPECT_EQ(RunEngineStartup("\"C:\\none.rkm\"", app, host), StartupOutcome::OpenFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              "RKマクロファイル「C:\\none.rkm」\r\nが開けません。\n\rFile not found.\r\n");
    EXPECT_EQ(host.fs.files.count(kIni), 0u) << "nothing else happens";
    EXPECT_TRUE(host.fs.created.empty());
    EXPECT_EQ(host.statusWindows + host.settingsDialogs, 0);

    host.fs.files["C:\\a.rkm"] = "; <RKMACRO>";
    host.fs.locked.insert("C:\\a.rkm");
    EXPECT_EQ(RunEngineStartup("/M:\"C:\\a.rkm\"", app, host), StartupOutcome::OpenFailed);
    EXPECT_NE(host.messages.at(1).find("Sharing violation."), std::string::npos);
}

TEST(Startup, ForeignFilesShowTheSecondMessage) {
    for (std::string content :
         {std::string(""), std::string("<RKMACRO>x\r\n"), std::string("\0\x01\xff", 3),
          ";" + std::string(59, ' ') + "<RKMACRO>",  // beyond byte 63
          std::string("; <RKMAC\x81")}) {
        FakeHost host;
        host.fs.files["C:\\b.txt"] = content;
        CRkCaptureApp app;
        EXPECT_EQ(RunEngineStartup("C:\\b.txt", app, host), StartupOutcome::NotMacroFile);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], "「C:\\b.txt」\r\nはRKマクロファイルではありません。");
        EXPECT_EQ(host.statusWindows, 0);
    }
}

TEST(Startup, NoMacroShowsSettingsDialogOrActivatesTheOpenOne) {
    FakeHost host;
    CRkCaptureApp app;
    EXPECT_EQ(RunEngineStartup("", app, host), StartupOutcome::SettingsDialog);
    EXPECT_EQ(host.settingsDialogs, 1);
    EXPECT_NE(host.fs.files[kIni].find("LaunchWaitMSec=3000"), std::string::npos)
        << "settings loaded first";

    FakeHost second;
    second.dialogOpen = true;
    CRkCaptureApp app2;
    EXPECT_EQ(RunEngineStartup("", app2, second), StartupOutcome::StatusWindow);
    EXPECT_EQ(second.activations, 1);
    EXPECT_EQ(second.settingsDialogs, 0);
    EXPECT_EQ(second.statusPath, "");

    // /1: given with an unquoted /M: at the end: no macro path, the settings dialog opens.
    FakeHost third;
    CRkCaptureApp app3;
    EXPECT_EQ(RunEngineStartup("/1:\"v\" /M:C:\\a.rkm", app3, third),
              StartupOutcome::SettingsDialog);
    EXPECT_EQ(app3.params.param1, "v");
}

}  // namespace
}  // namespace zv
