#include "common/syntax/mouse.h"

#include <vector>

#include "common/cp932.h"
#include "common/macrofile.h"
#include "common/mouseactions.h"
#include "common/strutil.h"
#include "common/syntax/params.h"

namespace zv {
namespace {

// Decimal digits, optionally after a minus sign that is not the whole field.
bool IsCoordinate(std::string_view piece) {
    if (piece.size() >= 2 && piece[0] == '-')
        piece.remove_prefix(1);
    return IsAllDigits(piece);
}

}  // namespace

MouseParse ParseMouse(std::string_view line) {
    MouseParse p;
    const std::string param = GetParamText(line);
    if (param.empty()) {
        p.error = "マウスの動作指定が無い";
        return p;
    }
    if (param.front() == ',') {
        p.error = "[x,y]パラメタの設定が無い";
        return p;
    }
    bool failed = false;
    const std::vector<std::string_view> pieces = SplitCommaPieces(param);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view piece = pieces[i];
        if (piece.empty()) {
            p.error = StrPrintf("第%dパラメタが空白", number);
            return p;
        }
        if (number <= 2) {
            if (!IsCoordinate(piece)) {
                p.error = StrPrintf("第%dパラメタが数値でない", number);
                return p;
            }
            (number == 1 ? p.x : p.y) = ParseLeadingInt32(piece);
            p.piecesRead = number;
        } else if (number <= 4) {
            const std::string word = ToUpperAscii(piece);
            if (word == "LOCAL") {
                p.local = true;
            } else if (const int action = FindMouseAction(word); action >= 0) {
                p.action = action;
            } else {
                p.error =
                    StrPrintf("第%dパラメタのマウスボタン動作[", number) + word + "]が認識出来ない";
                failed = true;
            }
            if (!failed)
                p.piecesRead = number;
        } else {
            p.error = "[x,y,マウス動作,LOCAL]意外に余分なパラメタ設定がある";
            return p;
        }
    }
    if (failed)
        return p;
    if (pieces.size() < 2) {
        p.error = "[x,y]パラメタの設定が無い";
        return p;
    }
    p.ok = true;
    return p;
}

}  // namespace zv
