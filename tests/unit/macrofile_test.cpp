#include <gtest/gtest.h>

#include "common/macrofile.h"

namespace zv {
namespace {

TEST(HeaderRule, TagNeedsAtLeastOneByteBeforeIt) {
    EXPECT_TRUE(IsHeaderLine("; <RKMACRO>My macro", kEngineHeaderPrefix));
    EXPECT_FALSE(IsHeaderLine("<RKMACRO>My macro", kEngineHeaderPrefix));
    EXPECT_FALSE(IsHeaderLine("<RKMACRO>; <RKMACRO>", kEngineHeaderPrefix))
        << "first occurrence decides";
    EXPECT_TRUE(IsHeaderLine("x<rkMacro>", kEngineHeaderPrefix));
    EXPECT_FALSE(IsHeaderLine("", kEngineHeaderPrefix));
    EXPECT_FALSE(IsHeaderLine("; <RKMACR", kEngineHeaderPrefix));
}

TEST(HeaderRule, PrefixLengthsOfEngineAndReaders) {
    // 70 bytes with the tag at byte 60: it ends at byte 69, beyond the engine's 63.
    std::string line = ";" + std::string(59, ' ') + "<RKMACRO>x";
    ASSERT_EQ(line.size(), 70u);
    EXPECT_FALSE(IsHeaderLine(line, kEngineHeaderPrefix));
    EXPECT_TRUE(IsHeaderLine(line, kReaderHeaderPrefix));
    // Tag ending exactly at byte 63 is still found by the engine.
    std::string edge = ";" + std::string(53, ' ') + "<RKMACRO>";
    ASSERT_EQ(edge.size(), 63u);
    EXPECT_TRUE(IsHeaderLine(edge, kEngineHeaderPrefix));
}

TEST(HeaderRule, ReadHeaderValue) {
    bool found = false;
    EXPECT_EQ(ReadHeaderValue("; <RKMACRO>Daily report", kHeaderTag, found), "Daily report");
    EXPECT_TRUE(found);
    EXPECT_EQ(ReadHeaderValue("; <rkmacro>  Daily report  \r\n", kHeaderTag, found),
              "  Daily report");
    EXPECT_TRUE(found);
    EXPECT_EQ(ReadHeaderValue("; <RKMACRO>", kHeaderTag, found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(ReadHeaderValue("<RKMACRO>x", kHeaderTag, found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(ReadHeaderValue("; <TARGET>メモ帳*", kTargetTag, found), "メモ帳*");
    EXPECT_TRUE(found);
    // The value keeps its original letter case although the tag is found case-insensitively.
    EXPECT_EQ(ReadHeaderValue("; <Target>Untitled - Notepad", kTargetTag, found),
              "Untitled - Notepad");
}

TEST(LineKinds, EmptyCommentCommand) {
    EXPECT_EQ(ClassifyLine(""), LineKind::Empty);
    EXPECT_EQ(ClassifyLine("; comment"), LineKind::Comment);
    EXPECT_EQ(ClassifyLine("WAIT:1;x"), LineKind::Command);
    // An ideographic space followed by ';' is a command line (and unrecognised).
    EXPECT_EQ(ClassifyLine("\x81\x40;x"), LineKind::Command);
}

TEST(Keywords, CaseInsensitiveAtStartOnly) {
    EXPECT_EQ(MatchKeyword("launch:notepad.exe"), CommandKind::Launch);
    EXPECT_EQ(MatchKeyword("Focus:\"x\""), CommandKind::Focus);
    EXPECT_EQ(MatchKeyword("WAIT:100"), CommandKind::Wait);
    EXPECT_EQ(MatchKeyword("keyin:A"), CommandKind::Keyin);
    EXPECT_EQ(MatchKeyword("TYPE:\"a\""), CommandKind::Type);
    EXPECT_EQ(MatchKeyword("MOUSE:1,2"), CommandKind::Mouse);
    EXPECT_EQ(MatchKeyword("LAUNCH :notepad.exe"), std::nullopt);
    EXPECT_EQ(MatchKeyword("XWAIT:1"), std::nullopt);
    EXPECT_EQ(MatchKeyword("SLEEP:1"), std::nullopt);
    EXPECT_EQ(MatchKeyword(""), std::nullopt);
}

TEST(ParamText, AfterFirstColonStripped) {
    EXPECT_EQ(GetParamText("WAIT:  1000 \t"), "1000");
    EXPECT_EQ(GetParamText("LAUNCH:c:\\a.exe"), "c:\\a.exe");
    EXPECT_EQ(GetParamText("TYPE:"), "");
    EXPECT_EQ(GetParamText("no colon"), "");
}

TEST(StripQuotes, CasesOfTheFormat) {
    struct Case {
        std::string in;
        bool ok;
        std::string out;
    } cases[] = {
        {"\"abc\"", true, "abc"},
        {"'a b'", true, "a b"},
        {"\"a\"b\"", true, "a\"b"},
        {"\"abc\" more", true, "abc"},
        {"\"\"", true, ""},
        {"\"abc", false, ""},
        {"\"", false, ""},
        {"abc", true, "abc"},
        {"", false, ""},
        {"'a\"b'", true, "a\"b"},
        // The closing quote may not be the trail byte of a double-byte character.
        {"\"\x83\x22", false, ""},
        {"\"表\"", true, "表"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(StripQuotes(text), c.ok) << c.in;
        if (c.ok) {
            EXPECT_EQ(text, c.out) << c.in;
        }
    }
}

class FakeClipboard : public IClipboardTextSource {
public:
    std::optional<std::string> text;
    int reads = 0;
    std::optional<std::string> ReadClipboardText() override {
        ++reads;
        return text;
    }
};

TEST(SubstituteParam, WholeTokenOnly) {
    FakeClipboard clip;
    clip.text = "clipped";
    const RunParameters params{"one", ""};
    std::string t = "%param1";
    SubstituteParam(t, params, clip);
    EXPECT_EQ(t, "one");
    t = "%PARAM2";
    SubstituteParam(t, params, clip);
    EXPECT_EQ(t, "") << "a missing /2: substitutes the empty text";
    t = "%Clip";
    SubstituteParam(t, params, clip);
    EXPECT_EQ(t, "clipped");
    for (std::string other : {"x%PARAM1", "%PARAM1 ", "%PARAM", "%CLIPX"}) {
        std::string copy = other;
        SubstituteParam(copy, params, clip);
        EXPECT_EQ(copy, other);
    }
    EXPECT_EQ(clip.reads, 1) << "the clipboard is only read for %CLIP";
}

TEST(SubstituteParam, ClipboardWithoutTextKeepsToken) {
    FakeClipboard clip;
    std::string t = "%CLIP";
    SubstituteParam(t, {}, clip);
    EXPECT_EQ(t, "%CLIP");
    clip.text = "";
    SubstituteParam(t, {}, clip);
    EXPECT_EQ(t, "");
}

TEST(SubstituteParam, QuotedTokenAfterStripQuotes) {
    FakeClipboard clip;
    std::string t = "\"%param1\"";
    ASSERT_TRUE(StripQuotes(t));
    SubstituteParam(t, {"value", ""}, clip);
    EXPECT_EQ(t, "value");
}

}  // namespace
}  // namespace zv
