#include <gtest/gtest.h>

#include "editor/dialog_frame.h"
#include "editor/lineedit_dialog.h"

namespace zv {
namespace {

TEST(DialogFrame, CaptionMarkAnchorsAndParamText) {
    EXPECT_EQ(CaptionSuffix(""), "(新規)");
    EXPECT_EQ(CaptionSuffix(" "), "(更新)");  // only the empty line is new
    EXPECT_EQ(HelpAnchor(EditorDialog::Keyin), "#Keyin");
    EXPECT_EQ(HelpAnchor(EditorDialog::LineEdit), "#LineEdit");
    EXPECT_EQ(DialogParamText("WAIT: 1 , 2 \t"), "1 , 2");
    EXPECT_EQ(DialogParamText("  no colon here "), "no colon here");
}

TEST(LineEditDialog, KeywordAndRawParameters) {
    LineEditFields f = OpenLineEditDialog("WAIT:  500 , 3 ");
    EXPECT_EQ(f.keyword, "WAIT:");
    EXPECT_EQ(f.params, "500 , 3");
    f.params = "100,2";
    EXPECT_EQ(ComposeEditedLine(f), "WAIT:100,2");
    // A lower-case keyword is no type: the whole line is the parameter text, so an
    // unchanged OK keeps the line.
    f = OpenLineEditDialog(" wait:100,0 ");
    EXPECT_EQ(f.keyword, "");
    EXPECT_EQ(f.params, "wait:100,0");
    EXPECT_EQ(ComposeEditedLine(f), "wait:100,0");
    // A line without a colon keeps its text instead of being emptied.
    EXPECT_EQ(ComposeEditedLine(OpenLineEditDialog(" plain text ")), "plain text");
}

}  // namespace
}  // namespace zv
