// The product version in a program's version resource.
#pragma once

#include <optional>
#include <string>

namespace zv {

// "\StringFileInfo\041104b0\ProductVersion" of the file; nothing when it has none.
std::optional<std::string> ReadProductVersion(const std::string& path);

}  // namespace zv
