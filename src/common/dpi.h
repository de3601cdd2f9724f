// Pixel figures at any display scale. Every pixel figure in the code is a figure at 96 DPI
// (100 %); a window draws it scaled by its own DPI (144 is 150 %, 192 is 200 %). This is
// the arithmetic; common/win32/dpi.h asks the system for a window's DPI and makes fonts
// and images for it.
#pragma once

#include <cstdint>

#include "common/geometry.h"

namespace zv {

inline constexpr int kBaseDpi = 96;

// value * dpi / 96, rounded half away from zero (as MulDiv rounds). A DPI of 0 or less,
// which a failing system call may report, counts as 96.
int ScaleForDpi(int value, int dpi);
// The inverse: a figure at dpi in 96-DPI units, rounded the same way. For dpi >= 96,
// UnscaleForDpi(ScaleForDpi(v, dpi), dpi) == v.
int UnscaleForDpi(int value, int dpi);
// A figure laid out at fromDpi as the same figure at toDpi.
int RescaleForDpi(int value, int fromDpi, int toDpi);

// Each edge rescaled on its own, so that rectangles that touched or lined up still do.
Rect RescaleRect(const Rect& r, int fromDpi, int toDpi);

inline int Width(const Rect& r) {
    return r.right - r.left;
}
inline int Height(const Rect& r) {
    return r.bottom - r.top;
}
// The rectangle grown by dx, dy on every side (shrunk for negative values).
Rect InflatedRect(const Rect& r, int dx, int dy);
// A width x height rectangle centred in outer (an odd leftover goes right and down).
Rect CentredRect(const Rect& outer, int width, int height);
// Whether the two share at least one pixel (empty rectangles share none).
bool Intersects(const Rect& a, const Rect& b);
// Whether inner lies wholly inside outer.
bool ContainsRect(const Rect& outer, const Rect& inner);

// A factor num / den, in lowest terms when made by the functions here.
struct Ratio {
    std::int64_t num = 1;
    std::int64_t den = 1;
    bool operator==(const Ratio&) const = default;
};
// Each edge of r multiplied by x horizontally and y vertically (rounded as ScaleForDpi).
Rect StretchRect(const Rect& r, Ratio x, Ratio y);
int Stretch(int value, Ratio by);

// The factor from a layout made for a font that measures templateSize at templateDpi to
// the same layout at dpi, where the same font measures size: the DPI's factor, or the
// font's own where the font grew more (its glyphs do not scale exactly with the DPI), so
// that whatever a text filled at templateDpi still holds it.
Ratio TextScale(int templateDpi, int templateSize, int dpi, int size);
// The factor that takes a layout scaled by `from` (from its template) to one scaled by
// `to`.
Ratio ScaleBetween(Ratio from, Ratio to);

// Dialog units are whole pixels of the dialog font's average character width (and
// height), so a dialog laid out at one DPI is not exactly the 96-DPI dialog scaled: at
// 144 DPI a font 7.0 pixels wide at 96 may be 10.46 wide and give units of 10, not 10.5,
// and a text that just fits at 96 DPI no longer does. The factor by which a dialog made
// at dpi grows to keep its 96-DPI proportions: the 96-DPI unit scaled to dpi over the
// unit at dpi, when that is above 1; 1 otherwise (a dialog never shrinks).
Ratio DialogUnitCorrection(int unitAt96, int unitAtDpi, int dpi);

// The character height of a font of `points` points at dpi, as a font's height field
// takes it (negative: the character height without internal leading).
int FontHeightForDpi(int points, int dpi);

// Images are drawn at 100 %, 150 % and 200 % (16, 24 and 32 pixels for a 16-pixel image)
// and never stretched: the set nearest to the DPI's scale, a tie going to the smaller.
int ImageScalePercent(int dpi);
// The size of a baseSize image in the set of percent (rounded half up, as the images
// were drawn).
int ImageSizeForScale(int baseSize, int percent);

}  // namespace zv
