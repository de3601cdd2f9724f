// The configuration file for the win32 tests: the real profile over a file held in memory,
// so that keys are matched and numbers read as the programs' own profile does.
#pragma once

#include <string>

#include "common/profile.h"
#include "unit/fake_filesystem.h"

namespace zv::test {

struct MemoryProfileFile {
    MemoryFileSystem fs;
};

class MemoryProfile : private MemoryProfileFile, public IniProfile {
public:
    MemoryProfile() : IniProfile(fs, "C:\\Zorvane.ini") {}
    // The file's text; empty while nothing was written.
    std::string Text() const {
        auto it = fs.files.find(Path());
        return it == fs.files.end() ? std::string() : it->second;
    }
};

}  // namespace zv::test
