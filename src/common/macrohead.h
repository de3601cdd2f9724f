// The head of a macro file as the launcher and the editor read it: the header line and
// the target line, each seen up to its first 255 bytes and up to a zero byte.
#pragma once

#include <cstddef>
#include <string>

#include "common/filesystem.h"

namespace zv {

// How far past the examined bytes the reader goes to find the end of the first line
// before it gives up on the second (a first line of megabytes must not stall a reader).
inline constexpr std::size_t kMaxFirstLineSkip = 1024 * 1024;

struct MacroHeader {
    bool isMacro = false;  // line 1 carries the header tag
    std::string title;     // text after the header tag (may be empty)
    std::string target;    // text after the target tag on line 2 (empty when none)
};

enum class HeaderRead { CannotOpen, NotMacro, Macro };

// Reads the first line and, for a macro file, the second line of an open file.
HeaderRead ReadMacroHeader(IReadFile& file, MacroHeader& header);

// Opens path for shared reading and reads its head as above.
HeaderRead ReadMacroHeader(IFileSystem& fs, const std::string& path, MacroHeader& header);

}  // namespace zv
