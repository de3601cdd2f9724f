// What holds for any line in the editor's dialog models: a line a dialog cannot read is
// shown whole, a line it reads is written back as a line that reads to the same fields,
// and a line of no command draws nothing but its number. Shared by the random unit test
// and the fuzz target.
#pragma once

#include <string>

#include "common/cp932.h"
#include "editor/focus_dialog.h"
#include "editor/keyin_dialog.h"
#include "editor/launch_dialog.h"
#include "editor/line_describe.h"
#include "editor/mouse_dialog.h"
#include "editor/type_dialog.h"
#include "editor/wait_dialog.h"

namespace zv::test {

// A last byte that is a lead byte on its own takes the closing quote written after it
// for its trail byte; text from a dialog's field never ends so.
inline bool EndsInLoneLeadByte(std::string_view s) {
    std::size_t pos = 0, last = 0;
    for (; pos < s.size(); pos += CharLength(s, pos))
        last = pos;
    return !s.empty() && pos - last == 1 && IsLeadByte(static_cast<unsigned char>(s[last]));
}

// Keys as a key field shows them. Others need not travel: white space or commas at the
// end of the key list go as separators, and a first key "REP=..." after the written
// MENU becomes the option.
inline bool KeysAsAFieldShowsThem(const KeyinKeys& keys) {
    for (const std::string& key : keys) {
        if (ToUpperAscii(key).starts_with("REP="))
            return false;
        for (char c : key) {
            if (c == ',' || IsWhiteByte(static_cast<unsigned char>(c)))
                return false;
        }
    }
    return true;
}

// Empty when every invariant holds for line, else the first one that broke.
inline std::string CheckDialogLine(const std::string& line) {
    for (auto describe : {DescribeWaitLine, DescribeMouseLine, DescribeLaunchLine,
                          DescribeKeyinLine, DescribeFocusLine, DescribeTypeLine}) {
        const LineDescription d = describe(line);
        if (!d.valid && d.text != line)
            return "an unreadable line is not shown whole";
    }
    const LineView view = DescribeLine(line);
    if (view.type == kCmdNone && (!view.label.empty() || !view.description.text.empty()))
        return "no type draws only the number";

    const auto roundTrip = [](const auto& p, auto parse, auto compose) {
        const auto back = parse(compose(p.fields));
        return back.ok && back.fields == p.fields;
    };
    const WaitLineParse w = ParseWaitLine(line);
    if (w.ok && !roundTrip(w, ParseWaitLine, ComposeWaitLine))
        return "WAIT round trip";
    const MouseLineParse m = ParseMouseLine(line);
    if (m.ok && !roundTrip(m, ParseMouseLine, ComposeMouseLine))
        return "MOUSE round trip";
    const LaunchLineParse l = ParseLaunchLine(line);
    if (l.ok && !EndsInLoneLeadByte(l.fields.program) &&
        !roundTrip(l, ParseLaunchLine, ComposeLaunchLine))
        return "LAUNCH round trip";
    const KeyinLineParse k = ParseKeyinLine(line);
    if (k.ok && KeysAsAFieldShowsThem(k.fields.keys) &&
        !roundTrip(k, ParseKeyinLine, ComposeKeyinLine))
        return "KEYIN round trip";
    const FocusLineParse f = ParseFocusLine(line);
    if (f.ok && !EndsInLoneLeadByte(f.caption) &&
        ParseFocusLine(ComposeFocusLine(f.caption)).caption != f.caption)
        return "FOCUS round trip";
    const TypeFields opened = OpenTypeDialog(line);
    if (ParseTypeLine(line).ok && !EndsInLoneLeadByte(opened.text) &&
        !(OpenTypeDialog(ComposeTypeLine(opened)) == opened))
        return "TYPE round trip";
    return {};
}

}  // namespace zv::test
