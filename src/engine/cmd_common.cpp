#include "engine/commands.h"
#include "common/strutil.h"

namespace zv {

std::string HandleHex(WindowHandle handle) {
    return StrPrintf("%8.8X", static_cast<unsigned>(handle & 0xFFFFFFFFu));
}

}  // namespace zv
