#include "common/syntax/keyin.h"

#include "common/cp932.h"
#include "common/keynames.h"
#include "common/macrofile.h"
#include "common/strutil.h"
#include "common/syntax/params.h"

namespace zv {

KeyinText SplitKeyin(std::string_view line, std::size_t maxTokens) {
    KeyinText k;
    std::string keys = GetParamText(line);
    if (keys.empty()) {
        k.error = "キー指定が無い";
        return k;
    }
    const std::string upper = ToUpperAscii(keys);
    const std::size_t rep = FindMb(upper, "REP=");
    if (rep != std::string::npos && rep >= 1 && rep + 4 < keys.size()) {
        k.repeat = ParseLeadingInt32(StripWhite(std::string_view(keys).substr(rep + 4)));
        if (k.repeat < 1) {
            k.error = "REP=が１以上の数値でない";
            return k;
        }
        keys.resize(rep);
        TrimTrailingSeparators(keys);
    }
    // Tokens are runs of bytes other than the blank; a trail byte is never a blank.
    std::size_t pos = 0;
    while (pos < keys.size() && k.tokens.size() < maxTokens) {
        if (keys[pos] == ' ') {
            ++pos;
            continue;
        }
        std::size_t stop = keys.find(' ', pos);
        if (stop == std::string::npos)
            stop = keys.size();
        k.tokens.emplace_back(keys, pos, stop - pos);
        pos = stop;
    }
    k.ok = true;
    return k;
}

std::optional<std::uint8_t> KeyinTokenCode(std::string_view token) {
    if (token.size() == 1)
        return static_cast<std::uint8_t>(token[0]);
    return KeyCodeFromName(ToUpperAscii(token));
}

}  // namespace zv
