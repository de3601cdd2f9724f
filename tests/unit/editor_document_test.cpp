#include <gtest/gtest.h>

#include "editor/document.h"
#include "fake_filesystem.h"

namespace zv {
namespace {

using namespace std::string_literals;

const std::string kFolder = "C:\\Program Files\\Zorvane\\";

MacroContent Content(std::string title, std::string target, bool global, std::string desc,
                     std::vector<std::string> lines) {
    MacroContent c;
    c.title = std::move(title);
    c.target = std::move(target);
    c.global = global;
    c.description = std::move(desc);
    c.lines = std::move(lines);
    return c;
}

TEST(EditorRead, HeaderTitleAndTarget) {
    MacroContent c = ParseMacroText("; <RKMACRO> 日報  \r\n; <TARGET>メモ帳 - *\n\r\nWAIT:1\r\n");
    EXPECT_EQ(c.title, " 日報");
    EXPECT_FALSE(c.global);
    EXPECT_EQ(c.target, "メモ帳 - *");
    EXPECT_EQ(c.lines, std::vector<std::string>{"WAIT:1"});

    // A target tag without caption: global stays on and line 2 is a header comment.
    c = ParseMacroText("; <RKMACRO>t\r\n; <TARGET>\r\n\r\nWAIT:1\r\n");
    EXPECT_TRUE(c.global);
    EXPECT_EQ(c.target, "");
    EXPECT_EQ(c.description, "<TARGET>");
}

TEST(EditorRead, NothingBeyondAMissingHeaderOrLine) {
    EXPECT_EQ(ParseMacroText(""), MacroContent{});
    // The tag at byte 0 does not count: nothing is read, even command lines.
    EXPECT_EQ(ParseMacroText("<RKMACRO>t\r\nWAIT:1\r\n"), MacroContent{});
    EXPECT_EQ(ParseMacroText("; <RKMACRO>only"), Content("only", "", true, "", {}));
    // A file read into a window starts from a new document's fields, never the old ones.
    EXPECT_EQ(ParseMacroText("; <RKMACRO>a\r\n"), Content("a", "", true, "", {}));
}

TEST(EditorRead, DescriptionOnlyBeforeTheFirstCommand) {
    const MacroContent c = ParseMacroText(
        "; <RKMACRO>t\r\n\r\n; first  \r\n;second\r\n;  indented\r\n;\r\n; \r\n\r\n"
        "; still header\r\nLAUNCH:a\r\n; after a command\r\nWAIT:1\r\n;late\r\n");
    EXPECT_EQ(c.description, "first\r\nsecond\r\n indented\r\nstill header")
        << "one space after ';' goes, trailing spaces go, empty lines are lost";
    EXPECT_EQ(c.lines, (std::vector<std::string>{"LAUNCH:a", "WAIT:1"}));
}

TEST(EditorRead, WhichLinesAreKept) {
    const MacroContent c = ParseMacroText(
        "; <RKMACRO>t\r\n\r\n\r\n"
        "  launch:notepad.exe\r\n"  // indented: kept, stripped, as the engine runs it
        "\tWAIT:100 \t\r\n"
        "WAIT :100\r\n"  // space before the colon: no keyword
        "Mouse:L\r\n"
        "TYPE:abc  \r\n"            // trailing blanks of an unindented line stay
        "  ; indented comment\r\n"  // indented non-command lines are still dropped
        "\x81\x40KEYIN:A\r\n"       // an ideographic space is not white space
        "FOCUSED:x\r\n"
        "KEYIN:\r\r\n"  // only the CR before the LF ends the line
        "\r\n"
        "LAUNCH:last");  // no line end at the end of the file
    EXPECT_EQ(c.lines, (std::vector<std::string>{"launch:notepad.exe", "WAIT:100", "Mouse:L",
                                                 "TYPE:abc  ", "KEYIN:\r", "LAUNCH:last"}));
    EXPECT_EQ(c.description, "");
}

TEST(EditorRead, LinesSavingWouldDropAreCountedAndNoticedOnOpening) {
    const std::string file =
        "; <RKMACRO>t\r\n; <TARGET>w\r\n\r\n"
        "; kept\r\n"
        ";\r\n"     // blank description lines: dropped
        ";   \r\n"  //
        " \t \r\n"  // white space alone and empty lines: part of the layout
        "\r\n"
        "LAUNCH:a\r\n"
        "; after the first command\r\n"  // dropped
        "ほかの行\r\n"                   // no keyword: dropped
        "  ; indented\r\n"               // dropped
        "\tWAIT:1\r\n"
        "WAIT :1";  // dropped, also without a line end
    std::size_t unwritten = 99;
    const MacroContent c = ParseMacroText(file, &unwritten);
    EXPECT_EQ(unwritten, 6u);
    EXPECT_EQ(c.lines, (std::vector<std::string>{"LAUNCH:a", "WAIT:1"}));
    ParseMacroText("; <RKMACRO>t\r\n\r\n\r\nWAIT:1\r\n", &unwritten);
    EXPECT_EQ(unwritten, 0u);

    // Opening says so once, after the document is read; a clean file says nothing.
    test::MemoryFileSystem fs;
    fs.files["C:\\m\\h.txt"] = file;
    fs.files["C:\\m\\clean.txt"] = "; <RKMACRO>t\r\n\r\n; d\r\n\r\nWAIT:1\r\n";
    EditorDocument doc;
    DocumentResult r = doc.Load(fs, "C:\\m\\h.txt");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.notice,
              "C:\\m\\h.txt には、保存しても書き込まれない行が 6 行あります"
              "(最初のマクロデータより後のコメント、マクロデータではない行、空の説明行)。\r\n"
              "保存すると、これらの行は失われます。");
    EXPECT_FALSE(doc.IsModified()) << "the user decides; nothing is changed for him";
    EXPECT_EQ(doc.Load(fs, "C:\\m\\clean.txt").notice, "");
    EXPECT_NE(EditorDocument().Start(fs, "C:\\m\\h.txt").notice.find(" 6 行"), std::string::npos)
        << "also from the command line";
}

TEST(EditorWrite, ExactLayout) {
    MacroContent c = Content("日報", "メモ帳", false, "一行目\r\n\r\n三行目",
                             {"LAUNCH:notepad.exe", "wait:100"});
    EXPECT_EQ(ComposeMacroText(c),
              "; <RKMACRO>日報\r\n; <TARGET>メモ帳\r\n\r\n; 一行目\r\n; \r\n; 三行目\r\n\r\n"
              "LAUNCH:notepad.exe\r\nwait:100\r\n");
    // The empty middle description line is lost on reading.
    EXPECT_EQ(ParseMacroText(*ComposeMacroText(c)).description, "一行目\r\n三行目");

    // Global on: the caption stays in the field but is not written; no description.
    c = Content("", "メモ帳", true, "", {});
    EXPECT_EQ(ComposeMacroText(c), "; <RKMACRO>\r\n\r\n\r\n");
    c = Content("t", "", false, "", {});
    EXPECT_EQ(ComposeMacroText(c), "; <RKMACRO>t\r\n\r\n\r\n") << "global off, no caption";

    // A description ending in a line break keeps its empty last "; " line.
    c = Content("t", "", true, "a\r\n", {});
    EXPECT_EQ(ComposeMacroText(c), "; <RKMACRO>t\r\n\r\n; a\r\n; \r\n\r\n");
}

TEST(EditorWrite, OneLineFieldsHoldingALineFeedAreNotWritten) {
    // The title, the target while it is written and every command line are one line of
    // the file each: an LF in any of them would write a line the engine runs.
    const std::pair<MacroContent, std::string> refused[] = {
        {Content("朝\nLAUNCH:x", "", true, "", {"WAIT:1"}), "マクロ名称"},
        {Content("t", "メモ帳\r\nLAUNCH:x", false, "", {}), "ターゲットウィンドウ"},
        {Content("t", "", true, "", {"WAIT:1", "FOCUS:\"!\r\nLAUNCH:\"notepad.exe\"\""}),
         "2 行目のマクロデータ"},
        {Content("t", "", true, "", {"WAIT:1\n"}), "1 行目のマクロデータ"},
    };
    for (const auto& [content, field] : refused) {
        EXPECT_EQ(ComposeMacroText(content), std::nullopt) << field;
        EXPECT_EQ(LineBreakField(content, content.lines), field);
    }
    // The target is not written while global is on; a lone CR read from a file ends no
    // line and is written back as it was read.
    EXPECT_EQ(ComposeMacroText(Content("t", "a\nb", true, "", {})), "; <RKMACRO>t\r\n\r\n\r\n");
    EXPECT_EQ(ComposeMacroText(Content("a\rb", "", true, "", {"TYPE:\"x\ry\""})),
              "; <RKMACRO>a\rb\r\n\r\n\r\nTYPE:\"x\ry\"\r\n");

    // The document refuses to save such a line and says where it is; the file stays.
    test::MemoryFileSystem fs;
    fs.files["C:\\m.txt"] = "old";
    EditorDocument doc;
    doc.List().Reset({"WAIT:1", "WAIT:2\nLAUNCH:x"});
    const DocumentResult r = doc.Save(fs, "C:\\m.txt");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "2 行目のマクロデータに改行が含まれているため、保存できません。");
    EXPECT_EQ(fs.files["C:\\m.txt"], "old");
    EXPECT_EQ(doc.Path(), "");
    EXPECT_FALSE(SaveMacroFile(fs, "C:\\m.txt", Content("a\nb", "", true, "", {})));
    EXPECT_EQ(fs.files["C:\\m.txt"], "old");
}

TEST(EditorFields, TitleAndTargetAreStoredOnOneLine) {
    // A caption picked or pasted with line breaks: the form's title and target are stored
    // on one line; the description keeps its lines.
    test::MemoryFileSystem fs;
    EditorDocument doc;
    MacroFields f;
    f.title = "朝\r\nLAUNCH:x";
    f.target = "!\rLAUNCH:\"notepad.exe\"";
    f.global = false;
    f.description = "一\r\n二";
    EXPECT_TRUE(doc.ChangeFields(f));
    EXPECT_EQ(doc.Fields().title, "朝 LAUNCH:x");
    EXPECT_EQ(doc.Fields().target, "! LAUNCH:\"notepad.exe\"");
    EXPECT_EQ(doc.Fields().description, "一\r\n二");
    EXPECT_FALSE(doc.ChangeFields(doc.Fields())) << "the stored fields change nothing";
    ASSERT_TRUE(doc.Save(fs, "C:\\f.txt").ok);
    EXPECT_EQ(fs.files["C:\\f.txt"],
              "; <RKMACRO>朝 LAUNCH:x\r\n; <TARGET>! LAUNCH:\"notepad.exe\"\r\n\r\n; 一\r\n; 二\r\n"
              "\r\n");
}

TEST(EditorWrite, LoneLineFeedInDescriptionCannotInjectACommand) {
    const MacroContent c = Content("t", "", true, "note\nLAUNCH:format.exe", {"WAIT:1"});
    const std::string bytes = *ComposeMacroText(c);
    EXPECT_EQ(bytes, "; <RKMACRO>t\r\n\r\n; note\r\n; LAUNCH:format.exe\r\n\r\nWAIT:1\r\n");
    const MacroContent back = ParseMacroText(bytes);
    EXPECT_EQ(back.lines, std::vector<std::string>{"WAIT:1"});
    EXPECT_EQ(back.description, "note\r\nLAUNCH:format.exe");
}

TEST(EditorFiles, CheckMacroFileGivesTheTitleOfAMacroOnly) {
    test::MemoryFileSystem fs;
    fs.files["C:\\a.txt"] = "; <RKMACRO>日報 \r\nWAIT:1\r\n";
    fs.files["C:\\b.txt"] = "<RKMACRO>x\r\n";
    std::string title = "old";
    EXPECT_TRUE(CheckMacroFile(fs, "C:\\a.txt", &title));
    EXPECT_EQ(title, "日報");
    EXPECT_FALSE(CheckMacroFile(fs, "C:\\b.txt", &title));
    EXPECT_EQ(title, "");
    EXPECT_FALSE(CheckMacroFile(fs, "C:\\missing.txt"));
    fs.locked.insert("C:\\a.txt");
    EXPECT_FALSE(CheckMacroFile(fs, "C:\\a.txt")) << "a file that cannot be opened";
}

// Opening for reading and writing on the fake file system, refused as the platform
// refuses it: a missing file, a read-only one, one that another program holds.
class FakeWriteAccess : public IWriteAccess {
public:
    explicit FakeWriteAccess(test::MemoryFileSystem& fs) : fs_(fs) {}
    bool OpenReadWrite(const std::string& path, SysError* error) override {
        *error = !fs_.files.count(path)                                    ? 2
                 : fs_.readOnly.count(path)                                ? 5
                 : fs_.locked.count(path) || fs_.openExclusive.count(path) ? 32
                                                                           : 0;
        return *error == 0;
    }

private:
    test::MemoryFileSystem& fs_;
};

TEST(EditorOpen, DecisionsOfOpenMacroFile) {
    test::MemoryFileSystem fs;
    FakeWriteAccess access(fs);
    const std::string macro = "C:\\マクロ\\表示.txt";
    fs.files[macro] = "; <RKMACRO>t\r\n";
    fs.files["C:\\notes.txt"] = "hello\r\n";
    fs.files["C:\\ro.txt"] = "; <RKMACRO>t\r\n";
    fs.readOnly.insert("C:\\ro.txt");

    OpenFileAction a = OpenMacroFile(fs, access, "C:\\notes.txt", false, kFolder);
    EXPECT_EQ(a.kind, OpenFileAction::Kind::Message);
    EXPECT_EQ(a.message, "指定のファイルはRKマクロファイルではありません。");
    // A recent file that is gone is missing, not foreign.
    a = OpenMacroFile(fs, access, "C:\\gone.txt", false, kFolder);
    EXPECT_EQ(a.kind, OpenFileAction::Kind::Message);
    EXPECT_EQ(a.message, "'C:\\gone.txt'\r\nは編集できません。File not found.\r\n");

    a = OpenMacroFile(fs, access, "C:\\ro.txt", true, kFolder);
    EXPECT_EQ(a.kind, OpenFileAction::Kind::Message);
    EXPECT_EQ(a.message, "'C:\\ro.txt'\r\nは編集できません。Access is denied.\r\n");

    a = OpenMacroFile(fs, access, macro, true, kFolder);
    EXPECT_EQ(a.kind, OpenFileAction::Kind::StartEditor);
    EXPECT_EQ(a.launch.target,
              "\"C:\\Program Files\\Zorvane\\RkEditor.exe\" \"C:\\マクロ\\表示.txt\"");
    EXPECT_EQ(a.launch.show, kShowDefault);
    EXPECT_EQ(a.launch.failureMessage,
              "\"C:\\Program Files\\Zorvane\\RkEditor.exe\" "
              "\"C:\\マクロ\\表示.txt\"\n\rが処理できません。")
        << "a second editor that fails is reported with its command line";

    a = OpenMacroFile(fs, access, macro, false, kFolder);
    EXPECT_EQ(a.kind, OpenFileAction::Kind::OpenHere);
    EXPECT_EQ(a.path, macro);
    EXPECT_EQ(a.message, "");

    EXPECT_EQ(OpenMacroFile(fs, access, "", true, kFolder).kind, OpenFileAction::Kind::Nothing);

    const LaunchAction fresh = NewEditorAction(kFolder);
    EXPECT_EQ(fresh.target, "\"C:\\Program Files\\Zorvane\\RkEditor.exe\"");
    EXPECT_EQ(fresh.show, kShowDefault);
    EXPECT_EQ(fresh.failureMessage,
              "\"C:\\Program Files\\Zorvane\\RkEditor.exe\"\n\rが処理できません。");
}

TEST(EditorStartup, CommandLineSplitAndFile) {
    EXPECT_EQ(SplitCommandLine("  \"C:\\My Macros\\a b.txt\"  x\t"),
              (std::vector<std::string>{"C:\\My Macros\\a b.txt", "x"}));
    // The trail byte 0x5C of 表 before a quote is no backslash escaping it.
    EXPECT_EQ(SplitCommandLine("\"C:\\表\" next"), (std::vector<std::string>{"C:\\表", "next"}));
    EXPECT_EQ(SplitCommandLine("a\\\\\"b c\" d\\\"e f\\g"),
              (std::vector<std::string>{"a\\b c", "d\"e", "f\\g"}));
    EXPECT_EQ(SplitCommandLine("\"\""), std::vector<std::string>{""});
    EXPECT_TRUE(SplitCommandLine("   ").empty());

    EXPECT_EQ(CommandLineFile("/dde \"C:\\m\\a.txt\" C:\\other.txt"), "C:\\m\\a.txt");
    EXPECT_EQ(CommandLineFile(""), "");
}

TEST(EditorStartup, OnlyAMacroFileOpensFromTheCommandLine) {
    test::MemoryFileSystem fs;
    fs.files["C:\\m\\a.txt"] = "; <RKMACRO>朝\r\n\r\n\r\nWAIT:1\r\nKEYIN:A\r\n";
    fs.files["C:\\notes.txt"] = "not a macro\r\n";

    EditorDocument doc;
    DocumentResult r = doc.Start(fs, "\"C:\\m\\a.txt\"");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(doc.Path(), "C:\\m\\a.txt");
    EXPECT_EQ(doc.Caption(), "a.txt - RkEditor");
    EXPECT_EQ(doc.Fields().title, "朝");
    EXPECT_EQ(doc.List().Lines(), (std::vector<std::string>{"WAIT:1", "KEYIN:A"}));
    EXPECT_EQ(r.list.edits, (std::vector<ListEdit>{{ListEdit::Kind::Reset, 2}}));
    EXPECT_EQ(r.list.selection, 0);
    EXPECT_TRUE(r.list.focusList);

    // A file that is not a macro file, or that cannot be opened, starts a new document
    // not bound to its path, so a save cannot overwrite it; the user is told what was
    // wrong with the file, with the system's text when it could not be opened. No file
    // at all is a plain start.
    fs.files["C:\\locked.txt"] = "; <RKMACRO>held\r\n";
    fs.locked.insert("C:\\locked.txt");
    const std::pair<const char*, std::string> cases[] = {
        {"C:\\notes.txt", kMsgNotMacroFile},
        {"C:\\missing.txt", "'C:\\missing.txt'\r\nは編集できません。File not found.\r\n"},
        {"C:\\locked.txt", "'C:\\locked.txt'\r\nは編集できません。Sharing violation.\r\n"},
        {"", ""},
    };
    for (const auto& [line, message] : cases) {
        EditorDocument fresh;
        r = fresh.Start(fs, line);
        EXPECT_FALSE(r.ok) << line;
        EXPECT_EQ(r.message, message) << line;
        EXPECT_EQ(fresh.Path(), "") << line;
        EXPECT_EQ(fresh.Caption(), "無題 - RkEditor") << line;
        EXPECT_FALSE(fresh.SaveAsEnabled()) << line;
    }
    EXPECT_EQ(fs.files["C:\\notes.txt"], "not a macro\r\n");
}

TEST(EditorDocumentState, ModifiedFlagCaptionAndSaveCommands) {
    test::MemoryFileSystem fs;
    EditorDocument doc;
    EXPECT_EQ(doc.Caption(), "無題 - RkEditor");
    EXPECT_FALSE(doc.SaveEnabled());
    EXPECT_FALSE(doc.SaveAsEnabled());
    EXPECT_TRUE(doc.SaveNeedsName());

    // Filling the form with what it holds marks nothing.
    EXPECT_FALSE(doc.ChangeFields(doc.Fields()));
    EXPECT_FALSE(doc.IsModified());

    MacroFields fields = doc.Fields();
    fields.global = false;
    EXPECT_TRUE(doc.ChangeFields(fields)) << "caption changes on the first modification";
    EXPECT_TRUE(doc.TargetEnabled());
    EXPECT_EQ(doc.Caption(), "無題 - RkEditor(更新)");
    fields.title = "x";
    EXPECT_FALSE(doc.ChangeFields(fields)) << "already modified: caption unchanged";
    EXPECT_FALSE(doc.MarkModified());
    EXPECT_EQ(doc.Caption(), "無題 - RkEditor(更新)") << "the mark is appended once";
    EXPECT_TRUE(doc.SaveEnabled());
    EXPECT_EQ(doc.SaveQuestion(), "無題 への変更を保存しますか?");

    fields.target = "メモ帳";
    doc.ChangeFields(fields);
    EXPECT_FALSE(doc.NoteListChange(doc.List().InsertLineAfter(-1, "WAIT:1")));
    const DocumentResult saved = doc.Save(fs, "C:\\m\\朝.txt");
    EXPECT_TRUE(saved.ok);
    EXPECT_EQ(fs.files["C:\\m\\朝.txt"], "; <RKMACRO>x\r\n; <TARGET>メモ帳\r\n\r\n\r\nWAIT:1\r\n");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Caption(), "朝.txt - RkEditor");
    EXPECT_TRUE(doc.SaveAsEnabled());
    EXPECT_FALSE(doc.SaveNeedsName());
    EXPECT_FALSE(doc.NoteListChange(doc.List().Move(+1))) << "a beep modifies nothing";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.NoteListChange(doc.List().Duplicate()));
    EXPECT_EQ(doc.Caption(), "朝.txt - RkEditor(更新)");
    EXPECT_EQ(doc.SaveQuestion(), "C:\\m\\朝.txt への変更を保存しますか?");

    // A failed save changes nothing and names the file.
    fs.readOnly.insert("C:\\ro.txt");
    const DocumentResult failed = doc.Save(fs, "C:\\ro.txt");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message, "C:\\ro.txt の書き込み中に予期しないエラーが発生しました。");
    EXPECT_EQ(doc.Path(), "C:\\m\\朝.txt");
    EXPECT_TRUE(doc.IsModified());
}

TEST(EditorDocumentState, LoadReplacesEverythingAndFillsThePasteBuffer) {
    test::MemoryFileSystem fs;
    fs.files["C:\\m\\b.txt"] = "; <RKMACRO>b\r\n";
    EditorDocument doc;
    MacroFields typed;
    typed.title = "typed";
    typed.global = false;
    typed.target = "old target";
    typed.description = "old description";
    doc.ChangeFields(typed);
    doc.List().InsertLineAfter(-1, "WAIT:2");
    doc.List().InsertLineAfter(-1, "WAIT:1");

    const DocumentResult r = doc.Load(fs, "C:\\m\\b.txt");
    EXPECT_TRUE(r.ok);
    MacroFields expected;
    expected.title = "b";
    EXPECT_EQ(doc.Fields(), expected) << "no field of the replaced document survives";
    EXPECT_EQ(doc.List().Count(), 0);
    EXPECT_EQ(doc.List().Selection(), -1);
    EXPECT_FALSE(r.list.focusList);
    EXPECT_EQ(doc.List().PasteBuffer(), "WAIT:1") << "emptied from the last line to the first";
    EXPECT_FALSE(doc.IsModified());

    const DocumentResult missing = doc.Load(fs, "C:\\m\\gone.txt");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "C:\\m\\gone.txt の読み込み中に予期しないエラーが発生しました。");
    EXPECT_EQ(doc.Path(), "C:\\m\\b.txt");
}

TEST(EditorSaveAs, ProposedNameAndDialogs) {
    EXPECT_EQ(ProposedSaveAsName("", "", "無題"), "\\無題.txt");
    EXPECT_EQ(ProposedSaveAsName("D:\\RK_MACRO", "", "無題"), "D:\\RK_MACRO\\無題.txt");
    EXPECT_EQ(ProposedSaveAsName("D:\\", "", "a"), "D:\\a.txt") << "no second backslash";
    EXPECT_EQ(ProposedSaveAsName("D:\\表", "", "a"), "D:\\表\\a.txt") << "表 ends in 0x5C";
    EXPECT_EQ(ProposedSaveAsName("D:\\m", "", "ab:cd"), "D:\\m\\ab.txt");
    EXPECT_EQ(ProposedSaveAsName("D:\\m", "", "a/b\\c"), "D:\\m\\a.txt");
    EXPECT_EQ(ProposedSaveAsName("D:\\m", "", "表示:x"), "D:\\m\\表示.txt")
        << "a trail byte 0x5C does not cut the title";
    EXPECT_EQ(ProposedSaveAsName("D:\\m", "C:\\x\\y.txt", "y.txt"), "C:\\x\\y.txt");

    EXPECT_EQ(SaveAsDialogModel("D:\\m", "", "無題").fileName, "D:\\m\\無題.txt");
    const FileDialogModel open = OpenDialogModel("D:\\m");
    EXPECT_EQ(open.initialFolder, "D:\\m");
    EXPECT_EQ(open.title.size(), 15u) << "half-width katakana are one byte each in CP932";

    EXPECT_EQ(FileTitleOfPath("C:\\表\\朝.txt"), "朝.txt");
    EXPECT_EQ(FileTitleOfPath("C:\\a\\b.txt"), "b.txt");
}

}  // namespace
}  // namespace zv
