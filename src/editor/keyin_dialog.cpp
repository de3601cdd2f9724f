#include "editor/keyin_dialog.h"

#include <limits>

#include "common/cp932.h"
#include "common/keynames.h"
#include "common/strutil.h"
#include "common/syntax/keyin.h"
#include "common/winconst.h"

namespace zv {
namespace {

// A key field's text as the line takes it. Cut on a character boundary: a lead byte
// left alone would swallow the blank after it when the line is read back.
std::string_view KeyText(std::string_view key) {
    return TruncateChars(key, kKeyinKeyMaxBytes);
}

// The key list of a line: "MENU " for Alt, then each key and a blank, trailing white
// space removed.
std::string KeyList(const KeyinFields& fields) {
    std::string text;
    if (fields.alt)
        text += "MENU ";
    for (const std::string& key : fields.keys) {
        const std::string_view cut = KeyText(key);
        if (cut.empty())
            continue;
        text += cut;
        text += ' ';
    }
    text.resize(TrimRightWhite(text).size());
    return text;
}

}  // namespace

KeyinLineParse ParseKeyinLine(std::string_view line) {
    KeyinLineParse p;
    if (line.empty())
        return p;
    // The engine's split; MENU tokens take no slot, so all tokens are needed.
    const KeyinText k = SplitKeyin(WithParamColon(line), std::numeric_limits<std::size_t>::max());
    if (!k.ok || k.tokens.empty())
        return p;
    std::size_t stored = 0;
    for (const std::string& token : k.tokens) {
        if (stored == kKeyinFieldCount)
            break;
        if (token.size() == 1) {
            p.fields.keys[stored++] = token;
            continue;
        }
        const std::string upper = ToUpperAscii(token);
        if (upper == "MENU")
            p.fields.alt = true;
        else
            p.fields.keys[stored++] = KeyText(upper);
    }
    p.fields.repeat = k.repeat;
    p.ok = true;
    return p;
}

std::string ComposeKeyinLine(const KeyinFields& fields) {
    const std::string text = KeyList(fields);
    std::string line = "KEYIN:" + text;
    if (fields.repeat != 1)
        line += StrPrintf(",%s%d", "REP=", fields.repeat);
    return line;
}

LineDescription DescribeKeyinLine(std::string_view line) {
    const KeyinLineParse p = ParseKeyinLine(line);
    if (!p.ok)
        return {std::string(line), false};
    std::string text;
    if (p.fields.alt)
        text += "ALT + ";
    for (const std::string& key : p.fields.keys) {
        if (key.empty())
            continue;
        text += key;
        text += " + ";
    }
    if (text.size() > 3)
        text.resize(text.size() - 3);
    if (static_cast<std::uint32_t>(p.fields.repeat) > 1)
        text += StrPrintf(" <Repeat=%d>", p.fields.repeat);
    return {text, true};
}

KeyinFields OpenKeyinDialog(std::string_view entryLine) {
    const KeyinLineParse p = ParseKeyinLine(entryLine);
    return p.ok ? p.fields : KeyinFields{};
}

DialogOk<KeyinField> ConfirmKeyinDialog(const KeyinDialogInput& input) {
    using Ok = DialogOk<KeyinField>;
    const auto repeat = ReadIntField(input.repeat, kKeyinRepeatRange);
    if (!repeat)
        return Ok::Refuse(IntRangeMessage(kKeyinRepeatRange), KeyinField::Repeat);
    const KeyinFields fields{input.keys, input.alt, *repeat};
    // Judged on the composed key list, so a field of blanks alone counts as empty.
    if (KeyList(fields).empty())
        return Ok::Refuse("キー入力設定がありません。", KeyinField::FirstKey);
    return Ok::CloseWith(ComposeKeyinLine(fields));
}

std::optional<std::size_t> ClearLastKeyField(KeyinKeys& keys) {
    for (std::size_t i = keys.size(); i-- > 0;) {
        if (!keys[i].empty()) {
            keys[i].clear();
            return i;
        }
    }
    return std::nullopt;
}

std::size_t ClearAllKeyFields(KeyinKeys& keys) {
    for (std::string& key : keys)
        key.clear();
    return 0;
}

KeyFieldAction KeyFieldActionFor(unsigned message, std::uint32_t virtualKey) {
    switch (message) {
        case kWmKeyDown:
            if (!KeyFieldName(virtualKey).empty())
                return KeyFieldAction::Take;
            return KeyFieldAction::Swallow;
        case kWmSysKeyDown:
            // Only F1 to F24 with Alt; Alt with a letter still reaches the mnemonics.
            return (virtualKey >= 0x70 && virtualKey <= 0x87) ? KeyFieldAction::Take
                                                              : KeyFieldAction::PassOn;
        case kWmKeyUp:
        case kWmChar:
        case kWmDeadChar:
        case kWmSysKeyUp:
        case kWmSysChar:
        case kWmSysDeadChar:
        case kWmKeyboard108:
        case kWmUniChar:
        case kWmHelpKey:
            return KeyFieldAction::Swallow;
        default:
            return KeyFieldAction::PassOn;
    }
}

KeyFieldContent KeyFieldShows(std::uint32_t virtualKey) {
    std::string text = KeyFieldName(virtualKey);
    if (text.empty())
        return {};
    return {std::move(text), static_cast<std::uint8_t>(virtualKey)};
}

}  // namespace zv
