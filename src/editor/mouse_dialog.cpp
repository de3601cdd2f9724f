#include "editor/mouse_dialog.h"

#include "common/dpi.h"
#include "common/mouseactions.h"
#include "common/strutil.h"
#include "common/syntax/mouse.h"
#include "common/winconst.h"

namespace zv {
namespace {

bool IsKnownButton(int button) {
    return button > 0 && button < static_cast<int>(kMouseButtonChoices.size());
}

}  // namespace

MouseLineParse ParseMouseLine(std::string_view line) {
    MouseLineParse p;
    if (line.empty())
        return p;
    // The engine's parse goes on after an unknown action word (a later LOCAL still
    // counts) and starts at 0, 0; the dialog keeps only what came before the first
    // failure, starting at -1, -1.
    const MouseParse m = ParseMouse(WithParamColon(line));
    p.ok = m.ok;
    p.fields.x = m.piecesRead >= 1 ? m.x : -1;
    p.fields.y = m.piecesRead >= 2 ? m.y : -1;
    if (m.piecesRead >= 3) {
        p.fields.button = ButtonIndexOfAction(m.action);
        p.fields.local = m.local;
    }
    return p;
}

std::string ComposeMouseLine(const MouseFields& fields) {
    std::string line = StrPrintf("%s%d,%d", "MOUSE:", fields.x, fields.y);
    if (IsKnownButton(fields.button)) {
        line += ',';
        line += MouseActionWordOf(ActionOfButtonIndex(fields.button));
    }
    if (fields.local)
        line += ",LOCAL";
    return line;
}

LineDescription DescribeMouseLine(std::string_view line) {
    const MouseLineParse p = ParseMouseLine(line);
    if (!p.ok)
        return {std::string(line), false};
    const MouseFields& f = p.fields;
    const std::string button(kMouseButtonChoices[static_cast<std::size_t>(f.button)].description);
    return {
        StrPrintf("%s:X=%d Y=%d  ﾎﾞﾀﾝ:%s", f.local ? "Local" : "Screen", f.x, f.y, button.c_str()),
        true};
}

MouseFields OpenMouseDialog(std::string_view entryLine) {
    return ParseMouseLine(entryLine).fields;
}

DialogOk<MouseField> ConfirmMouseDialog(const MouseDialogInput& input) {
    using Ok = DialogOk<MouseField>;
    MouseFields fields;
    if (const auto x = ReadIntField(input.x, kMouseCoordinateRange))
        fields.x = *x;
    else
        return Ok::Refuse(IntRangeMessage(kMouseCoordinateRange), MouseField::X);
    if (const auto y = ReadIntField(input.y, kMouseCoordinateRange))
        fields.y = *y;
    else
        return Ok::Refuse(IntRangeMessage(kMouseCoordinateRange), MouseField::Y);
    fields.button = IsKnownButton(input.button) ? input.button : 0;
    fields.local = input.local;
    return Ok::CloseWith(ComposeMouseLine(fields));
}

std::optional<ScreenPoint> DialogOutOfTheWay(ScreenPoint pointer, ScreenRect dialog,
                                             ScreenRect desktop, int dpi) {
    if (!Contains(dialog, pointer))
        return std::nullopt;
    const int width = desktop.right - desktop.left;
    const int height = desktop.bottom - desktop.top;
    const int dialogWidth = dialog.right - dialog.left;
    const int dialogHeight = dialog.bottom - dialog.top;
    // Compared doubled, so an odd desktop size has its middle between two pixels.
    const bool rightHalf = 2 * (pointer.x - desktop.left) > width;
    const bool lowerHalf = 2 * (pointer.y - desktop.top) > height;
    const int gap = ScaleForDpi(kTrackerEdgeGap, dpi);
    ScreenPoint to;
    to.x = desktop.left + (rightHalf ? gap : width - dialogWidth - gap);
    to.y = desktop.top + (lowerHalf ? gap : height - dialogHeight - gap);
    return to;
}

std::optional<std::size_t> MeasuredWindow(const std::vector<ChainWindow>& chain) {
    if (chain.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (!chain[i].hasParent || (chain[i].style & kWsCaption) == kWsCaption)
            return i;
    }
    return chain.size() - 1;  // a chain cut short: its last window stands for the top
}

std::array<ScreenPoint, 5> TrackerFrameOutline(ScreenRect window, int dpi) {
    const int inset = ScaleForDpi(kTrackerFrameInset, dpi);
    const int left = window.left + inset;
    const int top = window.top + inset;
    const int right = window.right - inset - 1;
    const int bottom = window.bottom - inset - 1;
    return {{{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}};
}

int TrackerFramePenWidth(int dpi) {
    return ScaleForDpi(kTrackerFramePenWidth, dpi);
}

}  // namespace zv
