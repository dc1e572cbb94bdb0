// The described program's icon on the main window.
#pragma once

#include <windows.h>

#include <string>

namespace brennic {

// Reads icon image 1 (RT_ICON, not a group) of the executable at `exePath` as data and makes it the window's
// big icon. The file is never loaded as code, so 32-bit and 64-bit programs both work. Returns 0 on success;
// 5 when the file cannot be opened, 1 without that image, 3 / 2 when it cannot be loaded / locked, 6 when no
// icon can be made of it, 4 when the file cannot be released. Nobody is told of a failure.
int setForeignIcon(HWND window, const std::string& exePath);

}  // namespace brennic
