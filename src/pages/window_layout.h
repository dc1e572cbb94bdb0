// Where the controls of a window that grows go: each control keeps the rectangle its dialog gave it at the
// smallest size, and follows the window's growth on the sides it is anchored to. The pixel arithmetic is here,
// portable and tested; the Win32 layer only reads and moves windows.
#pragma once

#include <cstdint>

namespace brennic {

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// How a control follows the window's growth (combinable).
enum LayoutAnchor : unsigned {
    kLayoutFixed = 0,
    kGrowWidth = 1,      // the right edge follows the window's right edge
    kGrowHeight = 2,     // the bottom edge follows the window's bottom edge
    kFollowRight = 4,    // keeps its distance to the right edge, same width
    kFollowBottom = 8,   // keeps its distance to the bottom edge, same height
    kKeepCentred = 16,   // moves by half the growth in width, same width
};

// The growth of a client area beyond its smallest size; never negative.
struct LayoutGrowth {
    int x = 0;
    int y = 0;
};
LayoutGrowth growthOf(int smallestWidth, int smallestHeight, int width, int height);

// The control's rectangle for that growth. No growth gives back `smallest` unchanged, to the pixel.
LayoutRect placeControl(const LayoutRect& smallest, unsigned anchors, LayoutGrowth growth);

// A length in pixels at one dots-per-inch value, at another: rounded as the platform's MulDiv rounds.
int scaleForDpi(int pixels, int toDpi, int fromDpi);
LayoutRect scaleForDpi(const LayoutRect& rect, int toDpi, int fromDpi);

// The window size to restore: a remembered size in pixels at 96 dots per inch, at the window's dpi, never
// smaller than the smallest size (given at that dpi) and never larger than the work area. Zero means none
// remembered: the smallest size.
struct LayoutSize {
    int width = 0;
    int height = 0;
    bool operator==(const LayoutSize&) const = default;
};
LayoutSize restoredSize(std::uint32_t width96, std::uint32_t height96, int dpi, LayoutSize smallest,
                        LayoutSize workArea);
// A window size in pixels at `dpi` as it is remembered: at 96 dots per inch.
LayoutSize rememberedSize(LayoutSize pixels, int dpi);

}  // namespace brennic
