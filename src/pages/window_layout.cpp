// Placing the controls of a window that grows.
#include "pages/window_layout.h"

#include <algorithm>
#include <cstdint>

namespace brennic {

LayoutGrowth growthOf(int smallestWidth, int smallestHeight, int width, int height) {
    return {std::max(0, width - smallestWidth), std::max(0, height - smallestHeight)};
}

LayoutRect placeControl(const LayoutRect& smallest, unsigned anchors, LayoutGrowth growth) {
    LayoutRect placed = smallest;
    if (anchors & kGrowWidth) placed.width += growth.x;
    if (anchors & kGrowHeight) placed.height += growth.y;
    if (anchors & kFollowRight) placed.left += growth.x;
    if (anchors & kFollowBottom) placed.top += growth.y;
    if (anchors & kKeepCentred) placed.left += growth.x / 2;
    return placed;
}

int scaleForDpi(int pixels, int toDpi, int fromDpi) {
    if (fromDpi <= 0) return pixels;
    // Rounded half away from zero, as MulDiv does.
    const std::int64_t product = static_cast<std::int64_t>(pixels) * toDpi;
    const std::int64_t half = fromDpi / 2;
    const std::int64_t scaled = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
    return static_cast<int>(scaled);
}

LayoutRect scaleForDpi(const LayoutRect& rect, int toDpi, int fromDpi) {
    return {scaleForDpi(rect.left, toDpi, fromDpi), scaleForDpi(rect.top, toDpi, fromDpi),
            scaleForDpi(rect.width, toDpi, fromDpi), scaleForDpi(rect.height, toDpi, fromDpi)};
}

LayoutSize restoredSize(std::uint32_t width96, std::uint32_t height96, int dpi, LayoutSize smallest,
                        LayoutSize workArea) {
    if (width96 == 0 || height96 == 0) return smallest;
    const int width = scaleForDpi(static_cast<int>(std::min<std::uint32_t>(width96, 32767)), dpi, 96);
    const int height = scaleForDpi(static_cast<int>(std::min<std::uint32_t>(height96, 32767)), dpi, 96);
    // The work area bounds a remembered size (another monitor may have been larger), never the smallest size.
    const int maxWidth = std::max(smallest.width, workArea.width);
    const int maxHeight = std::max(smallest.height, workArea.height);
    return {std::clamp(width, smallest.width, maxWidth), std::clamp(height, smallest.height, maxHeight)};
}

LayoutSize rememberedSize(LayoutSize pixels, int dpi) {
    return {scaleForDpi(pixels.width, 96, dpi), scaleForDpi(pixels.height, 96, dpi)};
}

}  // namespace brennic
