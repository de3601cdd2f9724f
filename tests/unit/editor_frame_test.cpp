#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "editor/dialog_frame.h"
#include "editor/lineedit_dialog.h"

namespace zv {
namespace {

TEST(DialogFrame, CaptionMarkAndHelpAnchors) {
    EXPECT_EQ(CaptionSuffix(""), "(新規)");
    EXPECT_EQ(CaptionSuffix("WAIT:1"), "(更新)");
    EXPECT_EQ(CaptionSuffix(" "), "(更新)");  // only the empty line is new

    EXPECT_EQ(kEditorHelpPage, "MacroEditor.html");
    const std::pair<EditorDialog, std::string_view> anchors[] = {
        {EditorDialog::Focus, "#Focus"},       {EditorDialog::Keyin, "#Keyin"},
        {EditorDialog::Launch, "#Launch"},     {EditorDialog::Mouse, "#Mouse"},
        {EditorDialog::Type, "#Type"},         {EditorDialog::Wait, "#Wait"},
        {EditorDialog::LineEdit, "#LineEdit"},
    };
    for (const auto& [dialog, anchor] : anchors)
        EXPECT_EQ(HelpAnchor(dialog), anchor);
}

TEST(DialogFrame, ParamTextOfALineWithAndWithoutColon) {
    EXPECT_EQ(DialogParamText("WAIT: 1 , 2 \t"), "1 , 2");
    EXPECT_EQ(DialogParamText("  no colon here "), "no colon here");
    EXPECT_EQ(DialogParamText("a:b:c"), "b:c");
    EXPECT_EQ(WithParamColon("x"), ":x");
    EXPECT_EQ(WithParamColon("K:x"), "K:x");
}

TEST(DialogFrame, RangeMessageWithTheBounds) {
    EXPECT_EQ(IntRangeMessage({-3200, 3200}), "-3200 から 3200 までの整数を入力してください。");
    EXPECT_EQ(IntRangeMessage({1, 999}), "1 から 999 までの整数を入力してください。");
}

TEST(DialogFrame, WhatCountsAsAnIntegerInAField) {
    const IntRange r{-3200, 3200};
    EXPECT_EQ(ReadIntField("3200", r), 3200);
    EXPECT_EQ(ReadIntField("-3200", r), -3200);
    EXPECT_EQ(ReadIntField(" 007 ", r), 7);
    EXPECT_EQ(ReadIntField("+5", r), 5);
    EXPECT_EQ(ReadIntField("-0", r), 0);
    for (const char* bad : {"3201", "-3201", "", " ", "-", "1-", "1 2", "1a", "0x10", "３"})
        EXPECT_FALSE(ReadIntField(bad, r).has_value()) << bad;

    // The widest range: 32 bits and no more, however many digits.
    const IntRange all{std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max()};
    EXPECT_EQ(ReadIntField("-2147483648", all), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ReadIntField("2147483647", all), std::numeric_limits<std::int32_t>::max());
    EXPECT_FALSE(ReadIntField("2147483648", all).has_value());
    EXPECT_FALSE(ReadIntField("99999999999999999999999", all).has_value());
    EXPECT_EQ(ReadIntField("0000000000000000000000012", all), 12);
}

TEST(LineEditDialog, KeywordAndRawParameters) {
    LineEditFields f = OpenLineEditDialog("WAIT:  500 , 3 ");
    EXPECT_EQ(f.keyword, "WAIT:");
    EXPECT_EQ(f.params, "500 , 3");
    f.params = "100,2";
    EXPECT_EQ(ComposeEditedLine(f), "WAIT:100,2");

    // A lower-case keyword is no type: OK writes the parameters alone.
    f = OpenLineEditDialog("wait:100,0");
    EXPECT_EQ(f.keyword, "");
    EXPECT_EQ(ComposeEditedLine(f), "100,0");

    // A line without a colon keeps its text instead of being emptied.
    EXPECT_EQ(ComposeEditedLine(OpenLineEditDialog(" plain text ")), "plain text");
    EXPECT_EQ(ComposeEditedLine(OpenLineEditDialog("")), "");
    EXPECT_EQ(ComposeEditedLine(OpenLineEditDialog("KEYIN:")), "KEYIN:");
}

}  // namespace
}  // namespace zv
