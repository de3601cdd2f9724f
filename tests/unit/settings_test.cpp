#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "engine/settings.h"

namespace zv {
namespace {

const char* const kPath = "C:\\AppData\\Ostrand\\Zorvane\\Zorvane.ini";

TEST(EngineSettings, FreshFileGetsAllNineDefaultsInOrder) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, kPath);
    const EngineSettings s = LoadEngineSettings(profile);
    EXPECT_EQ(s.launchWaitMSec, 3000);
    EXPECT_EQ(s.keyinWaitMSec, 100);
    EXPECT_EQ(s.typeWaitMSec, 5000);
    EXPECT_EQ(s.mouseWClickMSec, 100);
    EXPECT_EQ(s.focusCheckRetry, 10);
    EXPECT_EQ(s.focusCheckMSec, 200);
    EXPECT_EQ(s.pgEndLoopSleepMSec, 1000);
    EXPECT_EQ(s.openClipboardRetry, 50);
    EXPECT_EQ(s.mouseMoveReal, 0);
    EXPECT_EQ(
        fs.files[kPath],
        "[RkEngineSettings]\r\nLaunchWaitMSec=3000\r\nKeyinWaitMSec=100\r\nTypeWaitMSec=5000\r\n"
        "MouseWClickMSec=100\r\nFocusCheckRetry=10\r\nFocusCheckMSec=200\r\nPgEndLoopSleepMSec="
        "1000\r\n"
        "OpenClipboardRetry=50\r\nMouseMoveReal=0\r\n");
}

TEST(EngineSettings, NegativeIsRepairedLargeIsKept) {
    test::MemoryFileSystem fs;
    fs.files[kPath] =
        "[RkEngineSettings]\r\nLaunchWaitMSec=-5\r\nKeyinWaitMSec=99999\r\nFOREGROUNDLOCKTIMEOUT="
        "200000\r\n"
        "TypeWaitMSec=0\r\n";
    IniProfile profile(fs, kPath);
    const EngineSettings s = LoadEngineSettings(profile);
    EXPECT_EQ(s.launchWaitMSec, 3000);
    EXPECT_EQ(s.keyinWaitMSec, 99999);
    EXPECT_EQ(s.typeWaitMSec, 0) << "0 is valid";
    std::string v;
    ASSERT_TRUE(IniLookup(fs.files[kPath], kEngineSection, "LaunchWaitMSec", v));
    EXPECT_EQ(v, "3000");
    ASSERT_TRUE(IniLookup(fs.files[kPath], kEngineSection, "KeyinWaitMSec", v));
    EXPECT_EQ(v, "99999");
    ASSERT_TRUE(IniLookup(fs.files[kPath], kEngineSection, "FOREGROUNDLOCKTIMEOUT", v));
    EXPECT_EQ(v, "200000") << "the launcher's key is not touched";
}

TEST(EngineSettings, UnwritableFileStillGivesDefaults) {
    test::MemoryFileSystem fs;
    fs.readOnly.insert(kPath);
    IniProfile profile(fs, kPath);
    const EngineSettings s = LoadEngineSettings(profile);
    EXPECT_EQ(s.focusCheckRetry, 10);
    EXPECT_EQ(fs.files.count(kPath), 0u);
}

}  // namespace
}  // namespace zv
