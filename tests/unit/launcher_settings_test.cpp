#include <gtest/gtest.h>

#include "launcher_fakes.h"
#include "common/profile.h"
#include "launcher/launcher_settings.h"
#include "common/strutil.h"

namespace zv {
namespace {

const std::string kIni = "C:\\Users\\u\\AppData\\Roaming\\Ostrand\\Zorvane\\Zorvane.ini";
const std::string kDefaultFolder = "C:\\Program Files\\Zorvane\\RK_MACRO";

struct Fixture {
    test::RecordingHost host;
    IniProfile profile{host.fs, kIni};
    std::string Get(std::string_view key) {
        return profile.GetString(kLauncherSection, key, "<missing>");
    }
    void Put(std::string_view key, std::string_view value) {
        profile.WriteString(kLauncherSection, key, value);
    }
};

TEST(LauncherSettings, FreshAccountWritesAllSixDefaultsAndCreatesTheMacroFolder) {
    Fixture f;
    const LauncherSettings s = LoadSettings(f.profile, f.host);
    EXPECT_EQ(s.splashShowSec, 5);
    EXPECT_EQ(s.hotkey, 0x5A);
    EXPECT_EQ(s.hotkeyMod, 1);
    EXPECT_EQ(s.macroTopPath, kDefaultFolder);
    EXPECT_EQ(s.macroFileMax, 100);
    EXPECT_EQ(s.macroDirDepth, 2);
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_TRUE(f.host.fs.IsDirectory(kDefaultFolder));
    EXPECT_EQ(f.host.fs.files[kIni],
              "[ZorvaneSettings]\r\nSplashShowSec=5\r\nHotkey=90\r\nHotkeyMod=1\r\n"
              "RkMacroTopPath=C:\\Program "
              "Files\\Zorvane\\RK_MACRO\r\nRkMacroFileMax=100\r\nRkMacroDirDepht=2\r\n");

    // A second load finds everything valid: nothing is written or created again.
    const std::string before = f.host.fs.files[kIni];
    f.host.fs.created.clear();
    LoadSettings(f.profile, f.host);
    EXPECT_EQ(f.host.fs.files[kIni], before);
    EXPECT_TRUE(f.host.fs.created.empty());
}

TEST(LauncherSettings, IntegerRepairRules) {
    Fixture f;
    f.host.fs.AddDir("D:\\m");
    f.Put("RkMacroTopPath", "D:\\m");
    struct Case {
        const char* key;
        const char* stored;
        std::int32_t used;
        const char* after;
    };
    for (const Case& c : std::vector<Case>{
             {"SplashShowSec", "-3", 5, "5"},
             {"SplashShowSec", "0", 0, "0"},
             {"Hotkey", "256", 0x5A, "90"},   // low byte 0: invalid
             {"Hotkey", "346", 0x5A, "346"},  // low byte 0x5A: used as is, file untouched
             {"Hotkey", "0", 0x5A, "90"},
             {"Hotkey", "x", 0x5A, "90"},  // no digits reads as 0
             {"HotkeyMod", "0", 0, "0"},   // no modifier is allowed
             {"HotkeyMod", "-1", 1, "1"},
             {"HotkeyMod", "-2", 0xFE, "-2"},  // only the missing marker is repaired
             {"HotkeyMod", "258", 2, "258"},
             {"RkMacroFileMax", "0", 0, "0"},
             {"RkMacroFileMax", "-5", 100, "100"},
             {"RkMacroDirDepht", "0", 0, "0"},
             {"RkMacroDirDepht", "-1", 2, "2"},
         }) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        f.Put(c.key, c.stored);
        const LauncherSettings s = LoadSettings(f.profile, f.host);
        const std::string key = c.key;
        const std::int32_t used = key == "SplashShowSec"    ? s.splashShowSec
                                  : key == "Hotkey"         ? s.hotkey
                                  : key == "HotkeyMod"      ? s.hotkeyMod
                                  : key == "RkMacroFileMax" ? s.macroFileMax
                                                            : s.macroDirDepth;
        EXPECT_EQ(used, c.used);
        EXPECT_EQ(f.Get(c.key), c.after);
        f.Put(c.key, key == "Hotkey" ? "90" : key == "HotkeyMod" ? "1" : "5");  // valid again
    }
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(LauncherSettings, MissingMacroFolderIsReportedAndReplacedByTheDefault) {
    Fixture f;
    f.Put("RkMacroTopPath", "E:\\gone 表");
    const LauncherSettings s = LoadSettings(f.profile, f.host);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0],
              "RKマクロパス\r\nE:\\gone 表\r\nは存在しません。既定値に戻します。\r\n"
              "\n\r変更する場合は「RKマクロパス選択(M)」で設定して下さい。");
    EXPECT_EQ(s.macroTopPath, kDefaultFolder);
    EXPECT_EQ(f.Get("RkMacroTopPath"), kDefaultFolder);
    EXPECT_TRUE(f.host.fs.IsDirectory(kDefaultFolder));
}

TEST(LauncherSettings, AFileIsAnExistingMacroPathAndPercentSignsAreShownLiterally) {
    Fixture f;
    f.host.fs.AddFile("D:\\one.rkm", "; <RKMACRO>x");
    f.Put("RkMacroTopPath", "D:\\one.rkm");
    EXPECT_EQ(LoadSettings(f.profile, f.host).macroTopPath, "D:\\one.rkm");
    EXPECT_TRUE(f.host.messages.empty());

    f.Put("RkMacroTopPath", "E:\\%s%d%n");
    LoadSettings(f.profile, f.host);
    ASSERT_FALSE(f.host.messages.empty());
    EXPECT_NE(f.host.messages[0].find("E:\\%s%d%n\r\n"), std::string::npos);
}

// A file system on which no folder can be created.
class NoCreateFs : public test::ListingFileSystem {
public:
    bool MakeDirectory(const std::string& path) override {
        created.push_back(path);
        return false;
    }
};

TEST(LauncherSettings, DefaultFolderThatCannotBeCreatedShowsBothMessagesAndIsUsed) {
    class Host : public test::RecordingHost {
    public:
        NoCreateFs noCreate;
        IFileSystem& FileSystem() override { return noCreate; }
    } host;
    IniProfile profile(host.fs, kIni);  // the configuration file itself stays writable
    const LauncherSettings s = LoadSettings(profile, host);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].find("RKマクロパス\r\n" + kDefaultFolder + "\r\nは存在しません。"),
              0u);
    EXPECT_EQ(host.messages[1], "既定値のRKマクロパスが設定できませんでした。");
    EXPECT_EQ(s.macroTopPath, kDefaultFolder);
    EXPECT_EQ(profile.GetString(kLauncherSection, "RkMacroTopPath", ""), kDefaultFolder);
}

TEST(LauncherSettings, UnwritableConfigurationKeepsTheDefaultsForTheRun) {
    Fixture f;
    f.host.fs.readOnly.insert(kIni);
    const LauncherSettings s = LoadSettings(f.profile, f.host);
    EXPECT_EQ(s.hotkey, 0x5A);
    EXPECT_EQ(s.macroFileMax, 100);
    EXPECT_EQ(s.macroTopPath, kDefaultFolder);
    EXPECT_EQ(f.host.fs.files.count(kIni), 0u);
}

}  // namespace
}  // namespace zv
