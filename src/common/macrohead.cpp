#include "common/macrohead.h"

#include "common/macrofile.h"

namespace zv {

HeaderRead ReadMacroHeader(IReadFile& file, MacroHeader& header) {
    header.isMacro = false;  // cleared, not replaced: the strings keep their buffers
    header.title.clear();
    header.target.clear();
    HeadReader reader(file);
    thread_local std::string line;  // reused from file to file
    if (!reader.ReadLinePrefix(kReaderHeaderPrefix, line))
        return HeaderRead::NotMacro;
    bool found = false;
    header.title = ReadHeaderValue(line, kHeaderTag, found);
    if (!found) {
        header.title.clear();
        return HeaderRead::NotMacro;
    }
    header.isMacro = true;
    // The second line starts after the first line's LF, however long the first line is.
    const bool lineEnded = reader.LineEnded() || reader.SkipRestOfLine(kMaxFirstLineSkip);
    if (lineEnded && reader.ReadLinePrefix(kReaderHeaderPrefix, line))
        header.target = ReadHeaderValue(line, kTargetTag, found);
    return HeaderRead::Macro;
}

HeaderRead ReadMacroHeader(IFileSystem& fs, const std::string& path, MacroHeader& header) {
    SysError error = 0;
    std::unique_ptr<IReadFile> file = fs.OpenRead(path, false, &error);
    if (!file) {
        header = MacroHeader{};
        return HeaderRead::CannotOpen;
    }
    return ReadMacroHeader(*file, header);
}

}  // namespace zv
