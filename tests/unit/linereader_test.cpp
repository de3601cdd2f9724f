#include <gtest/gtest.h>

#include "fake_filesystem.h"
#include "common/filesystem.h"

namespace zv {
namespace {

std::vector<std::string> ReadAllLines(const std::string& data, std::size_t chunk) {
    test::MemoryFileSystem::Reader file;
    file.data = data;
    file.chunk = chunk;
    LineReader reader(file);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    return lines;
}

TEST(LineReader, CrLfLfAndLastLineWithoutEnd) {
    for (std::size_t chunk : {1u, 2u, 7u, 4096u}) {
        EXPECT_EQ(ReadAllLines("a\r\nb\nc", chunk), (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_EQ(ReadAllLines("a\r\n\r\n", chunk), (std::vector<std::string>{"a", ""}));
        EXPECT_EQ(ReadAllLines("", chunk), std::vector<std::string>{});
        EXPECT_EQ(ReadAllLines("x\ry\r\r\n", chunk), (std::vector<std::string>{"x\ry\r"}))
            << "only the CR directly before LF goes";
        EXPECT_EQ(ReadAllLines(std::string("a\0b\nc", 5), chunk),
                  (std::vector<std::string>{std::string("a\0b", 3), "c"}));
    }
}

TEST(LineReader, LinesOfMegabytes) {
    const std::string big(3 * 1024 * 1024 + 17, 'x');
    const auto lines = ReadAllLines(big + "\r\nshort\n" + big, 1 << 20);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], big);
    EXPECT_EQ(lines[1], "short");
    EXPECT_EQ(lines[2], big);
}

TEST(LineReader, FirstLinePrefix) {
    test::MemoryFileSystem::Reader file;
    file.data = std::string(100, 'a') + "\n";
    std::string line;
    ASSERT_TRUE(ReadFirstLinePrefix(file, 63, line));
    EXPECT_EQ(line, std::string(63, 'a'));
    EXPECT_LE(file.pos, 65u) << "reads no further than needed";

    // 62 bytes, CR LF: the CR is the 63rd byte and belongs to the line end, not the line.
    test::MemoryFileSystem::Reader crlf;
    crlf.data = std::string(62, 'a') + "\r\nWAIT:1";
    ASSERT_TRUE(ReadFirstLinePrefix(crlf, 63, line));
    EXPECT_EQ(line, std::string(62, 'a'));

    // A lone CR at the limit followed by more text stays.
    test::MemoryFileSystem::Reader lone;
    lone.data = std::string(62, 'a') + "\rb\n";
    ASSERT_TRUE(ReadFirstLinePrefix(lone, 63, line));
    EXPECT_EQ(line, std::string(62, 'a') + "\r");

    // The reader goes on with line 2 after a line that ended at the limit.
    test::MemoryFileSystem::Reader two;
    two.data = std::string(5, 'x') + "\r\nsecond\r\n";
    HeadReader reader(two);
    ASSERT_TRUE(reader.ReadLinePrefix(6, line));
    EXPECT_TRUE(reader.LineEnded());
    ASSERT_TRUE(reader.ReadLinePrefix(255, line));
    EXPECT_EQ(line, "second");

    test::MemoryFileSystem::Reader empty;
    EXPECT_FALSE(ReadFirstLinePrefix(empty, 63, line));
}

}  // namespace
}  // namespace zv
