#include <gtest/gtest.h>

#include "common/filesystem.h"
#include "common/syntax/focus.h"
#include "common/syntax/keyin.h"
#include "common/syntax/mouse.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

using Tokens = std::vector<std::string>;

TEST(KeyinSyntax, TokensAsWrittenAndTheRepeatOption) {
    KeyinText k = SplitKeyin("KEYIN: control  s ,rep= 3 ", 256);
    ASSERT_TRUE(k.ok);
    EXPECT_EQ(k.tokens, (Tokens{"control", "s"}));
    EXPECT_EQ(k.repeat, 3);

    k = SplitKeyin("KEYIN:REP=2", 256);  // at offset 0 it is a key token, not the option
    ASSERT_TRUE(k.ok);
    EXPECT_EQ(k.tokens, (Tokens{"REP=2"}));
    EXPECT_EQ(k.repeat, 1);

    EXPECT_EQ(SplitKeyin("KEYIN:A B C D", 2).tokens, (Tokens{"A", "B"}));
    // A double-byte character stays one token.
    EXPECT_EQ(SplitKeyin("KEYIN:表 A", 256).tokens, (Tokens{"表", "A"}));
}

TEST(FocusSyntax, QuotesAndThePartialMark) {
    FocusCaption f = ParseFocusCaption("FOCUS:\"メモ帳*\" ");
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.caption, "メモ帳*");
    EXPECT_TRUE(CutPartialMark(f.caption));
    EXPECT_EQ(f.caption, "メモ帳");
    EXPECT_FALSE(CutPartialMark(f.caption));

    std::string inner = "a*b";
    EXPECT_FALSE(CutPartialMark(inner));
}

TEST(MouseSyntax, PiecesAcceptedBeforeTheFirstFailure) {
    EXPECT_EQ(ParseMouse("MOUSE:1,2,L,LOCAL").piecesRead, 4);
    EXPECT_EQ(ParseMouse("MOUSE:1,,2").piecesRead, 2);
    EXPECT_EQ(ParseMouse("MOUSE:-,5").piecesRead, 0);
    EXPECT_EQ(ParseMouse("MOUSE:5,x").piecesRead, 1);
    EXPECT_EQ(ParseMouse("MOUSE:1,2,L,LOCAL,X").piecesRead, 4);
    // An unknown action word fails; the LOCAL after it is still read but not counted.
    const MouseParse p = ParseMouse("MOUSE:1,2,Q,LOCAL");
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.local);
    EXPECT_EQ(p.piecesRead, 2);
    EXPECT_EQ(ParseMouse("MOUSE:1,2,LOCAL,Q").piecesRead, 3);
}

TEST(HeadReader, CarriageReturnAtThePrefixLimitBelongsToTheLineEnd) {
    // 62 bytes, CR LF: the CR is the 63rd byte and is not part of the line.
    test::MemoryFileSystem::Reader file;
    file.data = std::string(62, 'a') + "\r\nWAIT:1";
    std::string line;
    ASSERT_TRUE(ReadFirstLinePrefix(file, 63, line));
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
}

}  // namespace
}  // namespace zv
