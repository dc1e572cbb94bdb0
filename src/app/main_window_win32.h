// The main window: dialog 112, its start-up and its commands.
#pragma once

#include <windows.h>

namespace brennic {

// Creates the main window (modeless, hidden); the start-up sequence runs inside the creation.
HWND createMainWindow(HINSTANCE instance);

}  // namespace brennic
