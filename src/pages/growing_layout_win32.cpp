// Placing a dialog's controls as the window grows.
#include "pages/growing_layout_win32.h"

namespace brennic {

void dialogUnits(HWND dialog, int& x, int& y) {
    RECT units{0, 0, 4, 8};
    if (!MapDialogRect(dialog, &units)) {
        x = y = 0;
        return;
    }
    x = units.right;
    y = units.bottom;
}

void GrowingLayout::add(HWND parent, HWND control, unsigned anchors) {
    if (control == nullptr) return;
    if (items_.empty()) dialogUnits(parent, unitX_, unitY_);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    int height = rect.bottom - rect.top;
    // A drop-down list's window height is its height dropped down: moving it must not shrink the list.
    wchar_t name[16]{};
    RECT dropped{};
    if (GetClassNameW(control, name, 16) != 0 && lstrcmpiW(name, L"ComboBox") == 0 &&
        SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) != 0 &&
        dropped.bottom - dropped.top > height)
        height = dropped.bottom - dropped.top;
    items_.push_back({control, {rect.left, rect.top, rect.right - rect.left, height}, anchors});
}

void GrowingLayout::setSmallestSize(HWND parent, int width, int height) {
    if (width < 0 || height < 0) {
        RECT client{};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
    }
    smallest_ = {width, height};
    if (items_.empty()) dialogUnits(parent, unitX_, unitY_);
}

LayoutRect GrowingLayout::scaled(HWND parent, const LayoutRect& rect) const {
    int x = 0;
    int y = 0;
    dialogUnits(parent, x, y);
    if (x == unitX_ && y == unitY_) return rect;  // the common case: exactly as taken
    return {scaleForDpi(rect.left, x, unitX_), scaleForDpi(rect.top, y, unitY_), scaleForDpi(rect.width, x, unitX_),
            scaleForDpi(rect.height, y, unitY_)};
}

LayoutSize GrowingLayout::smallestSize(HWND parent) const {
    const LayoutRect size = scaled(parent, {0, 0, smallest_.width, smallest_.height});
    return {size.width, size.height};
}

void GrowingLayout::apply(HWND parent, int width, int height) const {
    if (items_.empty()) return;
    const LayoutSize smallest = smallestSize(parent);
    const LayoutGrowth growth = growthOf(smallest.width, smallest.height, width, height);
    HDWP batch = BeginDeferWindowPos(static_cast<int>(items_.size()));
    for (const Item& item : items_) {
        const LayoutRect place = placeControl(scaled(parent, item.smallest), item.anchors, growth);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (batch != nullptr)
            batch = DeferWindowPos(batch, item.control, nullptr, place.left, place.top, place.width, place.height, flags);
        else
            SetWindowPos(item.control, nullptr, place.left, place.top, place.width, place.height, flags);
    }
    if (batch != nullptr) EndDeferWindowPos(batch);
    InvalidateRect(parent, nullptr, TRUE);
}

}  // namespace brennic
