#include "engine/cmdline.h"

namespace zv {

std::string GetOption(std::string_view key, std::string_view commandLine) {
    const std::size_t at = commandLine.find(key);
    if (at == std::string_view::npos)
        return {};
    const std::size_t n = commandLine.size();
    const std::size_t p = at + key.size();
    if (n > p + 1 && commandLine[p] == '"') {
        const std::size_t q = commandLine.find('"', p + 2);
        if (q == std::string_view::npos)
            return {};
        return std::string(commandLine.substr(p + 1, q - (p + 1)));
    }
    const std::size_t s = commandLine.find(' ', p + 1);
    if (s == std::string_view::npos)
        return {};
    return std::string(commandLine.substr(p, s - p));
}

EngineCommandLine ParseEngineCommandLine(std::string_view commandLine) {
    EngineCommandLine result;
    result.macroPath = GetOption("/M:", commandLine);
    result.param1 = GetOption("/1:", commandLine);
    result.param2 = GetOption("/2:", commandLine);
    if (result.macroPath.empty() && result.param1.empty() && result.param2.empty()) {
        std::string_view path = commandLine;
        if (path.size() >= 3 && ((path.front() == '"' && path.back() == '"') ||
                                 (path.front() == '\'' && path.back() == '\''))) {
            path = path.substr(1, path.size() - 2);
        }
        result.macroPath.assign(path);
    }
    return result;
}

}  // namespace zv
