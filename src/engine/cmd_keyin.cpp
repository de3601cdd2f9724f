#include "engine/commands.h"
#include "common/cp932.h"
#include "common/strutil.h"
#include "common/syntax/keyin.h"

namespace zv {

KeyinParams ParseKeyin(std::string_view line) {
    KeyinParams p;
    KeyinText text = SplitKeyin(line, kMaxKeyinKeys);
    p.repeat = text.repeat;
    if (!text.ok) {
        p.error = std::move(text.error);
        return p;
    }
    for (const std::string& token : text.tokens) {
        const std::optional<std::uint8_t> code = KeyinTokenCode(token);
        if (token.size() == 1) {
            p.description += "\"";
            p.description += token;
            p.description += StrPrintf("\"(%2.2X)", *code);
        } else {
            const std::string name = ToUpperAscii(token);
            if (!code) {
                p.error = "[" + name + "]不正なキーコード";
                return p;
            }
            p.description += name;
            p.description += StrPrintf("(%2.2X)", *code);
        }
        p.codes.push_back(*code);
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
