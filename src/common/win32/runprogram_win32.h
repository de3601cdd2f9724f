// RunProgram with the started process kept: for a caller that watches how it ends.
#pragma once

#include <string>

#include "common/win32/handles.h"

namespace zv {

// Starts the program as RunProgram does and returns its process handle (empty when the
// process could not be created). The thread handle is closed at once.
UniqueHandle StartProgram(const std::string& commandLine, int show);

}  // namespace zv
