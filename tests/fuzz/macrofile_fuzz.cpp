// Fuzz target of the macro file container and the engine's start-up parsing: the input is
// read as a macro file (first-line header check, every line stripped, classified and
// split), as an engine command line and as a configuration file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/cmdline.h"
#include "common/cp932.h"
#include "common/filesystem.h"
#include "common/macrofile.h"
#include "common/profile.h"
#include "fuzz/bytes_file.h"

namespace {

class NoClipboard : public zv::IClipboardTextSource {
public:
    std::optional<std::string> ReadClipboardText() override { return std::string("clip"); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    zv::fuzz::BytesFile first(input, 13);
    std::string line;
    if (zv::ReadFirstLinePrefix(first, zv::kEngineHeaderPrefix, line)) {
        if (line.size() > zv::kEngineHeaderPrefix)
            __builtin_trap();
        zv::IsHeaderLine(line, zv::kEngineHeaderPrefix);
    }

    zv::fuzz::BytesFile file(input, 13);
    zv::LineReader reader(file);
    NoClipboard clip;
    std::size_t total = 0;
    while (reader.ReadLine(line)) {
        total += line.size();
        bool found = false;
        zv::ReadHeaderValue(line, zv::kTargetTag, found);
        const std::string_view stripped = zv::StripWhite(line);
        if (zv::ClassifyLine(stripped) != zv::LineKind::Command)
            continue;
        zv::MatchKeyword(stripped);
        std::string param = zv::GetParamText(stripped);
        if (param.size() > stripped.size())
            __builtin_trap();
        if (zv::StripQuotes(param))
            zv::SubstituteParam(param, {"p1", "p2"}, clip);
        zv::ToUpperAscii(param);
        zv::TruncateChars(param, 255);
    }
    if (total > input.size())
        __builtin_trap();

    const zv::EngineCommandLine cmd = zv::ParseEngineCommandLine(input);
    if (cmd.macroPath.size() > input.size())
        __builtin_trap();

    std::string value;
    zv::IniLookup(input, "RkEngineSettings", "KeyinWaitMSec", value);
    const std::string updated = zv::IniSet(input, "RkEngineSettings", "KeyinWaitMSec", "100");
    if (!zv::IniLookup(updated, "RkEngineSettings", "KeyinWaitMSec", value) || value != "100")
        __builtin_trap();
    return 0;
}
