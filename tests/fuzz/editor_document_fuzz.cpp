// Fuzz target of the editor's document reader: any bytes read as a macro file give a
// content that the writer writes and the reader reads back unchanged, byte for byte on
// the second write, with no line it would drop. The same bytes go through the drag payload and the
// command-line split.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/document.h"
#include "editor/dragdrop.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    const zv::MacroContent first = zv::ParseMacroText(input);
    const std::optional<std::string> written = zv::ComposeMacroText(first);
    if (!written)
        __builtin_trap();  // what was read holds no LF in a one-line field
    std::size_t unwritten = 1;
    const zv::MacroContent second = zv::ParseMacroText(*written, &unwritten);
    if (!(second == first) || zv::ComposeMacroText(second) != written || unwritten != 0)
        __builtin_trap();

    for (const std::string& line : first.lines) {
        if (line.empty() || line.find('\n') != std::string::npos)
            __builtin_trap();
    }

    if (const std::optional<std::string> line = zv::ParseDragText(input)) {
        if (line->empty() ||
            line->find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos)
            __builtin_trap();
        if (zv::ParseDragText(zv::ComposeDragText(*line)) != line)
            __builtin_trap();
    }

    std::size_t total = 0;
    for (const std::string& arg : zv::SplitCommandLine(input))
        total += arg.size();
    if (total > input.size())
        __builtin_trap();
    return 0;
}
