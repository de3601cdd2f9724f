#include "engine/commands.h"
#include "common/cp932.h"
#include "common/keynames.h"
#include "common/strutil.h"

namespace zv {

KeyinParams ParseKeyin(std::string_view line) {
    KeyinParams p;
    std::string keys = GetParamText(line);
    if (keys.empty()) {
        p.error = "キー指定が無い";
        return p;
    }

    // "REP=" counts only with something before it and something after it.
    const std::string upper = ToUpperAscii(keys);
    const std::size_t rep = FindMb(upper, "REP=");
    if (rep != std::string::npos && rep >= 1 && rep + 4 < keys.size()) {
        p.repeat = ParseLeadingInt32(StripWhite(std::string_view(keys).substr(rep + 4)));
        if (p.repeat < 1) {
            p.error = "REP=が１以上の数値でない";
            return p;
        }
        keys.resize(rep);
        TrimTrailingSeparators(keys);
    }

    // Tokens are runs of bytes other than the blank; a trail byte is never a blank.
    std::size_t pos = 0;
    while (pos < keys.size() && p.codes.size() < kMaxKeyinKeys) {
        if (keys[pos] == ' ') {
            ++pos;
            continue;
        }
        std::size_t stop = keys.find(' ', pos);
        if (stop == std::string::npos)
            stop = keys.size();
        const std::string_view token = std::string_view(keys).substr(pos, stop - pos);
        pos = stop;
        if (token.size() == 1) {
            const auto code = static_cast<std::uint8_t>(token[0]);
            p.codes.push_back(code);
            p.description += "\"";
            p.description += token;
            p.description += StrPrintf("\"(%2.2X)", code);
        } else {
            const std::string name = ToUpperAscii(token);
            const std::optional<std::uint8_t> code = KeyCodeFromName(name);
            if (!code) {
                p.error = "[" + name + "]不正なキーコード";
                return p;
            }
            p.codes.push_back(*code);
            p.description += name;
            p.description += StrPrintf("(%2.2X)", *code);
        }
        p.description += " + ";
    }
    if (p.description.size() > 3)
        p.description.resize(p.description.size() - 3);
    if (p.repeat > 1)
        p.description += StrPrintf(" <Repeat=%d>", p.repeat);
    p.ok = true;
    return p;
}

bool ExecKeyin(CommandContext& ctx, const std::string& line, std::string& result) {
    const KeyinParams p = ParseKeyin(line);
    if (!p.ok) {
        result = p.error;
        return false;
    }
    result = "KEYIN : " + p.description;
    const std::uint32_t pause = AsMs(ctx.app.settings.keyinWaitMSec);
    for (std::int32_t round = 0; round < p.repeat; ++round) {
        for (std::uint8_t code : p.codes)
            ctx.held.KeyDown(code);
        ctx.desktop.Sleep(pause);
        for (auto it = p.codes.rbegin(); it != p.codes.rend(); ++it)
            ctx.held.KeyUp(*it);
        ctx.desktop.Sleep(pause);
    }
    return true;
}

}  // namespace zv
