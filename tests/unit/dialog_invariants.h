// What holds for any line in the editor's dialog models: describe agrees with parse and
// shows an unreadable line whole; a readable line opens fields that write a line which
// reads back to the same fields; OK with those fields closes with that line exactly when
// the fields are in range; the list's dispatch gives the command's own description.
// Shared by the random unit test and the fuzz target.
#pragma once

#include <string>
#include <string_view>

#include "common/cp932.h"
#include "common/syntax/mouse.h"
#include "common/syntax/wait.h"
#include "editor/focus_dialog.h"
#include "editor/keyin_dialog.h"
#include "editor/launch_dialog.h"
#include "editor/line_describe.h"
#include "editor/mouse_dialog.h"
#include "editor/type_dialog.h"
#include "editor/wait_dialog.h"

namespace zv::test {

// A text whose last byte is a lead byte without its trail byte cannot stand before a
// closing quote: the quote would be read as the trail byte. Editor input never ends so.
inline bool EndsInLoneLeadByte(std::string_view s) {
    std::size_t pos = 0;
    std::size_t last = 0;
    while (pos < s.size()) {
        last = pos;
        pos += CharLength(s, pos);
    }
    return !s.empty() && pos - last == 1 && IsLeadByte(static_cast<unsigned char>(s[last]));
}

inline bool SameDescription(const LineDescription& a, const LineDescription& b) {
    return a.text == b.text && a.valid == b.valid;
}

template <typename Ok>
bool ClosesWith(const Ok& ok, const std::string& line) {
    return ok.kind == Ok::Kind::Close && ok.line == line;
}

// Empty when every invariant holds for line, else the first one that broke.
inline std::string CheckDialogLine(const std::string& line) {
    const auto describedAs = [&](bool ok, const LineDescription& d) {
        return d.valid == ok && (ok || d.text == line);
    };
    const LineView view = DescribeLine(line);

    {
        const WaitLineParse p = ParseWaitLine(line);
        if (!describedAs(p.ok, DescribeWaitLine(line)))
            return "WAIT describe";
        if (!p.ok && !line.empty() && ParseWait(WithParamColon(line)).ok)
            return "WAIT refuses what the engine reads";
        if (p.ok) {
            const std::string composed = ComposeWaitLine(p.fields);
            const WaitLineParse back = ParseWaitLine(composed);
            if (!back.ok || !(back.fields == p.fields))
                return "WAIT round trip";
            const bool inRange = p.fields.timeMs <= kWaitTimeRange.high &&
                                 p.fields.repetitions <= kWaitRepetitionRange.high;
            const auto ok = ConfirmWaitDialog(
                {std::to_string(p.fields.timeMs), std::to_string(p.fields.repetitions)});
            if (ClosesWith(ok, composed) != inRange)
                return "WAIT OK";
        }
        if (view.type == kCmdWait && !SameDescription(view.description, DescribeWaitLine(line)))
            return "WAIT dispatch";
    }
    {
        const FocusLineParse p = ParseFocusLine(line);
        if (!describedAs(p.ok, DescribeFocusLine(line)))
            return "FOCUS describe";
        if (p.ok && !EndsInLoneLeadByte(p.caption)) {
            const std::string composed = ComposeFocusLine(p.caption);
            const FocusLineParse back = ParseFocusLine(composed);
            if (!back.ok || back.caption != p.caption)
                return "FOCUS round trip";
            if (ClosesWith(ConfirmFocusDialog(p.caption), composed) == p.caption.empty())
                return "FOCUS OK";
        }
        if (view.type == kCmdFocus && !SameDescription(view.description, DescribeFocusLine(line)))
            return "FOCUS dispatch";
    }
    {
        const TypeLineParse p = ParseTypeLine(line);
        if (!describedAs(p.ok, DescribeTypeLine(line)))
            return "TYPE describe";
        const TypeFields f = OpenTypeDialog(line);
        if (p.ok && !EndsInLoneLeadByte(f.text)) {
            const std::string composed = ComposeTypeLine(f);
            if (!(OpenTypeDialog(composed) == f))
                return "TYPE round trip";
            const bool empty = f.source == kTypeSourceText && f.text.empty();
            if (ClosesWith(ConfirmTypeDialog(f), composed) == empty)
                return "TYPE OK";
        }
        if (view.type == kCmdType && !SameDescription(view.description, DescribeTypeLine(line)))
            return "TYPE dispatch";
    }
    {
        const LaunchLineParse p = ParseLaunchLine(line);
        if (!describedAs(p.ok, DescribeLaunchLine(line)))
            return "LAUNCH describe";
        if (p.ok && !EndsInLoneLeadByte(p.fields.program)) {
            const std::string composed = ComposeLaunchLine(p.fields);
            const LaunchLineParse back = ParseLaunchLine(composed);
            if (!back.ok || !(back.fields == p.fields))
                return "LAUNCH round trip";
            if (ClosesWith(ConfirmLaunchDialog(p.fields), composed) == p.fields.program.empty())
                return "LAUNCH OK";
        }
        if (view.type == kCmdLaunch && !SameDescription(view.description, DescribeLaunchLine(line)))
            return "LAUNCH dispatch";
    }
    {
        const MouseLineParse p = ParseMouseLine(line);
        if (!describedAs(p.ok, DescribeMouseLine(line)))
            return "MOUSE describe";
        if (!line.empty() && p.ok != ParseMouse(WithParamColon(line)).ok)
            return "MOUSE differs from the engine";
        if (p.ok) {
            const std::string composed = ComposeMouseLine(p.fields);
            const MouseLineParse back = ParseMouseLine(composed);
            if (!back.ok || !(back.fields == p.fields))
                return "MOUSE round trip";
            const auto in = [](std::int32_t v) {
                return v >= kMouseCoordinateRange.low && v <= kMouseCoordinateRange.high;
            };
            const auto ok =
                ConfirmMouseDialog({std::to_string(p.fields.x), std::to_string(p.fields.y),
                                    p.fields.button, p.fields.local});
            if (ClosesWith(ok, composed) != (in(p.fields.x) && in(p.fields.y)))
                return "MOUSE OK";
        }
        if (view.type == kCmdMouse && !SameDescription(view.description, DescribeMouseLine(line)))
            return "MOUSE dispatch";
    }
    {
        const KeyinLineParse p = ParseKeyinLine(line);
        if (!describedAs(p.ok, DescribeKeyinLine(line)))
            return "KEYIN describe";
        if (p.ok) {
            const std::string composed = ComposeKeyinLine(p.fields);
            const KeyinLineParse back = ParseKeyinLine(composed);
            // Keys as a key field shows them travel unchanged. Others need not: white
            // space or commas at the end of the list are cut as separators, and a first
            // key "REP=..." behind the written MENU turns into the option.
            bool plausible = true;
            for (const std::string& key : p.fields.keys) {
                plausible = plausible && !ToUpperAscii(key).starts_with("REP=");
                for (char c : key)
                    plausible =
                        plausible && c != ',' && !IsWhiteByte(static_cast<unsigned char>(c));
            }
            if (plausible && (!back.ok || !(back.fields == p.fields)))
                return "KEYIN round trip";
            const std::string again = ComposeKeyinLine(back.fields);
            if (ComposeKeyinLine(ParseKeyinLine(again).fields) != again)
                return "KEYIN second round";
            const bool inRange = p.fields.repeat <= kKeyinRepeatRange.high;
            const auto ok =
                ConfirmKeyinDialog({p.fields.keys, p.fields.alt, std::to_string(p.fields.repeat)});
            if (ClosesWith(ok, composed) != inRange)
                return "KEYIN OK";
        }
        if (view.type == kCmdKeyin && !SameDescription(view.description, DescribeKeyinLine(line)))
            return "KEYIN dispatch";
    }
    if (view.type == kCmdNone && (!view.label.empty() || !view.description.text.empty()))
        return "no type draws only the number";
    return {};
}

}  // namespace zv::test
