// A dialog's controls that follow the window's growth: their rectangles at the smallest size are taken once,
// and every later placement starts from them, so at the smallest size nothing moves by a pixel. When the
// dialog's own units change (its font re-created for another DPI), the taken rectangles scale with them.
#pragma once

#include <windows.h>

#include <vector>

#include "pages/window_layout.h"

namespace brennic {

class GrowingLayout {
public:
    // Takes the control's current rectangle (in the parent's client area) as its smallest one.
    void add(HWND parent, HWND control, unsigned anchors);
    // The size the controls' rectangles belong to (the parent's client size now, unless given).
    void setSmallestSize(HWND parent, int width = -1, int height = -1);
    // Places every control for the parent's client area of that size, all in one step.
    void apply(HWND parent, int width, int height) const;
    bool empty() const { return items_.empty(); }
    // The smallest size in pixels of the dialog's units now.
    LayoutSize smallestSize(HWND parent) const;

private:
    struct Item {
        HWND control;
        LayoutRect smallest;
        unsigned anchors;
    };
    LayoutRect scaled(HWND parent, const LayoutRect& rect) const;

    std::vector<Item> items_;
    LayoutSize smallest_;
    int unitX_ = 0;  // the dialog's units when the rectangles were taken
    int unitY_ = 0;
};

// The dialog's base units in pixels (horizontal per 4, vertical per 8 dialog units).
void dialogUnits(HWND dialog, int& x, int& y);

}  // namespace brennic
