// Drag-and-drop of command lines: the plain-text payload "<RK_MACRO_D&D>" + line, the
// drag source's outcome after the platform's drag loop, the drop target's selection,
// insertion and reported effect, and the drag-scroll rules. Inside one list and between
// editor windows (each its own process) alike; the Win32 layer runs the OLE calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/geometry.h"
#include "common/winconst.h"
#include "editor/linelist.h"

namespace zv {

inline constexpr std::string_view kDragMarker = "<RK_MACRO_D&D>";

// How long the drag scroll waits between two acting steps.
inline constexpr std::uint32_t kDragScrollIntervalMs = 1000;
// Height of one item of the line list, in pixels at 96 DPI (editor/line_item_layout.h
// gives it at any DPI).
inline constexpr int kLineItemHeight = 41;

// Drop index values besides an inserted index.
inline constexpr int kDropNone = -1;        // nothing inserted into this list
inline constexpr int kDropOntoSource = -3;  // dropped onto the dragged line itself

// The drag data: the marker followed by the line (the platform adds the zero byte).
std::string ComposeDragText(std::string_view line);

// The line a dropped text carries: the text must begin at byte 0 with the marker in
// exactly its case. The line is what follows, up to a zero byte or a line break (the
// text of another program may hold more lines). Nothing when the marker is missing or
// the line is empty.
std::optional<std::string> ParseDragText(std::string_view text);

// Copy while Ctrl is held, move otherwise (keyState: the MK_* flags of the drag).
std::uint32_t DropEffectForKeys(std::uint32_t keyState);

// The item nearest to a client point of the list whose first visible item is topIndex
// and whose items are itemHeight pixels high: points above the items give the top one,
// points below the last give the last one. -1 for an empty list.
int NearestItem(Point client, int topIndex, int count, int itemHeight);

// Where the pointer is in the receiving list: the nearest item and whether the point
// lies inside the list's client area.
struct DropPoint {
    int nearestItem = -1;
    bool insideClient = false;
};

enum class ScrollDirection { None, LineUp, LineDown };

// Inside the client area but outside it shrunk by inset on every side: a line up above
// the shrunk area, a line down below it; nothing anywhere else.
ScrollDirection DragScrollDirection(Point client, const Rect& clientRect,
                                    int inset = kDefaultScrollInset);

// The drag-scroll step, asked before drag over for every movement. It acts at most once
// per kDragScrollIntervalMs, counted from one process-wide stamp set at the first call
// (keep one instance per process). The tick counter may wrap.
class DragScrollTimer {
public:
    struct Answer {
        bool acted = false;  // answered here: report effect, skip drag over
        ScrollDirection scroll = ScrollDirection::None;  // post this one-line scroll
        std::uint32_t effect = kDropEffectNone;          // the drag effect plus the scroll flag
    };
    Answer Step(std::uint32_t nowMs, Point client, const Rect& clientRect, std::uint32_t keyState,
                int inset = kDefaultScrollInset);

private:
    bool started_ = false;
    std::uint32_t stamp_ = 0;
};

// What the drop target reports: the effect, and what the list control must do.
struct DropTargetResult {
    std::uint32_t effect = kDropEffectNone;
    ListResult list;
    bool bringToFront = false;  // the receiving window comes to the foreground
};

// The drag state of one list, source and target alike (source and drop index both -1
// while no drag from this list is in progress).
class LineDragDrop {
public:
    explicit LineDragDrop(MacroLineList& list) : list_(list) {}

    int SourceIndex() const { return source_; }
    int DropIndex() const { return drop_; }

    // The left button went down and the control selected the line under the pointer:
    // the drag data to offer with the effects copy and move, or nothing without a
    // selected line.
    std::optional<std::string> BeginDrag();
    // The drag loop ended with effect. A move removes the source line (unless it was
    // dropped onto itself); copy and none change nothing. Resets the drag state.
    ListResult EndDrag(std::uint32_t effect);

    // Drag enter and drag over: the nearest item becomes selected when the point is
    // inside the client area; the effect follows the Ctrl key.
    DropTargetResult DragOver(const DropPoint& point, std::uint32_t keyState);
    // Drop of a text (nothing when the data holds no plain text): selects as drag over,
    // then inserts the carried line before the selected line (at the end without one)
    // and selects it; a drop onto the dragged line itself changes nothing. The effect
    // reported is none when nothing was inserted, so that a moving source keeps its data.
    DropTargetResult Drop(const DropPoint& point, std::optional<std::string_view> text,
                          std::uint32_t keyState);

private:
    MacroLineList& list_;
    int source_ = -1;
    int drop_ = -1;
};

}  // namespace zv
