#include <gtest/gtest.h>

#include "common/syntax/linecheck.h"

namespace zv {
namespace {

// What the check decides before a command's own parser: white space, comments and the
// keyword. Each parser's refusals are checked against the made lines through the list's
// red marks (editor_line_describe_test), which are this check's answer.
TEST(EngineLineCheck, BlanksCommentsAndTheKeyword) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"   \t ", true},
        {"; a comment: WAIT", true},
        {"  ;FOO", true},
        {"  Wait:100,3  ", true},  // stripped, any case
        {"launch: \"C:\\\\a b\\\\x.exe\" WAIT", true},
        {"focus:メモ*", true},
        {"KEYIN:menu F4,REP=2", true},
        {"WAIT 500", false},  // no colon: no keyword
        {"WAITS:5", false},   // another word
        {"X WAIT:5", false},  // the keyword not at the start
        {"KEYIN:表", false},  // one character, but two bytes: read as a key name
    };
    for (const auto& [line, accepted] : cases)
        EXPECT_EQ(EngineAcceptsLine(line), accepted) << line;
}

}  // namespace
}  // namespace zv
