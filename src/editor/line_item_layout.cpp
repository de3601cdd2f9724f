#include "editor/line_item_layout.h"

#include <algorithm>

#include "common/dpi.h"
#include "editor/dragdrop.h"

namespace zv {

LineItemLayout LineItemLayoutForDpi(int dpi, int textHeight, int iconSize) {
    LineItemLayout l;
    l.inset = ScaleForDpi(4, dpi);
    l.textTop = ScaleForDpi(2, dpi);
    l.line = std::max(1, ScaleForDpi(1, dpi));
    l.iconSize = iconSize;
    // The text never runs into the icon, and the second line never into the first.
    l.textLeft = std::max(ScaleForDpi(40, dpi), iconSize + ScaleForDpi(8, dpi));
    l.lineStep = std::max(ScaleForDpi(16, dpi), textHeight);
    const int forText = 2 * l.inset + l.textTop + l.lineStep + textHeight;
    const int forIcon = 2 * l.inset + iconSize;
    l.itemHeight = std::max({ScaleForDpi(kLineItemHeight, dpi), forText, forIcon});
    return l;
}

Rect SelectionFrame(const Rect& item, const LineItemLayout& layout) {
    return {item.left + layout.line, item.top + layout.line, item.right - layout.line,
            item.bottom - 2 * layout.line};
}

}  // namespace zv
