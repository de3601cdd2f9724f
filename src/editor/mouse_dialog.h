// The MOUSE dialog's model: a position in screen or client coordinates and a button
// action, and the rules of dragging the position from the tracker picture.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/geometry.h"
#include "editor/commandtype.h"
#include "editor/dialog_frame.h"

namespace zv {

inline constexpr IntRange kMouseCoordinateRange{-3200, 3200};

struct MouseButtonChoice {
    std::string_view entry;        // the drop-down list's entry
    std::string_view description;  // how the line list shows it
};

// The drop-down list in order. Entry 0 is no action; entry i > 0 writes the action word
// MouseActionTable[i - 1].
inline constexpr std::array<MouseButtonChoice, 11> kMouseButtonChoices{{
    {"動作なし", "操作なし"},
    {"左ボタンクリック", "左ｸﾘｯｸ"},
    {"右ボタンクリック", "右ｸﾘｯｸ"},
    {"中央ボタンクリック", "中央ｸﾘｯｸ"},
    {"左ボタンＷクリック", "左Ｗｸﾘｯｸ"},
    {"右ボタンＷクリック", "右Ｗｸﾘｯｸ"},
    {"中央ボタンＷクリック", "中央Ｗｸﾘｯｸ"},
    {"ウィールをクリック", "ｳｨｰﾙｸﾘｯｸ"},
    {"マウスのウィールを1つ手前へ", "ｳｨｰﾙ前"},
    {"マウスのウィールを1つ後ろへ", "ｳｨｰﾙ後ろ"},
    {"現在位置からドラッグ＆ドロップ", "ﾄﾞﾗｯｸﾞ＆ﾄﾞﾛｯﾌﾟ"},
}};

// List index <-> index into MouseActionTable (-1 for none).
inline constexpr int ButtonIndexOfAction(int action) {
    return action + 1;
}
inline constexpr int ActionOfButtonIndex(int buttonIndex) {
    return buttonIndex - 1;
}

struct MouseFields {
    std::int32_t x = 0;
    std::int32_t y = 0;
    int button = 0;  // list index, 0 for no action
    bool local = false;

    bool operator==(const MouseFields&) const = default;
};

struct MouseLineParse {
    bool ok = false;
    MouseFields fields;
};

// Reads a MOUSE line. An empty line fails with the defaults (0, 0); any other failure
// keeps what was read before it, starting from -1, -1, no action, not local.
MouseLineParse ParseMouseLine(std::string_view line);

// "MOUSE:" x "," y, then "," + the action word when a button is chosen, then ",LOCAL".
std::string ComposeMouseLine(const MouseFields& fields);

// "%s:X=%d Y=%d  ﾎﾞﾀﾝ:%s" with "Local" or "Screen", or the whole line invalid.
LineDescription DescribeMouseLine(std::string_view line);

// The fields the dialog opens with: what parse read, even when it failed.
MouseFields OpenMouseDialog(std::string_view entryLine);

enum class MouseField { X, Y };

struct MouseDialogInput {
    std::string x;  // the numeric fields' texts
    std::string y;
    int button = 0;
    bool local = false;
};

// OK: the range checks of x and y, then the composed line.
DialogOk<MouseField> ConfirmMouseDialog(const MouseDialogInput& input);

// ---- position tracking ----

// The tracking figures at 96 DPI; each is scaled by the DPI it is drawn at.
inline constexpr int kTrackerEdgeGap = 40;
inline constexpr int kTrackerFrameInset = 2;
inline constexpr int kTrackerFramePenWidth = 3;

// While tracking, a pointer inside the dialog's window rectangle moves the dialog to the
// far side of the desktop, 40 pixels (at 96 DPI; the dialog's dpi scales them) from its
// edges: the new top-left corner. Nothing when the pointer is outside the dialog (the
// position is taken instead).
std::optional<ScreenPoint> DialogOutOfTheWay(ScreenPoint pointer, ScreenRect dialog,
                                             ScreenRect desktop, int dpi);

// One window of the chain from the window under the pointer up through its parents.
struct ChainWindow {
    std::uint32_t style = 0;
    bool hasParent = false;
};

// With LOCAL, the window the position is measured against: the first window of the
// chain (index 0 is the one under the pointer) that has no parent or has a title bar
// (both caption bits). Nothing for an empty chain (no window: beep).
std::optional<std::size_t> MeasuredWindow(const std::vector<ChainWindow>& chain);

// The frame drawn around the measured window (XOR pen, RGB 0,255,255) at the DPI of the
// window's monitor: the closed outline through these five points, the window's rectangle
// shrunk by 2 pixels, and the pen's width, 3 pixels (both at 96 DPI).
std::array<ScreenPoint, 5> TrackerFrameOutline(ScreenRect window, int dpi);
int TrackerFramePenWidth(int dpi);

}  // namespace zv
