// Dots per inch of a window and system metrics at a given DPI. The per-window functions exist from
// Windows 10 1607 on; before that every window has the system's DPI.
#pragma once

#include <windows.h>

namespace brennic {

inline constexpr int kDefaultDpi = 96;

int windowDpi(HWND window);
int systemMetricForDpi(int index, int dpi);

}  // namespace brennic
