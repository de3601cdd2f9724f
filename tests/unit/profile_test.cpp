#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "common/profile.h"

namespace zv {
namespace {

TEST(Ini, LookupIsCaseInsensitiveAndSectionScoped) {
    const std::string text =
        "[Other]\r\nKey=1\r\n[RkEngineSettings]\r\n  launchwaitmsec = 42 \r\n;Key=3\r\nName=\"a "
        "b\"\r\n";
    std::string v;
    EXPECT_TRUE(IniLookup(text, "rkenginesettings", "LaunchWaitMSec", v));
    EXPECT_EQ(v, "42");
    EXPECT_TRUE(IniLookup(text, "RkEngineSettings", "Name", v));
    EXPECT_EQ(v, "a b");
    EXPECT_FALSE(IniLookup(text, "RkEngineSettings", "Key", v))
        << "commented and other-section keys";
    EXPECT_FALSE(IniLookup("", "S", "K", v));
}

TEST(Ini, SetReplacesInPlaceAppendsToSectionOrAddsSection) {
    std::string text = "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n";
    text = IniSet(text, "a", "X", "5");
    EXPECT_EQ(text, "[A]\r\nX=5\r\n\r\n[B]\r\ny=2\r\n");
    text = IniSet(text, "A", "z", "7");
    EXPECT_EQ(text, "[A]\r\nX=5\r\nz=7\r\n\r\n[B]\r\ny=2\r\n");
    text = IniSet(text, "C", "k", "v");
    EXPECT_EQ(text, "[A]\r\nX=5\r\nz=7\r\n\r\n[B]\r\ny=2\r\n[C]\r\nk=v\r\n");
    EXPECT_EQ(IniSet("", "S", "k", "表"), "[S]\r\nk=表\r\n");
    EXPECT_EQ(IniSet("[S]", "S", "k", "1"), "[S]\r\nk=1\r\n") << "file without a final line end";
}

TEST(IniProfile, IntegersDefaultsAndNegativeValues) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, "C:\\z.ini");
    EXPECT_EQ(profile.GetInt("S", "k", -1), -1) << "missing file";
    fs.files["C:\\z.ini"] = "[S]\r\na=-5\r\nb=99999\r\nc=\r\nd=abc\r\ne=12x\r\n";
    EXPECT_EQ(profile.GetInt("S", "a", 0), -5);
    EXPECT_EQ(profile.GetInt("S", "b", 0), 99999);
    EXPECT_EQ(profile.GetInt("S", "c", 7), 7) << "empty value reads as the default";
    EXPECT_EQ(profile.GetInt("S", "d", 7), 0);
    EXPECT_EQ(profile.GetInt("S", "e", 7), 12);
    EXPECT_EQ(profile.GetString("S", "missing", "def"), "def");
}

TEST(IniProfile, WritesCreateAndKeepOtherContent) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, "C:\\z.ini");
    EXPECT_TRUE(profile.WriteInt("S", "k", -3));
    EXPECT_EQ(fs.files["C:\\z.ini"], "[S]\r\nk=-3\r\n");
    fs.files["C:\\z.ini"] = "; note\r\n[S]\r\nk=-3\r\n[T]\r\nq=1\r\n";
    EXPECT_TRUE(profile.WriteString("S", "p", "C:\\表\\RK_MACRO"));
    EXPECT_EQ(fs.files["C:\\z.ini"],
              "; note\r\n[S]\r\nk=-3\r\np=C:\\表\\RK_MACRO\r\n[T]\r\nq=1\r\n");
    EXPECT_EQ(profile.GetString("s", "P", ""), "C:\\表\\RK_MACRO");
}

TEST(IniProfile, UnwritableOrUnreadableFileIsLeftAlone) {
    test::MemoryFileSystem fs;
    IniProfile profile(fs, "C:\\z.ini");
    fs.files["C:\\z.ini"] = "[S]\r\nk=1\r\n";
    fs.readOnly.insert("C:\\z.ini");
    EXPECT_FALSE(profile.WriteInt("S", "k", 2));
    EXPECT_EQ(profile.GetInt("S", "k", 0), 1);
    fs.readOnly.clear();
    fs.locked.insert("C:\\z.ini");
    EXPECT_FALSE(profile.WriteInt("S", "k", 2))
        << "a file that exists but cannot be read is not replaced";
    fs.locked.clear();
    EXPECT_EQ(fs.files["C:\\z.ini"], "[S]\r\nk=1\r\n");
}

}  // namespace
}  // namespace zv
