// The three argument pages' dialog procedure (dialogs 103, 106, 107); the creation parameter is the page's
// index 0, 1 or 2.
#pragma once

#include <windows.h>

namespace brennic {

INT_PTR CALLBACK argumentPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace brennic
