// Points and rectangles in pixels, as the platform reports them.
#pragma once

#include <cstdint>

namespace zv {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// Right and bottom are outside the rectangle.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

inline bool Contains(const Rect& rect, Point point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

// Screen coordinates, where it helps to say so.
using ScreenPoint = Point;
using ScreenRect = Rect;

}  // namespace zv
