#include "common/folders.h"

#include "common/cp932.h"

namespace zv {

std::string ComposeAppDataFolder(std::string_view roamingBase, bool create, IFileSystem& fs) {
    std::string path(roamingBase);
    for (std::string_view part : {"\\Ostrand", "\\Zorvane"}) {
        path += part;
        if (create && !fs.IsDirectory(path))
            fs.MakeDirectory(path);
    }
    path += "\\";
    return path;
}

std::string FolderOfPath(std::string_view fullPath) {
    const std::size_t slash = FindLastSingleByte(fullPath, '\\');
    return slash == std::string_view::npos ? std::string()
                                           : std::string(fullPath.substr(0, slash + 1));
}

std::string FileUrl(std::string_view path) {
    return ReplaceSingleByte("file:///" + std::string(path), '\\', '/');
}

std::string HelpBaseAddress(std::string_view programFolder) {
    return FileUrl(std::string(programFolder) + "help\\");
}

std::string ComposeHelpAddress(std::string_view base, std::string_view page,
                               std::string_view anchor) {
    return std::string(base) + std::string(page) + std::string(anchor);
}

std::string DocumentOpenFailedMessage(std::string_view address) {
    return std::string(address) + std::string(kDocumentOpenFailed);
}

}  // namespace zv
