#include <gtest/gtest.h>

#include "editor/focus_dialog.h"
#include "editor/type_dialog.h"

namespace zv {
namespace {

TEST(FocusDialog, CaptionReadAndWrittenBack) {
    FocusLineParse p = ParseFocusLine("FOCUS:\"Notepad*\"");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.caption, "Notepad*");
    EXPECT_EQ(ComposeFocusLine(p.caption), "FOCUS:\"Notepad*\"");

    // Without quotes the parameter text is the caption; it is written back quoted.
    p = ParseFocusLine("FOCUS: 無題 - メモ帳 ");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.caption, "無題 - メモ帳");
    EXPECT_EQ(ComposeFocusLine(p.caption), "FOCUS:\"無題 - メモ帳\"");

    // Inner quotes are not escaped: the last quote closes, so they read back unchanged.
    EXPECT_EQ(ParseFocusLine(ComposeFocusLine("say \"hi\"")).caption, "say \"hi\"");
}

TEST(FocusDialog, UnreadableLinesShowWhole) {
    for (const char* line : {"FOCUS:\"open", "FOCUS:", "FOCUS:  ", "FOCUS:'x"}) {
        const FocusLineParse p = ParseFocusLine(line);
        EXPECT_FALSE(p.ok) << line;
        EXPECT_EQ(p.caption, "") << line;
        EXPECT_EQ(DescribeFocusLine(line).text, line);
        EXPECT_FALSE(DescribeFocusLine(line).valid) << line;
    }
    EXPECT_FALSE(ParseFocusLine("").ok);

    const LineDescription d = DescribeFocusLine("FOCUS:\"%s 100%\"");
    EXPECT_TRUE(d.valid);
    EXPECT_EQ(d.text, ">%s 100%<");
}

TEST(FocusDialog, OkAndTheWindowList) {
    using Ok = DialogOk<FocusField>;
    Ok ok = ConfirmFocusDialog("");
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "フォーカスウィンドウが設定されていません。");
    EXPECT_EQ(ok.focus, FocusField::Caption);
    ok = ConfirmFocusDialog("Calc*");
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "FOCUS:\"Calc*\"");

    EXPECT_TRUE(IsListedWindow(true, "RkEditor"));
    EXPECT_FALSE(IsListedWindow(false, "RkEditor"));
    EXPECT_FALSE(IsListedWindow(true, ""));
    EXPECT_EQ(ChooseFromWindowList(-1).message, "選択されていません。");
    EXPECT_FALSE(ChooseFromWindowList(-1).close);
    EXPECT_TRUE(ChooseFromWindowList(0).close);
}

TEST(TypeDialog, TextAndTokensOpenTheirSource) {
    // Commas belong to the text.
    TypeFields f = OpenTypeDialog("TYPE:\"a, b,c\"");
    EXPECT_EQ(f.source, kTypeSourceText);
    EXPECT_EQ(f.text, "a, b,c");
    EXPECT_EQ(ComposeTypeLine(f), "TYPE:\"a, b,c\"");

    f = OpenTypeDialog("TYPE:%clip");
    EXPECT_EQ(f.source, kTypeSourceClipboard);
    EXPECT_EQ(f.text, "");
    EXPECT_EQ(ComposeTypeLine(f), "TYPE:%CLIP");

    f = OpenTypeDialog("TYPE:\"%PARAM1\"");
    EXPECT_EQ(f.source, kTypeSourceParam1);
    EXPECT_EQ(ComposeTypeLine(f), "TYPE:%PARAM1");
    EXPECT_EQ(OpenTypeDialog("TYPE:%Param2").source, kTypeSourceParam2);

    // A token inside a longer text is text.
    f = OpenTypeDialog("TYPE:\"%CLIP \"");
    EXPECT_EQ(f.source, kTypeSourceText);
    EXPECT_EQ(f.text, "%CLIP ");

    // The last quote closes: a text with a quote reads back unchanged.
    f = {kTypeSourceText, "He said \"表\""};
    EXPECT_EQ(OpenTypeDialog(ComposeTypeLine(f)).text, f.text);

    f = OpenTypeDialog("TYPE:\"never closed");
    EXPECT_EQ(f.source, kTypeSourceText);
    EXPECT_EQ(f.text, "");
}

TEST(TypeDialog, Descriptions) {
    const std::pair<const char*, const char*> valid[] = {
        {"TYPE:%CLIP", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容"},
        {"TYPE:'%param1'", "ﾌﾟﾛｸﾞﾗﾑ引数１"},
        {"TYPE:%PARAM2", "ﾌﾟﾛｸﾞﾗﾑ引数２"},
        {"TYPE:\"abc\"", ">abc<"},
        {"TYPE:abc", ">abc<"},
        {"TYPE:\"\"", "><"},
    };
    for (const auto& [line, text] : valid) {
        const LineDescription d = DescribeTypeLine(line);
        EXPECT_TRUE(d.valid) << line;
        EXPECT_EQ(d.text, text);
    }
    for (const char* line : {"TYPE:", "TYPE:\"abc"}) {
        EXPECT_FALSE(DescribeTypeLine(line).valid) << line;
        EXPECT_EQ(DescribeTypeLine(line).text, line);
    }
}

TEST(TypeDialog, OkAsksBeforeDroppingTextAndRefusesNothing) {
    using Ok = DialogOk<TypeField>;
    Ok ok = ConfirmTypeDialog({kTypeSourceClipboard, "left over"});
    ASSERT_EQ(ok.kind, Ok::Kind::Confirm);
    EXPECT_EQ(ok.message, "入力文字列は無効となり登録されません。\r\n登録してよろしいですか？");
    EXPECT_EQ(ok.focus, TypeField::Text);
    EXPECT_EQ(ok.line, "TYPE:%CLIP");

    ok = ConfirmTypeDialog({kTypeSourceParam2, ""});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "TYPE:%PARAM2");

    ok = ConfirmTypeDialog({kTypeSourceText, ""});
    ASSERT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "文字列が設定されていません。");
    EXPECT_EQ(ok.focus, TypeField::Text);

    ok = ConfirmTypeDialog({kTypeSourceText, " "});
    ASSERT_EQ(ok.kind, Ok::Kind::Close);
    EXPECT_EQ(ok.line, "TYPE:\" \"");
}

}  // namespace
}  // namespace zv
