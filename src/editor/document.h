// The editor's document: a macro file read into its content and written back, the file
// path, title and modified flag behind the main window's caption, and the decisions of
// New, Open, the recent-file entries, start-up and Save As. The Win32 frame shows the
// dialogs and message boxes and starts the programs these functions name; it decides
// nothing about macro files itself.
#pragma once

#include <cstddef>
#include <string>
#include <optional>
#include <string_view>
#include <vector>

#include "common/filesystem.h"
#include "editor/linelist.h"
#include "launcher/launcher_commands.h"

namespace zv {

inline constexpr std::string_view kEditorName = "RkEditor";
inline constexpr std::string_view kUntitled = "無題";
inline constexpr std::string_view kModifiedMark = "(更新)";
inline constexpr std::string_view kMacroFileExtension = ".txt";

inline constexpr const char* kMsgNotMacroFile = "指定のファイルはRKマクロファイルではありません。";
// First %s: the path; second: the system's text for the error (usually ends in a line end).
inline constexpr const char* kMsgCannotEdit = "'%s'\r\nは編集できません。%s";
inline constexpr const char* kMsgAskToSave = "%s への変更を保存しますか?";
inline constexpr const char* kMsgReadFailed = "%s の読み込み中に予期しないエラーが発生しました。";
inline constexpr const char* kMsgWriteFailed = "%s の書き込み中に予期しないエラーが発生しました。";
// %s: the path; %d: how many of its lines the editor does not write back (ParseMacroText).
inline constexpr const char* kMsgLinesNotWritten =
    "%s には、保存しても書き込まれない行が %d 行あります"
    "(最初のマクロデータより後のコメント、マクロデータではない行、空の説明行)。\r\n"
    "保存すると、これらの行は失われます。";
// %s: the field (LineBreakField).
inline constexpr const char* kMsgLineBreakNotSaved = "%sに改行が含まれているため、保存できません。";

// The fields of the form beside the line list.
struct MacroFields {
    std::string title;
    std::string target;       // target window caption; written only while global is off
    bool global = true;       // on: not bound to a target window
    std::string description;  // lines joined by CR LF

    bool operator==(const MacroFields&) const = default;
};

// Everything a macro file holds for the editor: the fields and the command lines (byte
// strings without line end). A default-constructed content is a new document.
struct MacroContent : MacroFields {
    std::vector<std::string> lines;

    bool operator==(const MacroContent&) const = default;
};

// Reads a macro file's bytes. Lines end at LF; a CR right before the LF is not part of
// the line. Line 1 gives the title (nothing else is read when it has no header tag);
// line 2 is the target line when it carries the target tag with a caption (global off),
// otherwise it is read like the lines after it: a line beginning with a keyword (any
// letter case) is a command line, kept as written; a line indented by white space that
// is a command line once stripped is kept stripped; ";" lines before the first command
// line form the description ("; " and trailing spaces removed, empty ones dropped);
// every other line is dropped. Fields the file does not reach keep their defaults.
// unwritten, when given, receives how many lines were dropped that hold more than white
// space: what composing the content again would lose (empty and white lines are part of
// the layout).
MacroContent ParseMacroText(std::string_view text, std::size_t* unwritten = nullptr);

// The file layout, every line ending in CR LF, no byte-order mark:
//   "; <RKMACRO>" + title
//   "; <TARGET>" + target          only when global is off and target is not empty
//   empty line
//   "; " + description line        one per description line, when there is a description
//   empty line
//   one line per command line
// A line break inside the description (CR LF, or a lone LF) starts a new "; " line. The
// title, the target and the command lines are each one line of the file: nothing is
// composed when one of them holds an LF, the end of a line for every reader of macro
// files (see LineBreakField). Values entering the document are put on one line before
// (OnOneLine); a lone CR read from a file, which ends no line, is written back as read.
std::optional<std::string> ComposeMacroText(const MacroContent& content);
std::optional<std::string> ComposeMacroText(const MacroFields& fields,
                                            const std::vector<std::string>& lines);

// The first field that would break the one-line rule above: "マクロ名称",
// "ターゲットウィンドウ" (only while it is written) or "<n> 行目のマクロデータ"; empty
// when there is none.
std::string LineBreakField(const MacroFields& fields, const std::vector<std::string>& lines);

// Reads a whole file into content; false (content unchanged) when it cannot be read.
// unwritten as in ParseMacroText.
bool LoadMacroFile(IFileSystem& fs, const std::string& path, MacroContent& content,
                   std::size_t* unwritten = nullptr);

// Writes content through ReplaceContent: a temporary file in the same folder replaces
// the file only when it was written completely. False when it could not be written or
// was not composed (a line break in a one-line field).
bool SaveMacroFile(IFileSystem& fs, const std::string& path, const MacroContent& content);

// True when the first 255 bytes of the file's first line carry the header tag at a byte
// offset of 1 or more. A file that cannot be opened is not a macro file. title, when
// given, receives the text after the tag (trailing spaces and line ends removed).
bool CheckMacroFile(IFileSystem& fs, const std::string& path, std::string* title = nullptr);

// Why a chosen file cannot be edited as a macro file, or empty when it can be read as
// one: a file that cannot be opened gets "'<path>'\r\nは編集できません。" with the
// system's text (missing, locked, no access); a file that opens but carries no header is
// "指定のファイルはRKマクロファイルではありません。".
std::string MacroFileRefusal(IFileSystem& fs, const std::string& path);

// Write access as the platform tests it: opening a file for reading and writing without
// creating it, and closing it again.
class IWriteAccess {
public:
    virtual ~IWriteAccess() = default;
    // True when path could be opened so; otherwise false with the system's error code.
    virtual bool OpenReadWrite(const std::string& path, SysError* error) = 0;
};

// True when the file can be edited. Otherwise false and *message is the text to show:
// "'<path>'\r\nは編集できません。" followed by the system's text for the error.
bool CheckWritable(IWriteAccess& access, IFileSystem& fs, const std::string& path,
                   std::string* message);

// The command line that starts a new editor: "<folder>RkEditor.exe" in double quotes.
// Run with LaunchAction's show value; a failure to start is not reported.
LaunchAction NewEditorAction(const std::string& programFolder);
// The command line that opens path in a new editor: the above, a space, the quoted path.
LaunchAction SecondEditorAction(const std::string& programFolder, const std::string& path);

// What choosing a file (open dialog, recent-file entry) leads to.
struct OpenFileAction {
    enum class Kind {
        Nothing,      // an empty recent-file entry
        Message,      // show message; nothing changes
        StartEditor,  // run launch: the file opens in a new editor, this window stays
        OpenHere,     // ask the save question when modified, then Load(path) here
    };
    Kind kind = Kind::Nothing;
    std::string message;
    LaunchAction launch;
    std::string path;
};

// The decision of OpenMacroFile for the current document: not a macro file, not
// writable, a document that already has a path (a second editor), or this window.
OpenFileAction OpenMacroFile(IFileSystem& fs, IWriteAccess& access, const std::string& path,
                             bool documentHasPath, const std::string& programFolder);

// The editor's command line (what follows the program's name) split as the C runtime
// splits it: blanks separate arguments, double quotes group them, a backslash escapes a
// quote only; a double-byte character is one unit, so its trail byte is never taken for
// a backslash.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The file named on the command line: the first argument that is not a switch ("/" or
// "-"); empty when there is none.
std::string CommandLineFile(std::string_view commandLine);

// A standard file dialog: title, filter as "name|pattern|...||" (each "|" stands for the
// zero byte the dialog takes), and the text of the OK button when it is replaced.
struct FileDialogModel {
    std::string title;
    std::string filter;
    std::string okButton;       // empty: the dialog's own
    std::string initialFolder;  // empty: the dialog's choice
    std::string fileName;       // proposed file name (save dialog)
    std::string defaultExtension;
};

// The open dialog: "RKﾏｸﾛﾌｧｲﾙを選択", starting in the macro folder when it is set.
FileDialogModel OpenDialogModel(const std::string& macroTopPath);

// The save dialog "名前を付けて保存" with ProposedSaveAsName as its file name.
FileDialogModel SaveAsDialogModel(const std::string& macroTopPath, const std::string& path,
                                  const std::string& title);

// The name Save As proposes: the current path; without one, the macro folder, a
// backslash, the title cut at its first ":", "/" or "\", and ".txt".
std::string ProposedSaveAsName(const std::string& macroTopPath, const std::string& path,
                               const std::string& title);

// The title of a document with a path: its file name, after the last "\", "/" or ":".
std::string FileTitleOfPath(std::string_view path);

// The outcome of loading, saving or starting: whether a file was read or written, the
// message to show when it is not empty, and what the line list control must do.
struct DocumentResult {
    bool ok = false;
    std::string message;
    ListResult list;
    // A loaded file's lines that saving drops (kMsgLinesNotWritten): shown once, after
    // the form and the list are filled; empty when saving keeps everything.
    std::string notice;
};

// One editor window's document: file path (empty until the first load or save), title
// ("無題" without a path), modified flag, the form's fields and the line list.
class EditorDocument {
public:
    explicit EditorDocument(std::size_t maxLines = kNoLineLimit);

    const std::string& Path() const { return path_; }
    const std::string& Title() const { return title_; }
    bool IsModified() const { return modified_; }

    // The main window's caption: "<title> - RkEditor", "(更新)" appended while modified.
    std::string Caption() const;
    // Sets the modified flag. True when it was not set, i.e. the caption has changed.
    bool MarkModified();
    // Marks the document modified when a list operation changed the lines. True when the
    // caption has changed.
    bool NoteListChange(const ListResult& result) { return result.modified && MarkModified(); }
    // The framework's question before the document is closed or replaced, asked only
    // while it is modified; it names the path, or the title when there is none.
    std::string SaveQuestion() const;
    // "上書き保存" is enabled only while modified, "名前を付けて保存" only with a path.
    bool SaveEnabled() const { return modified_; }
    bool SaveAsEnabled() const { return !path_.empty(); }
    // "上書き保存" saves to Path(); a document without one asks for the name first, as
    // "名前を付けて保存" does (SaveAsDialogModel).
    bool SaveNeedsName() const { return path_.empty(); }

    const MacroFields& Fields() const { return fields_; }
    // A change notification of the title, target or description edit or a click on the
    // global check box: stores the form's fields and marks the document modified when
    // they differ from the stored ones (so filling the form from a file marks nothing).
    // The title and the target are stored on one line (OnOneLine): the form shows them
    // again as stored when they differ. True when the caption has changed.
    bool ChangeFields(const MacroFields& fields);
    // The target edit and the pick button are enabled only while global is off.
    bool TargetEnabled() const { return !fields_.global; }

    // The line list. Every list operation's result goes through NoteListChange.
    MacroLineList& List() { return list_; }
    const MacroLineList& List() const { return list_; }

    // Reads path into this document: fields and lines replaced (the list is emptied
    // first, which puts its lines through the paste buffer), path and title set,
    // modified cleared. On a read error nothing changes and message says so. notice
    // counts the file's lines that saving would drop.
    DocumentResult Load(IFileSystem& fs, const std::string& path);
    // Writes the content to path; on success path and title follow it and modified is
    // cleared. On failure nothing changes and message says so.
    DocumentResult Save(IFileSystem& fs, const std::string& path);
    // Start-up: a macro file named on the command line is loaded. No file leaves the new
    // document without a message; a file that is not a macro file, or cannot be opened,
    // leaves it with MacroFileRefusal's message; a macro file that then cannot be read
    // leaves it with the read error's message.
    DocumentResult Start(IFileSystem& fs, std::string_view commandLine);

private:
    std::string path_;
    std::string title_{kUntitled};
    bool modified_ = false;
    MacroFields fields_;
    MacroLineList list_;
};

}  // namespace zv
