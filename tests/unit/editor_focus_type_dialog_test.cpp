#include <gtest/gtest.h>

#include "editor/focus_dialog.h"
#include "editor/type_dialog.h"

namespace zv {
namespace {

TEST(FocusDialog, CaptionLineOkAndWindowList) {
    EXPECT_EQ(ParseFocusLine("FOCUS:\"Notepad*\"").caption, "Notepad*");
    // Without quotes the parameter text is the caption; it is written back quoted.
    EXPECT_EQ(ComposeFocusLine(ParseFocusLine("FOCUS: 無題 - メモ帳 ").caption),
              "FOCUS:\"無題 - メモ帳\"");
    EXPECT_EQ(DescribeFocusLine("FOCUS:\"%s 100%\"").text, ">%s 100%<");

    using Ok = DialogOk<FocusField>;
    const Ok ok = ConfirmFocusDialog("");
    EXPECT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "フォーカスウィンドウが設定されていません。");
    EXPECT_EQ(ConfirmFocusDialog("Calc*").line, "FOCUS:\"Calc*\"");

    // A window without a caption is not listed; a caption with line breaks is listed on
    // one line, so that picking it cannot write a second macro line.
    EXPECT_EQ(WindowListEntry(""), std::nullopt);
    EXPECT_EQ(WindowListEntry("無題 - メモ帳"), "無題 - メモ帳");
    EXPECT_EQ(WindowListEntry("!\r\nLAUNCH:\"notepad.exe\""), "! LAUNCH:\"notepad.exe\"");
    EXPECT_EQ(ChooseFromWindowList(-1).message, "選択されていません。");
    EXPECT_TRUE(ChooseFromWindowList(0).close);
}

TEST(TypeDialog, TextAndTokensOpenTheirSource) {
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"TYPE:\"a, b,c\"", kTypeSourceText, "a, b,c", "TYPE:\"a, b,c\""},  // commas are text
        {"TYPE:%clip", kTypeSourceClipboard, "", "TYPE:%CLIP"},
        {"TYPE:\"%PARAM1\"", kTypeSourceParam1, "", "TYPE:%PARAM1"},
        {"TYPE:'%Param2'", kTypeSourceParam2, "", "TYPE:%PARAM2"},
        {"TYPE:\"%CLIP \"", kTypeSourceText, "%CLIP ", "TYPE:\"%CLIP \""},
        {"TYPE:\"never closed", kTypeSourceText, "", "TYPE:\"\""},
    };
    for (const auto& [line, source, text, written] : cases) {
        const TypeFields f = OpenTypeDialog(line);
        EXPECT_EQ(f.source, source) << line;
        EXPECT_EQ(f.text, text) << line;
        EXPECT_EQ(ComposeTypeLine(f), written) << line;
    }
    EXPECT_EQ(DescribeTypeLine("TYPE:%param2").text, "ﾌﾟﾛｸﾞﾗﾑ引数２");
}

TEST(TypeDialog, OkAsksBeforeDroppingTextAndRefusesNothing) {
    using Ok = DialogOk<TypeField>;
    Ok ok = ConfirmTypeDialog({kTypeSourceClipboard, "left over"});
    EXPECT_EQ(ok.kind, Ok::Kind::Confirm);
    EXPECT_EQ(ok.message, "入力文字列は無効となり登録されません。\r\n登録してよろしいですか？");
    EXPECT_EQ(ok.line, "TYPE:%CLIP");  // on Yes; No focuses the text field

    ok = ConfirmTypeDialog({kTypeSourceText, ""});
    EXPECT_EQ(ok.kind, Ok::Kind::Message);
    EXPECT_EQ(ok.message, "文字列が設定されていません。");
    EXPECT_EQ(ConfirmTypeDialog({kTypeSourceParam2, ""}).line, "TYPE:%PARAM2");
}

}  // namespace
}  // namespace zv
