#include "editor/type_dialog.h"

#include "common/cp932.h"
#include "common/syntax/type.h"

namespace zv {
namespace {

std::string_view TokenOf(int source) {
    if (source < kTypeSourceClipboard || source > kTypeSourceParam2)
        return {};
    return kTypeTokens[static_cast<std::size_t>(source - kTypeSourceClipboard)].token;
}

}  // namespace

TypeLineParse ParseTypeLine(std::string_view line) {
    const TypeText t = ParseTypeText(WithParamColon(line));
    return {t.ok, t.text};
}

TypeSource TypeSourceOfText(std::string_view text) {
    const std::string upper = ToUpperAscii(text);
    for (std::size_t i = 0; i < kTypeTokens.size(); ++i) {
        if (upper == kTypeTokens[i].token)
            return static_cast<TypeSource>(kTypeSourceClipboard + static_cast<int>(i));
    }
    return kTypeSourceText;
}

std::string ComposeTypeLine(const TypeFields& fields) {
    const std::string_view token = TokenOf(fields.source);
    if (!token.empty())
        return "TYPE:" + std::string(token);
    return "TYPE:\"" + fields.text + "\"";
}

LineDescription DescribeTypeLine(std::string_view line) {
    const TypeLineParse p = ParseTypeLine(line);
    if (!p.ok)
        return {std::string(line), false};
    const TypeSource source = TypeSourceOfText(p.text);
    if (source != kTypeSourceText)
        return {std::string(kTypeTokens[source - kTypeSourceClipboard].description), true};
    return {">" + p.text + "<", true};
}

TypeFields OpenTypeDialog(std::string_view entryLine) {
    TypeFields f;
    f.text = ParseTypeLine(entryLine).text;
    f.source = TypeSourceOfText(f.text);
    if (f.source != kTypeSourceText)
        f.text.clear();
    return f;
}

DialogOk<TypeField> ConfirmTypeDialog(const TypeFields& fields) {
    using Ok = DialogOk<TypeField>;
    const std::string_view token = TokenOf(fields.source);
    if (!token.empty() && !fields.text.empty())
        return Ok::Ask(kMsgTypeTextDropped, TypeField::Text, ComposeTypeLine(fields));
    if (token.empty() && fields.text.empty())
        return Ok::Refuse("文字列が設定されていません。", TypeField::Text);
    return Ok::CloseWith(ComposeTypeLine(fields));
}

}  // namespace zv
