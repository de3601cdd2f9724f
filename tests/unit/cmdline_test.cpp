#include <gtest/gtest.h>

#include "engine/cmdline.h"

namespace zv {
namespace {

TEST(GetOption, QuotedAndUnquotedValues) {
    EXPECT_EQ(GetOption("/M:", "/M:\"C:\\My Macros\\a.rkm\""), "C:\\My Macros\\a.rkm");
    EXPECT_EQ(GetOption("/M:", "/M:C:\\a.rkm /1:x"), "C:\\a.rkm");
    EXPECT_EQ(GetOption("/M:", "/M:C:\\a.rkm"), "") << "unquoted value at the very end is empty";
    EXPECT_EQ(GetOption("/M:", "/M:\"C:\\a.rkm"), "") << "unclosed quote";
    EXPECT_EQ(GetOption("/M:", "/m:\"a\""), "") << "keys are case-sensitive";
    EXPECT_EQ(GetOption("/M:", "/M:"), "");
    EXPECT_EQ(GetOption("/M:", "/M:\""), "");
    EXPECT_EQ(GetOption("/1:", "x /1:\"a b\" y"), "a b");
}

TEST(ParseEngineCommandLine, OptionsInEitherOrder) {
    EngineCommandLine a = ParseEngineCommandLine("/M:\"C:\\m.rkm\" /1:\"p one\"");
    EXPECT_EQ(a.macroPath, "C:\\m.rkm");
    EXPECT_EQ(a.param1, "p one");
    EXPECT_EQ(a.param2, "");
    EngineCommandLine b = ParseEngineCommandLine("/1:\"p one\" /M:\"C:\\m.rkm\"");
    EXPECT_EQ(b.macroPath, "C:\\m.rkm");
    EXPECT_EQ(b.param1, "p one");
}

TEST(ParseEngineCommandLine, BarePathForms) {
    EXPECT_EQ(ParseEngineCommandLine("\"C:\\My Macros\\a.rkm\"").macroPath, "C:\\My Macros\\a.rkm");
    EXPECT_EQ(ParseEngineCommandLine("'C:\\My Macros\\a.rkm'").macroPath, "C:\\My Macros\\a.rkm");
    EXPECT_EQ(ParseEngineCommandLine("C:\\My Macros\\a.rkm").macroPath, "C:\\My Macros\\a.rkm");
    EXPECT_EQ(ParseEngineCommandLine("\"a'").macroPath, "\"a'") << "mixed quotes stay";
    EXPECT_EQ(ParseEngineCommandLine("\"\"").macroPath, "\"\"") << "2 bytes are taken unchanged";
    EXPECT_EQ(ParseEngineCommandLine("\"x\"").macroPath, "x");
    EXPECT_EQ(ParseEngineCommandLine(" a.rkm ").macroPath, " a.rkm ") << "not stripped of spaces";
    EXPECT_EQ(ParseEngineCommandLine("").macroPath, "");
}

TEST(ParseEngineCommandLine, EdgeCasesOfTheOptionSearch) {
    // Unquoted /M: at the end: empty, so the whole line becomes the path.
    EXPECT_EQ(ParseEngineCommandLine("/M:C:\\a.rkm").macroPath, "/M:C:\\a.rkm");
    // Lower-case key is not an option.
    EXPECT_EQ(ParseEngineCommandLine("/m:\"C:\\a.rkm\"").macroPath, "/m:\"C:\\a.rkm\"");
    // /1: set but /M: empty: no bare path, so no macro at all (settings dialog).
    EngineCommandLine c = ParseEngineCommandLine("/1:\"v\" /M:C:\\a.rkm");
    EXPECT_EQ(c.macroPath, "");
    EXPECT_EQ(c.param1, "v");
    // The first occurrence of "/1:" counts, even inside another option's value.
    EngineCommandLine d = ParseEngineCommandLine("/M:\"m\" /2:\"x /1:\"y\" z\"");
    EXPECT_EQ(d.param1, "y");
}

}  // namespace
}  // namespace zv
