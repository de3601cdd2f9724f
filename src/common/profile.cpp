#include "common/profile.h"

#include <vector>

#include "common/strutil.h"

namespace zv {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

struct Line {
    std::size_t begin;         // offset of the line in the text
    std::size_t end;           // offset just past its line end (LF), or the text's end
    std::string_view content;  // without CR LF
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        std::string_view content =
            text.substr(pos, (lf == std::string_view::npos ? text.size() : lf) - pos);
        if (!content.empty() && content.back() == '\r')
            content.remove_suffix(1);
        lines.push_back({pos, end, content});
        pos = end;
    }
    return lines;
}

// Section name of a "[name]" line, or false.
bool SectionName(std::string_view content, std::string_view& name) {
    const std::string_view t = TrimBlanks(content);
    if (t.empty() || t.front() != '[')
        return false;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return false;
    name = TrimBlanks(t.substr(1, close - 1));
    return true;
}

// Key and value of a "key=value" line, or false (comments and other lines).
bool KeyValue(std::string_view content, std::string_view& key, std::string_view& value) {
    const std::string_view t = TrimBlanks(content);
    if (t.empty() || t.front() == ';')
        return false;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = TrimBlanks(t.substr(0, eq));
    value = TrimBlanks(t.substr(eq + 1));
    return true;
}

}  // namespace

bool IniLookup(std::string_view text, std::string_view section, std::string_view key,
               std::string& value) {
    bool inSection = false;
    for (const Line& line : SplitLines(text)) {
        std::string_view name, k, v;
        if (SectionName(line.content, name)) {
            inSection = EqualNoCase(name, section);
        } else if (inSection && KeyValue(line.content, k, v) && EqualNoCase(k, key)) {
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
                v = v.substr(1, v.size() - 2);
            }
            value.assign(v);
            return true;
        }
    }
    return false;
}

std::string IniSet(std::string_view text, std::string_view section, std::string_view key,
                   std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value) + "\r\n";
    const std::vector<Line> lines = SplitLines(text);
    bool inSection = false;
    bool sectionFound = false;
    std::size_t insertAt = 0;  // just past the last key line of the section
    for (const Line& line : lines) {
        std::string_view name, k, v;
        if (SectionName(line.content, name)) {
            if (inSection)
                break;  // end of our section
            inSection = EqualNoCase(name, section);
            if (inSection) {
                sectionFound = true;
                insertAt = line.end;
            }
        } else if (inSection) {
            if (KeyValue(line.content, k, v) && EqualNoCase(k, key)) {
                std::string out(text.substr(0, line.begin));
                out += entry;
                out.append(text.substr(line.end));
                return out;
            }
            if (!TrimBlanks(line.content).empty())
                insertAt = line.end;
        }
    }
    std::string out;
    if (sectionFound) {
        out.assign(text.substr(0, insertAt));
        if (!out.empty() && out.back() != '\n')
            out += "\r\n";
        out += entry;
        out.append(text.substr(insertAt));
        return out;
    }
    out.assign(text);
    if (!out.empty() && out.back() != '\n')
        out += "\r\n";
    out += '[';
    out.append(section);
    out += "]\r\n";
    out += entry;
    return out;
}

std::int32_t IniProfile::GetInt(std::string_view section, std::string_view key, std::int32_t def) {
    std::string text, value;
    if (!fs_.ReadAll(path_, text) || !IniLookup(text, section, key, value) || value.empty())
        return def;
    return ParseLeadingInt32(value);
}

std::string IniProfile::GetString(std::string_view section, std::string_view key,
                                  std::string_view def) {
    std::string text, value;
    if (!fs_.ReadAll(path_, text) || !IniLookup(text, section, key, value))
        return std::string(def);
    return value;
}

bool IniProfile::WriteInt(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteString(section, key, StrPrintf("%d", static_cast<int>(value)));
}

bool IniProfile::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
    std::string text;
    if (fs_.Exists(path_) && !fs_.ReadAll(path_, text))
        return false;  // never overwrite what we cannot read
    return fs_.ReplaceContent(path_, IniSet(text, section, key, value));
}

std::int32_t ReadIntOrRepair(IProfile& profile, std::string_view section, std::string_view key,
                             std::int32_t defaultValue) {
    const std::int32_t value = profile.GetInt(section, key, -1);
    if (value >= 0)
        return value;
    profile.WriteInt(section, key, defaultValue);
    return defaultValue;
}

}  // namespace zv
