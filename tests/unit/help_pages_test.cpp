// Every help page and anchor the programs open is shipped.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/folders.h"
#include "editor/dialog_frame.h"
#include "launcher/launcher_commands.h"

namespace zv {
namespace {

std::string ReadDoc(const std::string& relative) {
    std::ifstream in(std::string(ZV_SOURCE_DIR) + "/docs/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HelpPages, EveryPageAndEditorAnchorExists) {
    for (std::string_view page : {kHelpMacroEditor, kHelpMacroHint, kHelpMacroSetting,
                                  kHelpProperty}) {
        const std::string text = ReadDoc("help/" + std::string(page));
        EXPECT_NE(text.find("<h1>"), std::string::npos) << page;
    }
    EXPECT_NE(ReadDoc(std::string(kReadmeFile)).find("<h1>"), std::string::npos);

    const std::string editor = ReadDoc("help/" + std::string(kEditorHelpPage));
    for (EditorDialog dialog :
         {EditorDialog::Focus, EditorDialog::Keyin, EditorDialog::Launch, EditorDialog::Mouse,
          EditorDialog::Type, EditorDialog::Wait, EditorDialog::LineEdit}) {
        const std::string_view anchor = HelpAnchor(dialog);
        ASSERT_EQ(anchor.front(), '#');
        const std::string id = "id=\"" + std::string(anchor.substr(1)) + "\"";
        EXPECT_NE(editor.find(id), std::string::npos) << anchor;
    }
}

}  // namespace
}  // namespace zv
