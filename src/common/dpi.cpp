#include "common/dpi.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace zv {
namespace {

int ValidDpi(int dpi) {
    return dpi > 0 ? dpi : kBaseDpi;
}

// value * numerator / denominator, rounded half away from zero; denominator > 0.
int MulDivRounded(int value, std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t magnitude = (std::llabs(product) + denominator / 2) / denominator;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

Ratio Reduced(std::int64_t num, std::int64_t den) {
    const std::int64_t divisor = std::gcd(num, den);
    return divisor > 0 ? Ratio{num / divisor, den / divisor} : Ratio{};
}

}  // namespace

int ScaleForDpi(int value, int dpi) {
    return MulDivRounded(value, ValidDpi(dpi), kBaseDpi);
}

int UnscaleForDpi(int value, int dpi) {
    return MulDivRounded(value, kBaseDpi, ValidDpi(dpi));
}

int RescaleForDpi(int value, int fromDpi, int toDpi) {
    return MulDivRounded(value, ValidDpi(toDpi), ValidDpi(fromDpi));
}

Rect RescaleRect(const Rect& r, int fromDpi, int toDpi) {
    return {RescaleForDpi(r.left, fromDpi, toDpi), RescaleForDpi(r.top, fromDpi, toDpi),
            RescaleForDpi(r.right, fromDpi, toDpi), RescaleForDpi(r.bottom, fromDpi, toDpi)};
}

Rect InflatedRect(const Rect& r, int dx, int dy) {
    return {r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

Rect CentredRect(const Rect& outer, int width, int height) {
    const int left = outer.left + (Width(outer) - width) / 2;
    const int top = outer.top + (Height(outer) - height) / 2;
    return {left, top, left + width, top + height};
}

bool Intersects(const Rect& a, const Rect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool ContainsRect(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int Stretch(int value, Ratio by) {
    return by.den > 0 ? MulDivRounded(value, by.num, by.den) : value;
}

Rect StretchRect(const Rect& r, Ratio x, Ratio y) {
    return {Stretch(r.left, x), Stretch(r.top, y), Stretch(r.right, x), Stretch(r.bottom, y)};
}

Ratio DialogUnitCorrection(int unitAt96, int unitAtDpi, int dpi) {
    if (unitAt96 <= 0 || unitAtDpi <= 0)
        return {};
    const Ratio r =
        Reduced(std::int64_t{unitAt96} * ValidDpi(dpi), std::int64_t{unitAtDpi} * kBaseDpi);
    return r.num > r.den ? r : Ratio{};
}

Ratio TextScale(int templateDpi, int templateSize, int dpi, int size) {
    const Ratio byDpi = Reduced(ValidDpi(dpi), ValidDpi(templateDpi));
    if (templateSize <= 0 || size <= 0)
        return byDpi;
    const Ratio byFont = Reduced(size, templateSize);
    // The larger of the two.
    return byFont.num * byDpi.den > byDpi.num * byFont.den ? byFont : byDpi;
}

Ratio ScaleBetween(Ratio from, Ratio to) {
    if (from.num <= 0 || from.den <= 0 || to.den <= 0)
        return {};
    return Reduced(to.num * from.den, to.den * from.num);
}

int FontHeightForDpi(int points, int dpi) {
    return -MulDivRounded(points, ValidDpi(dpi), 72);
}

int ImageScalePercent(int dpi) {
    const int scaled = ValidDpi(dpi) * 100;  // the DPI's scale in percent, times 96
    int best = 100;
    for (int percent : {150, 200}) {
        // Strictly nearer than the smaller set: a tie keeps the smaller one.
        if (std::abs(scaled - percent * kBaseDpi) < std::abs(scaled - best * kBaseDpi))
            best = percent;
    }
    return best;
}

int ImageSizeForScale(int baseSize, int percent) {
    return (baseSize * percent + 50) / 100;
}

}  // namespace zv
