#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "engine/runlog.h"

namespace zv {
namespace {

const LocalTime kMarch5 = {2009, 3, 5, 14, 7, 9};

TEST(RunLog, EntryFormatTimeStampAndLineEnds) {
    EXPECT_EQ(FormatLogEntry(kMarch5, "x マクロ処理開始"),
              "[09/03/05 14:07:09] x マクロ処理開始\r\n");
    EXPECT_EQ(FormatLogEntry({2026, 12, 31, 0, 0, 0}, ""), "[26/12/31 00:00:00] \r\n");
    // Every line end is CR LF.
    EXPECT_EQ(FormatLogEntry(kMarch5, "a\n[マウスリアル移動モード]"),
              "[09/03/05 14:07:09] a\r\n[マウスリアル移動モード]\r\n");
    EXPECT_EQ(FormatLogEntry(kMarch5, "0012行目：MOUSE:x\n\treason"),
              "[09/03/05 14:07:09] 0012行目：MOUSE:x\r\n\treason\r\n");
    EXPECT_EQ(FormatLogEntry(kMarch5, "a\r\nb\n"), "[09/03/05 14:07:09] a\r\nb\r\n\r\n")
        << "an existing CR LF is not doubled";
}

TEST(RunLog, WritesEntriesReplacingTheOldFile) {
    test::MemoryFileSystem fs;
    fs.files["log"] = "old run";
    {
        CLog log(fs, "log", [] { return kMarch5; });
        ASSERT_TRUE(log.IsOpen());
        log.WriteLog("one");
        EXPECT_EQ(fs.files["log"], "[09/03/05 14:07:09] one\r\n")
            << "written before the next entry";
        log.WriteLog("two");
        EXPECT_NE(fs.OpenRead("log", false, nullptr), nullptr) << "others may read it";
        EXPECT_EQ(fs.CreateWrite("log", false, nullptr), nullptr) << "no one else writes it";
    }
    EXPECT_EQ(fs.files["log"], "[09/03/05 14:07:09] one\r\n[09/03/05 14:07:09] two\r\n");
}

TEST(RunLog, UnopenableOrFailingFileDoesNothing) {
    test::MemoryFileSystem fs;
    fs.locked.insert("log");
    CLog closed(fs, "log", [] { return kMarch5; });
    EXPECT_FALSE(closed.IsOpen());
    closed.WriteLog("x");
    EXPECT_EQ(fs.files.count("log"), 0u);

    CLog failing(fs, "log2", [] { return kMarch5; });
    fs.failWrites = true;
    failing.WriteLog("lost");
    EXPECT_FALSE(failing.IsOpen()) << "a failed write closes the log";
    fs.failWrites = false;
    failing.WriteLog("after");
    EXPECT_EQ(fs.files["log2"], "");
}

TEST(RunLog, RealFileOnDisk) {
    const std::string path = ::testing::TempDir() + "zv_runlog_test.txt";
    {
        CLog log(PlatformFileSystem(), path, [] { return kMarch5; });
        ASSERT_TRUE(log.IsOpen());
        log.WriteLog("表示\nx");
        std::string now;
        ASSERT_TRUE(PlatformFileSystem().ReadAll(path, now));
        EXPECT_EQ(now, "[09/03/05 14:07:09] 表示\r\nx\r\n") << "flushed at once";
    }
    CLog second(PlatformFileSystem(), path, [] { return kMarch5; });
    second.WriteLog("2");
    std::string content;
    ASSERT_TRUE(PlatformFileSystem().ReadAll(path, content));
    EXPECT_EQ(content, "[09/03/05 14:07:09] 2\r\n") << "the next run starts afresh";
}

}  // namespace
}  // namespace zv
