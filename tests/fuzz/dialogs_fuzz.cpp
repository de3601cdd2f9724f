// Fuzz target of the editor's dialog models: the input as a line, and behind each of the
// six keywords, through every dialog's parse, describe and compose and the list's
// description; any broken invariant (tests/unit/dialog_invariants.h) traps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "unit/dialog_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (const std::string_view keyword :
         {"", "LAUNCH:", "FOCUS:", "WAIT:", "KEYIN:", "TYPE:", "MOUSE:"}) {
        const std::string line = std::string(keyword) + input;
        const std::string broken = zv::test::CheckDialogLine(line);
        if (!broken.empty()) {
            __builtin_printf("invariant broken: %s\n", broken.c_str());
            __builtin_trap();
        }
    }
    return 0;
}
