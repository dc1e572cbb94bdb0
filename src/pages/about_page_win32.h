// The About page's dialog procedure (dialog 104).
#pragma once

#include <windows.h>

namespace brennic {

INT_PTR CALLBACK aboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace brennic
