// The engine's command line: the options "/M:", "/1:", "/2:" or a bare macro path.
#pragma once

#include <string>
#include <string_view>

namespace zv {

// The value of one option: after the first (case-sensitive) occurrence of key, either a
// double-quoted value or the text up to the next space; empty when the key is missing,
// the quote is not closed, or an unquoted value runs to the end of the command line.
std::string GetOption(std::string_view key, std::string_view commandLine);

struct EngineCommandLine {
    std::string macroPath;
    std::string param1;
    std::string param2;
};

// Reads the command line as the program receives it (without its own name). When no
// option is found the whole command line is the macro path, with one pair of enclosing
// double or single quotes removed when it is 3 bytes or longer.
EngineCommandLine ParseEngineCommandLine(std::string_view commandLine);

}  // namespace zv
