#include "common/syntax/linecheck.h"

#include <string>

#include "common/cp932.h"
#include "common/macrofile.h"
#include "common/syntax/focus.h"
#include "common/syntax/keyin.h"
#include "common/syntax/launch.h"
#include "common/syntax/mouse.h"
#include "common/syntax/type.h"
#include "common/syntax/wait.h"

namespace zv {

bool EngineAcceptsLine(std::string_view line) {
    // The runner's steps: strip, skip empty and comment lines, match a keyword, then the
    // command's own parser on the stripped line.
    const std::string_view stripped = StripWhite(line);
    if (ClassifyLine(stripped) != LineKind::Command)
        return true;
    const std::optional<CommandKind> kind = MatchKeyword(stripped);
    if (!kind)
        return false;
    switch (*kind) {
        case CommandKind::Launch:
            return ParseLaunch(stripped).ok;
        case CommandKind::Focus:
            return ParseFocusCaption(stripped).ok;
        case CommandKind::Wait:
            return ParseWait(stripped).ok;
        case CommandKind::Keyin: {
            const KeyinText keys = SplitKeyin(stripped, kMaxKeyinKeys);
            if (!keys.ok)
                return false;
            for (const std::string& token : keys.tokens) {
                if (!KeyinTokenCode(token))
                    return false;
            }
            return true;
        }
        case CommandKind::Type:
            return ParseTypeText(stripped).ok;
        case CommandKind::Mouse:
            return ParseMouse(stripped).ok;
    }
    return false;
}

}  // namespace zv
