// The window's icons: Brennic's own and the described program's, each drawn for the size it is shown at.
#pragma once

#include <windows.h>

#include <string>

namespace brennic {

// Brennic's own icon, the image of its icon group that suits width x height best. The caller owns it
// (DestroyIcon): it is not shared, so that a size the system does not cache (a DPI change) can be made too.
HICON loadOwnIcon(int width, int height);

// The described program's icon for width x height: from the first icon group of the executable at `exePath`,
// the image that suits the size best (as the shell chooses it), made at that size. The file is read as data,
// never loaded as code, so 32-bit and 64-bit programs both work. Nullptr when it has no usable icon.
HICON loadProgramIcon(const std::string& exePath, int width, int height);

// Makes `icon` the window's big or small icon (ICON_BIG, ICON_SMALL) and destroys the icon it replaces: every
// icon this window shows was made for it alone. A null icon changes nothing.
void replaceWindowIcon(HWND window, WPARAM which, HICON icon);

// Shows the described program's icon in the window, big and small. Returns 0 on success; 5 when the file cannot
// be opened as data, 1 when it holds no icon group, 6 when no icon can be made of it. Nobody is told of a
// failure: the window keeps Brennic's own icons.
int setForeignIcon(HWND window, const std::string& exePath);

}  // namespace brennic
