#include "ui/font_points.h"

#include <climits>
#include <cstdint>

namespace {

// round(value x numerator / denominator) for value, numerator >= 0 and denominator > 0.
std::int64_t RoundedScale(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    return (2 * value * numerator + denominator) / (2 * denominator);
}

// LOGFONT heights are LONG, which is 32 bits on Windows whatever long is here.
constexpr std::int64_t kLargestHeight = INT32_MAX;

} // namespace

int PointsFromLogFontHeight(long logFontHeight, int dpi) {
    if (dpi <= 0)
        return 0;
    std::int64_t height = static_cast<std::int64_t>(logFontHeight);
    if (height < -kLargestHeight || height > kLargestHeight)
        height = kLargestHeight;
    else if (height < 0)
        height = -height;
    std::int64_t points = RoundedScale(height, 72, dpi);
    return points > INT_MAX ? INT_MAX : static_cast<int>(points);
}

long LogFontHeightFromPoints(int points, int dpi) {
    if (points <= 0 || dpi <= 0)
        return 0;
    std::int64_t height = RoundedScale(points, dpi, 72);
    if (height > kLargestHeight)
        height = kLargestHeight;
    return -static_cast<long>(height);
}
