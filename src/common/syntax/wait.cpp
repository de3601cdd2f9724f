#include "common/syntax/wait.h"

#include "common/macrofile.h"
#include "common/strutil.h"
#include "common/syntax/params.h"

namespace zv {

WaitParams ParseWait(std::string_view line) {
    WaitParams p;
    const std::string param = GetParamText(line);
    if (param.empty()) {
        p.error = "ウェイトの時間指定が無い";
        return p;
    }
    const std::vector<std::string_view> pieces = SplitCommaPieces(param);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view piece = pieces[i];
        if (piece.empty()) {
            p.error = StrPrintf("第%dパラメタが空白", number);
            return p;
        }
        if (number >= 3) {
            p.error = "[Wait時間,繰り返し回数]意外に余分なパラメタ設定がある";
            return p;
        }
        if (!IsAllDigits(piece)) {
            p.error = StrPrintf("第%dパラメタが正の数値でない", number);
            return p;
        }
        (number == 1 ? p.waitMs : p.loops) = ParseLeadingInt32(piece);
    }
    p.ok = true;
    return p;
}

}  // namespace zv
