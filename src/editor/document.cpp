#include "editor/document.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/cp932.h"
#include "common/folders.h"
#include "common/macrofile.h"
#include "common/macrohead.h"
#include "common/strutil.h"

namespace zv {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCommentPrefix = "; ";

bool IsCommandLine(std::string_view line) {
    return MatchKeyword(line).has_value();
}

// Splits text into lines: a line ends at LF, a CR right before it is dropped, and the
// last line needs no line end.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        const std::size_t begin = pos_;
        if (begin >= text_.size())
            return false;
        const void* lf = std::memchr(text_.data() + begin, '\n', text_.size() - begin);
        std::size_t end = text_.size();
        if (lf != nullptr) {
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - text_.data());
            pos_ = end + 1;
            if (end > begin && text_[end - 1] == '\r')
                --end;
        } else {
            pos_ = end;
        }
        line = text_.substr(begin, end - begin);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// A description line of the file: ";" and one space after it removed, trailing spaces
// removed.
std::string_view DescriptionText(std::string_view line) {
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    return line;
}

}  // namespace

MacroContent ParseMacroText(std::string_view text, std::size_t* unwritten) {
    MacroContent content;
    std::size_t dropped = 0;
    if (unwritten != nullptr)
        *unwritten = 0;
    LineSplitter splitter(text);
    std::string_view line;
    if (!splitter.Next(line))
        return content;
    bool found = false;
    content.title = ReadHeaderValue(line, kHeaderTag, found);
    if (!found || !splitter.Next(line))
        return content;
    content.target = ReadHeaderValue(line, kTargetTag, found);
    content.global = !found || content.target.empty();
    // A target line is consumed; any other line 2 is read like the lines after it.
    bool haveLine = content.global;
    bool inHeader = true;
    while (haveLine || splitter.Next(line)) {
        haveLine = false;
        if (line.empty())
            continue;
        if (IsCommandLine(line)) {
            content.lines.emplace_back(line);
            inHeader = false;
        } else if (IsWhiteByte(static_cast<unsigned char>(line.front()))) {
            // Indented command lines run in the engine; they are kept, stripped.
            const std::string_view stripped = StripWhite(line);
            if (IsCommandLine(stripped)) {
                content.lines.emplace_back(stripped);
                inHeader = false;
            } else if (!stripped.empty()) {
                ++dropped;  // white space alone holds nothing to lose
            }
        } else if (line.front() == ';' && inHeader) {
            const std::string_view part = DescriptionText(line);
            if (!part.empty()) {
                content.description.append(part);
                content.description.append(kCrLf);
            } else {
                ++dropped;
            }
        } else {
            ++dropped;  // a comment after the first command line, or no keyword
        }
    }
    if (content.description.size() > 1)
        content.description.resize(content.description.size() - 2);
    if (unwritten != nullptr)
        *unwritten = dropped;
    return content;
}

std::optional<std::string> ComposeMacroText(const MacroContent& content) {
    return ComposeMacroText(content, content.lines);
}

std::string LineBreakField(const MacroFields& fields, const std::vector<std::string>& lines) {
    const auto breaks = [](std::string_view s) { return s.find('\n') != std::string_view::npos; };
    if (breaks(fields.title))
        return "マクロ名称";
    if (!fields.global && !fields.target.empty() && breaks(fields.target))
        return "ターゲットウィンドウ";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (breaks(lines[i]))
            return StrPrintf("%d 行目のマクロデータ", static_cast<int>(i + 1));
    }
    return {};
}

std::optional<std::string> ComposeMacroText(const MacroFields& content,
                                            const std::vector<std::string>& lines) {
    // The last guard: an LF in a one-line field would write a line of its own, which the
    // engine would then run.
    if (!LineBreakField(content, lines).empty())
        return std::nullopt;
    std::size_t size =
        64 + content.title.size() + content.target.size() + content.description.size() * 2;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    out.append(kCommentPrefix).append(kHeaderTag).append(content.title).append(kCrLf);
    if (!content.global && !content.target.empty())
        out.append(kCommentPrefix).append(kTargetTag).append(content.target).append(kCrLf);
    out.append(kCrLf);
    if (!content.description.empty()) {
        // Every description line behind "; ", also after a lone LF, so that no part of
        // the description can be read back as a command line.
        LineSplitter splitter(content.description);
        std::string_view line;
        while (splitter.Next(line))
            out.append(kCommentPrefix).append(line).append(kCrLf);
        if (content.description.back() == '\n')
            out.append(kCommentPrefix).append(kCrLf);
    }
    out.append(kCrLf);
    for (const std::string& line : lines)
        out.append(line).append(kCrLf);
    return out;
}

bool LoadMacroFile(IFileSystem& fs, const std::string& path, MacroContent& content,
                   std::size_t* unwritten) {
    std::string bytes;
    if (!fs.ReadAll(path, bytes))
        return false;
    content = ParseMacroText(bytes, unwritten);
    return true;
}

bool SaveMacroFile(IFileSystem& fs, const std::string& path, const MacroContent& content) {
    const std::optional<std::string> text = ComposeMacroText(content);
    return text && fs.ReplaceContent(path, *text);
}

bool CheckMacroFile(IFileSystem& fs, const std::string& path, std::string* title) {
    MacroHeader header;
    const bool isMacro = ReadMacroHeader(fs, path, header) == HeaderRead::Macro;
    if (title != nullptr)
        *title = isMacro ? header.title : std::string();
    return isMacro;
}

std::string MacroFileRefusal(IFileSystem& fs, const std::string& path) {
    SysError error = 0;
    const std::unique_ptr<IReadFile> file = fs.OpenRead(path, false, &error);
    if (!file)
        return StrPrintf(kMsgCannotEdit, path.c_str(), fs.ErrorText(error).c_str());
    MacroHeader header;
    return ReadMacroHeader(*file, header) == HeaderRead::Macro ? std::string() : kMsgNotMacroFile;
}

bool CheckWritable(IWriteAccess& access, IFileSystem& fs, const std::string& path,
                   std::string* message) {
    SysError error = 0;
    if (access.OpenReadWrite(path, &error))
        return true;
    if (message != nullptr)
        *message = StrPrintf(kMsgCannotEdit, path.c_str(), fs.ErrorText(error).c_str());
    return false;
}

LaunchAction NewEditorAction(const std::string& programFolder) {
    LaunchAction action;
    action.target = Quoted(programFolder + std::string(kEditorExe));
    action.show = kShowDefault;
    return action;
}

LaunchAction SecondEditorAction(const std::string& programFolder, const std::string& path) {
    LaunchAction action = NewEditorAction(programFolder);
    action.target += ' ';
    action.target += Quoted(path);
    return action;
}

OpenFileAction OpenMacroFile(IFileSystem& fs, IWriteAccess& access, const std::string& path,
                             bool documentHasPath, const std::string& programFolder) {
    OpenFileAction action;
    if (path.empty())
        return action;
    action.kind = OpenFileAction::Kind::Message;
    action.message = MacroFileRefusal(fs, path);
    if (!action.message.empty())
        return action;
    if (!CheckWritable(access, fs, path, &action.message))
        return action;
    action.message.clear();
    if (documentHasPath) {
        action.kind = OpenFileAction::Kind::StartEditor;
        action.launch = SecondEditorAction(programFolder, path);
    } else {
        action.kind = OpenFileAction::Kind::OpenHere;
        action.path = path;
    }
    return action;
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> args;
    std::size_t pos = 0;
    const std::size_t n = commandLine.size();
    for (;;) {
        while (pos < n && (commandLine[pos] == ' ' || commandLine[pos] == '\t'))
            ++pos;
        if (pos >= n)
            return args;
        std::string arg;
        bool quoted = false;
        while (pos < n) {
            const char c = commandLine[pos];
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                std::size_t slashes = 0;
                while (pos < n && commandLine[pos] == '\\') {
                    ++slashes;
                    ++pos;
                }
                if (pos < n && commandLine[pos] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg += '"';
                        ++pos;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
            } else if (c == '"') {
                if (quoted && pos + 1 < n && commandLine[pos + 1] == '"') {
                    arg += '"';  // "" inside quotes is one quote
                    pos += 2;
                } else {
                    quoted = !quoted;
                    ++pos;
                }
            } else {
                const std::size_t len = CharLength(commandLine, pos);
                arg.append(commandLine.substr(pos, len));
                pos += len;
            }
        }
        args.push_back(std::move(arg));
    }
}

std::string CommandLineFile(std::string_view commandLine) {
    for (std::string& arg : SplitCommandLine(commandLine)) {
        if (!arg.empty() && arg.front() != '/' && arg.front() != '-')
            return std::move(arg);
    }
    return {};
}

FileDialogModel OpenDialogModel(const std::string& macroTopPath) {
    FileDialogModel dialog;
    dialog.title = "RKﾏｸﾛﾌｧｲﾙを選択";
    dialog.filter = "RKﾏｸﾛﾌｧｲﾙ (*.txt)|*.TXT|全てのﾌｧｲﾙ (*.*)|*.*||";
    dialog.okButton = "ﾌｧｲﾙ選択";
    dialog.initialFolder = macroTopPath;
    return dialog;
}

FileDialogModel SaveAsDialogModel(const std::string& macroTopPath, const std::string& path,
                                  const std::string& title) {
    FileDialogModel dialog;
    dialog.title = "名前を付けて保存";
    dialog.filter = "RKマクロファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*||";
    dialog.fileName = ProposedSaveAsName(macroTopPath, path, title);
    dialog.defaultExtension = std::string(kMacroFileExtension.substr(1));
    return dialog;
}

std::string ProposedSaveAsName(const std::string& macroTopPath, const std::string& path,
                               const std::string& title) {
    if (!path.empty())
        return path;
    std::size_t cut = 0;
    while (cut < title.size()) {
        const std::size_t len = CharLength(title, cut);
        if (len == 1 && (title[cut] == ':' || title[cut] == '/' || title[cut] == '\\'))
            break;
        cut += len;
    }
    std::string name = macroTopPath;
    // A folder given with its backslash (a drive's root) gets no second one.
    if (name.empty() || FindLastSingleByte(name, '\\') != name.size() - 1)
        name += '\\';
    name.append(title, 0, cut);
    name.append(kMacroFileExtension);
    return name;
}

std::string FileTitleOfPath(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t len = CharLength(path, pos);
        if (len == 1 && (path[pos] == '\\' || path[pos] == '/' || path[pos] == ':'))
            start = pos + 1;
        pos += len;
    }
    return std::string(path.substr(start));
}

EditorDocument::EditorDocument(std::size_t maxLines) : list_(maxLines) {}

std::string EditorDocument::Caption() const {
    std::string caption = title_;
    caption += " - ";
    caption += kEditorName;
    if (modified_)
        caption += kModifiedMark;
    return caption;
}

bool EditorDocument::MarkModified() {
    const bool changed = !modified_;
    modified_ = true;
    return changed;
}

std::string EditorDocument::SaveQuestion() const {
    return StrPrintf(kMsgAskToSave, (path_.empty() ? title_ : path_).c_str());
}

bool EditorDocument::ChangeFields(const MacroFields& fields) {
    MacroFields stored = fields;
    stored.title = OnOneLine(fields.title);
    stored.target = OnOneLine(fields.target);
    if (stored == fields_)
        return false;
    fields_ = std::move(stored);
    return MarkModified();
}

DocumentResult EditorDocument::Load(IFileSystem& fs, const std::string& path) {
    DocumentResult result;
    MacroContent content;
    std::size_t unwritten = 0;
    if (!LoadMacroFile(fs, path, content, &unwritten)) {
        result.message = StrPrintf(kMsgReadFailed, path.c_str());
        result.list.selection = list_.Selection();
        return result;
    }
    fields_ = std::move(static_cast<MacroFields&>(content));
    result.list = list_.Reset(std::move(content.lines));
    path_ = path;
    title_ = FileTitleOfPath(path);
    modified_ = false;
    result.ok = true;
    if (unwritten > 0)
        result.notice = StrPrintf(kMsgLinesNotWritten, path.c_str(), static_cast<int>(unwritten));
    return result;
}

DocumentResult EditorDocument::Save(IFileSystem& fs, const std::string& path) {
    DocumentResult result;
    result.list.selection = list_.Selection();
    const std::optional<std::string> text = ComposeMacroText(fields_, list_.Lines());
    if (!text) {
        result.message =
            StrPrintf(kMsgLineBreakNotSaved, LineBreakField(fields_, list_.Lines()).c_str());
        return result;
    }
    if (!fs.ReplaceContent(path, *text)) {
        result.message = StrPrintf(kMsgWriteFailed, path.c_str());
        return result;
    }
    path_ = path;
    title_ = FileTitleOfPath(path);
    modified_ = false;
    result.ok = true;
    return result;
}

DocumentResult EditorDocument::Start(IFileSystem& fs, std::string_view commandLine) {
    const std::string path = CommandLineFile(commandLine);
    // A file that is not a macro file, or that cannot be opened, must not become an empty
    // document bound to its path: a save would overwrite it. The user is told why the
    // window is empty.
    std::string refusal = path.empty() ? std::string() : MacroFileRefusal(fs, path);
    if (path.empty() || !refusal.empty()) {
        DocumentResult result;
        result.list.selection = list_.Selection();
        result.message = std::move(refusal);
        return result;
    }
    return Load(fs, path);
}

}  // namespace zv
