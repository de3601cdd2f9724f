#include "common/macrofile.h"

#include <algorithm>

#include "common/cp932.h"

namespace zv {

std::size_t FindHeaderTag(std::string_view line, std::string_view tag) {
    const std::string upper = ToUpperAscii(line);
    const std::size_t pos = FindMb(upper, tag);
    return (pos == std::string_view::npos || pos == 0) ? std::string_view::npos : pos;
}

bool IsHeaderLine(std::string_view firstLine, std::size_t prefix) {
    return FindHeaderTag(firstLine.substr(0, prefix), kHeaderTag) != std::string_view::npos;
}

std::string ReadHeaderValue(std::string_view line, std::string_view tag, bool& found) {
    const std::size_t pos = FindHeaderTag(line, tag);
    found = pos != std::string_view::npos;
    if (!found)
        return {};
    std::string_view value = line.substr(pos + tag.size());
    while (!value.empty() &&
           (value.back() == ' ' || value.back() == '\n' || value.back() == '\r')) {
        value.remove_suffix(1);
    }
    return std::string(value);
}

LineKind ClassifyLine(std::string_view stripped) {
    if (stripped.empty())
        return LineKind::Empty;
    if (stripped.front() == ';')
        return LineKind::Comment;
    return LineKind::Command;
}

std::optional<CommandKind> MatchKeyword(std::string_view strippedLine) {
    // Only the keyword's length of the line is compared, ASCII letters in either case. A
    // lead byte never equals a keyword character, so the comparison ends before any
    // trail byte could be taken for a letter.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (const KeywordEntry& entry : kKeywordTable) {
        if (strippedLine.size() >= entry.keyword.size() &&
            std::equal(entry.keyword.begin(), entry.keyword.end(), strippedLine.begin(),
                       [&](char k, char c) { return k == upper(c); }))
            return entry.kind;
    }
    return std::nullopt;
}

std::string GetParamText(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return {};
    return std::string(StripWhite(line.substr(colon + 1)));
}

bool StripQuotes(std::string& text) {
    if (text.empty())
        return false;
    const char quote = text.front();
    if (quote != '"' && quote != '\'')
        return true;
    text.erase(0, 1);
    const std::size_t closing = FindLastSingleByte(text, quote);
    if (closing == std::string::npos)
        return false;
    text.resize(closing);
    return true;
}

void SubstituteParam(std::string& text, const RunParameters& params,
                     IClipboardTextSource& clipboard) {
    const std::string upper = ToUpperAscii(text);
    if (upper == "%PARAM1") {
        text = params.param1;
    } else if (upper == "%PARAM2") {
        text = params.param2;
    } else if (upper == "%CLIP") {
        if (std::optional<std::string> clip = clipboard.ReadClipboardText())
            text = std::move(*clip);
    }
}

}  // namespace zv
