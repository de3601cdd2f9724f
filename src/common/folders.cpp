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

std::string FileUrl(std::string_view utf8Path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file:///";
    url.reserve(url.size() + utf8Path.size() * 3);
    for (const char c : utf8Path) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') {
            url += '/';
        } else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                   c == '-' || c == '.' || c == '_' || c == '~' || c == '/' || c == ':') {
            url += c;
        } else {
            url += '%';
            url += kHex[b >> 4];
            url += kHex[b & 0x0F];
        }
    }
    return url;
}

std::string HelpBaseAddress(std::string_view utf8ProgramFolder) {
    return FileUrl(std::string(utf8ProgramFolder) + "help\\");
}

bool IsBrowserAddress(std::string_view address) {
    const std::string upper = ToUpperAscii(address.substr(0, 8));
    for (std::string_view scheme : {"FILE:", "HTTP:", "HTTPS:"}) {
        if (upper.compare(0, scheme.size(), scheme) == 0)
            return true;
    }
    return false;
}

std::string BrowserCommandLine(std::string_view command, std::string_view address) {
    std::string line;
    line.reserve(command.size() + address.size() + 3);
    bool placed = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] != '%' || i + 1 == command.size()) {
            line += command[i];
            continue;
        }
        const char code = command[++i];
        if (code == '0' || code == '1' || code == 'L' || code == 'l') {
            line.append(address);
            placed = true;
        } else if (code == '%') {
            line += '%';
        }
    }
    if (!placed) {
        line += " \"";
        line.append(address);
        line += '"';
    }
    return line;
}

std::string ComposeHelpAddress(std::string_view base, std::string_view page,
                               std::string_view anchor) {
    return std::string(base) + std::string(page) + std::string(anchor);
}

std::string DocumentOpenFailedMessage(std::string_view address) {
    return std::string(address) + std::string(kDocumentOpenFailed);
}

}  // namespace zv
