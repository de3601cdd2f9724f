// What the launcher's portable logic needs from its surroundings: the file system, the
// program folder and modal message boxes.
#pragma once

#include <string>

#include "common/filesystem.h"

namespace zv {

class IMessageHost {
public:
    virtual ~IMessageHost() = default;
    // A modal message box with an OK button and the program's name as caption.
    virtual void ShowMessage(const std::string& text) = 0;
};

class ILauncherHost : public IMessageHost {
public:
    virtual IFileSystem& FileSystem() = 0;
    // Folder of Zorvane.exe, ending in a backslash.
    virtual std::string ProgramFolder() = 0;
};

}  // namespace zv
