#include <gtest/gtest.h>

#include "common/syntax/linecheck.h"

namespace zv {
namespace {

TEST(EngineLineCheck, LinesTheRunnerSkipsOrRuns) {
    for (const char* line : {
             "",
             "   \t ",
             "; a comment: WAIT",
             "  ;FOO",
             "LAUNCH:notepad.exe",
             "launch: \"C:\\\\a b\\\\x.exe\" WAIT",
             "FOCUS:\"無題 - メモ帳\"",
             "focus:メモ*",
             "WAIT:0",
             "  Wait:100,3  ",
             "KEYIN:CONTROL s",
             "KEYIN:menu F4,REP=2",
             "TYPE:hello, world",
             "TYPE:%CLIP",
             "MOUSE:10,-20",
             "MOUSE:1,2,LOCAL,dd",
         }) {
        EXPECT_TRUE(EngineAcceptsLine(line)) << line;
    }
}

TEST(EngineLineCheck, LinesTheRunnerStopsOn) {
    for (const char* line : {
             "WAIT 500",          // no colon: no keyword
             "WAITS:5",           // another word
             "X WAIT:5",          // the keyword not at the start
             "LAUNCH:",           // nothing to start
             "LAUNCH:\"notepad",  // quote not closed
             "FOCUS:",
             "FOCUS:'memo",
             "WAIT:",
             "WAIT:1x",
             "WAIT:1,2,3",
             "KEYIN:",
             "KEYIN:CONTROL FOO",  // an unknown key name
             "KEYIN:A,REP=0",
             "KEYIN:表",  // one character, but two bytes: read as a key name
             "TYPE:",
             "TYPE:\"abc",
             "MOUSE:",
             "MOUSE:10",
             "MOUSE:10,20,Q",  // an unknown action word
             "MOUSE:a,2",
         }) {
        EXPECT_FALSE(EngineAcceptsLine(line)) << line;
    }
}

}  // namespace
}  // namespace zv
