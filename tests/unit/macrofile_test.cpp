#include <gtest/gtest.h>

#include "common/macrofile.h"
#include "common/macrohead.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

// The header rules, read by the one header reader that the launcher and the editor use.
TEST(MacroHeader, TitleAndTargetRules) {
    test::MemoryFileSystem fs;
    struct Case {
        std::string content;
        HeaderRead result;
        std::string title;
        std::string target;
    };
    const std::string longTitle(300, 'x');
    for (const Case& c : std::vector<Case>{
             {"; <RKMACRO>Daily report\r\nWAIT:1", HeaderRead::Macro, "Daily report", ""},
             // Leading spaces of a value stay, trailing spaces go.
             {"; <rkmacro>  Daily  \r\n", HeaderRead::Macro, "  Daily", ""},
             {"x<rkMacro>", HeaderRead::Macro, "", ""},
             // The tag needs at least one byte before it; its first occurrence decides.
             {"<RKMACRO>Daily\r\n", HeaderRead::NotMacro, "", ""},
             {"<RKMACRO>; <RKMACRO>x\r\n", HeaderRead::NotMacro, "", ""},
             {"; <RKMACR\r\n", HeaderRead::NotMacro, "", ""},
             {"; <RKMACRO>\r\n; <TARGET>メモ帳*\r\n", HeaderRead::Macro, "", "メモ帳*"},
             {"; <RKMACRO>one line only", HeaderRead::Macro, "one line only", ""},
             // The value keeps its letter case although the tag is found in any case.
             {"; <RKMACRO>a\n; <target>Lower Case \r\n", HeaderRead::Macro, "a", "Lower Case"},
             {"; <RKMACRO>a\r\n; <TARGET>\r\n", HeaderRead::Macro, "a", ""},
             {"; <RKMACRO>a\r\n<TARGET>offset zero\r\n", HeaderRead::Macro, "a", ""},
             {"; <RKMACRO>a\r\n\r\n; <TARGET>third line\r\n", HeaderRead::Macro, "a", ""},
             {"", HeaderRead::NotMacro, "", ""},
             {"\r\n; <RKMACRO>second line\r\n", HeaderRead::NotMacro, "", ""},
             // The tag must lie within the first 255 bytes.
             {std::string(247, ' ') + "<RKMACRO>", HeaderRead::NotMacro, "", ""},
             {std::string(246, ' ') + "<RKMACRO>", HeaderRead::Macro, "", ""},
             // Only 255 bytes of the title are seen; the target is on the real second line.
             {"; <RKMACRO>" + longTitle + "\r\n; <TARGET>T\r\n", HeaderRead::Macro,
              std::string(244, 'x'), "T"},
             // A zero byte ends what is seen of a line.
             {std::string("; <RKMACRO>ab") + '\0' + "cd\r\n; <TARGET>t" + '\0' + "u\r\n",
              HeaderRead::Macro, "ab", "t"},
             {std::string("\0; <RKMACRO>x", 13), HeaderRead::NotMacro, "", ""},
             // UTF-16 text is not a macro file.
             {std::string("\xFF\xFE;\0 \0<\0R\0K\0", 12), HeaderRead::NotMacro, "", ""},
         }) {
        SCOPED_TRACE(c.content.substr(0, 40));
        fs.files["C:\\f"] = c.content;
        MacroHeader h;
        h.title = "old";
        h.target = "old";
        EXPECT_EQ(ReadMacroHeader(fs, "C:\\f", h), c.result);
        EXPECT_EQ(h.isMacro, c.result == HeaderRead::Macro);
        EXPECT_EQ(h.title, c.title);
        EXPECT_EQ(h.target, c.target);
    }
    MacroHeader h;
    EXPECT_EQ(ReadMacroHeader(fs, "C:\\missing", h), HeaderRead::CannotOpen);
    fs.locked.insert("C:\\f");
    EXPECT_EQ(ReadMacroHeader(fs, "C:\\f", h), HeaderRead::CannotOpen);
}

TEST(MacroHeader, HugeFirstLinesEndTheReadingEarly) {
    test::MemoryFileSystem fs;
    // Megabytes without a line end: not a macro, and only the head is read.
    fs.files["C:\\big"] = std::string(8 * 1024 * 1024, 'a');
    MacroHeader h;
    EXPECT_EQ(ReadMacroHeader(fs, "C:\\big", h), HeaderRead::NotMacro);
    // A macro whose first line runs on for megabytes: listed without a target.
    fs.files["C:\\big"] =
        "; <RKMACRO>t" + std::string(3 * 1024 * 1024, 'a') + "\r\n; <TARGET>x\r\n";
    EXPECT_EQ(ReadMacroHeader(fs, "C:\\big", h), HeaderRead::Macro);
    EXPECT_EQ(h.target, "");
    // Within the skip limit the target is still found.
    fs.files["C:\\big"] = "; <RKMACRO>t" + std::string(100000, 'a') + "\r\n; <TARGET>x\r\n";
    EXPECT_EQ(ReadMacroHeader(fs, "C:\\big", h), HeaderRead::Macro);
    EXPECT_EQ(h.target, "x");
}

// The engine looks at 63 bytes of line 1, the launcher and the editor at 255.
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

TEST(LineParts, KindKeywordAndParameterText) {
    EXPECT_EQ(ClassifyLine(""), LineKind::Empty);
    EXPECT_EQ(ClassifyLine("; comment"), LineKind::Comment);
    EXPECT_EQ(ClassifyLine("WAIT:1;x"), LineKind::Command);
    // An ideographic space followed by ';' is a command line (and unrecognised).
    EXPECT_EQ(ClassifyLine("\x81\x40;x"), LineKind::Command);

    // Keywords in any letter case, at the start only.
    EXPECT_EQ(MatchKeyword("launch:notepad.exe"), CommandKind::Launch);
    EXPECT_EQ(MatchKeyword("Focus:\"x\""), CommandKind::Focus);
    EXPECT_EQ(MatchKeyword("WAIT:100"), CommandKind::Wait);
    EXPECT_EQ(MatchKeyword("keyin:A"), CommandKind::Keyin);
    EXPECT_EQ(MatchKeyword("TYPE:\"a\""), CommandKind::Type);
    EXPECT_EQ(MatchKeyword("MOUSE:1,2"), CommandKind::Mouse);
    for (const char* none : {"LAUNCH :notepad.exe", "XWAIT:1", "SLEEP:1", ""})
        EXPECT_EQ(MatchKeyword(none), std::nullopt) << none;

    // The parameter text: after the first colon, stripped.
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

std::string Substituted(std::string text, const RunParameters& params, FakeClipboard& clip) {
    SubstituteParam(text, params, clip);
    return text;
}

TEST(SubstituteParam, WholeTokenOnly) {
    FakeClipboard clip;
    clip.text = "clipped";
    const RunParameters params{"one", ""};
    EXPECT_EQ(Substituted("%param1", params, clip), "one");
    EXPECT_EQ(Substituted("%PARAM2", params, clip), "") << "a missing /2: the empty text";
    EXPECT_EQ(Substituted("%Clip", params, clip), "clipped");
    for (const std::string other : {"x%PARAM1", "%PARAM1 ", "%PARAM", "%CLIPX"})
        EXPECT_EQ(Substituted(other, params, clip), other);
    EXPECT_EQ(clip.reads, 1) << "the clipboard is only read for %CLIP";

    std::string quoted = "\"%param1\"";
    ASSERT_TRUE(StripQuotes(quoted));
    EXPECT_EQ(Substituted(quoted, {"value", ""}, clip), "value");
    // A clipboard without text keeps the token; an empty text replaces it.
    clip.text.reset();
    EXPECT_EQ(Substituted("%CLIP", {}, clip), "%CLIP");
    clip.text = "";
    EXPECT_EQ(Substituted("%CLIP", {}, clip), "");
}

}  // namespace
}  // namespace zv
