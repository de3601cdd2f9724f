// The geometry of one item of the editor's line list at a DPI: the item's 96-DPI figures
// (41 pixels high, a 4-pixel inset, the text 40 pixels right of the inset and 2 below it,
// the second text line 16 below the first, 1-pixel lines) scaled, and the item made taller
// where the list's font or icon needs more room than the scaled figures give.
#pragma once

#include "common/geometry.h"

namespace zv {

struct LineItemLayout {
    int itemHeight = 0;
    int inset = 0;     // the inner rectangle: the item shrunk by this on every side
    int textLeft = 0;  // the text's left edge, from the inner left edge
    int textTop = 0;   // the first text line's top, from the inner top
    int lineStep = 0;  // from the first text line's top to the second's
    int line = 0;      // the width of the separator line and the selection frame
    int iconSize = 0;

    bool operator==(const LineItemLayout&) const = default;
};

// textHeight: the character height of the list's font (without its internal leading);
// iconSize: the size of the command icons drawn at this DPI.
LineItemLayout LineItemLayoutForDpi(int dpi, int textHeight, int iconSize);

// The selection frame of an item rectangle: one line in from the left, top and right, two
// lines up from the bottom (clear of the separator line).
Rect SelectionFrame(const Rect& item, const LineItemLayout& layout);

}  // namespace zv
