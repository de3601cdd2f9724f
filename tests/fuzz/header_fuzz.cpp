// Fuzz target of the launcher's reading of macro files: the input is a file's head read
// for its header and target lines, and a target caption matched against a window title
// taken from the input as well.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/macrofile.h"
#include "common/macrohead.h"
#include "fuzz/bytes_file.h"
#include "launcher/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    zv::fuzz::BytesFile file(input, 97);
    zv::MacroHeader header;
    const zv::HeaderRead read = zv::ReadMacroHeader(file, header);
    if (read != zv::HeaderRead::Macro && (header.isMacro || !header.title.empty()))
        __builtin_trap();
    if (header.title.size() > zv::kReaderHeaderPrefix ||
        header.target.size() > zv::kReaderHeaderPrefix)
        __builtin_trap();
    // The caption is the input's last line, as a window title could be anything.
    const std::string caption =
        input.substr(input.rfind('\n') == std::string::npos ? 0 : input.rfind('\n') + 1);
    const zv::TargetMatch match = zv::MatchTarget(header.target, caption);
    if (header.target.empty() && match != zv::TargetMatch::Ordinary)
        __builtin_trap();
    if (!header.target.empty() && header.target == caption && match != zv::TargetMatch::Targeted)
        __builtin_trap();
    return 0;
}
