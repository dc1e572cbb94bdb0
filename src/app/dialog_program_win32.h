// A program whose user interface is one modeless main dialog: the process-wide set-up before the dialog exists,
// the dialog, and the message loop that serves it.
#pragma once

#include <windows.h>

namespace brennic {

// Registers the common control classes, starts COM on this thread (the folder browser's new dialog style needs
// it before any window exists), loads accelerator table 111, creates the main dialog with `createMainWindow`,
// shows it and runs the message loop: accelerators first, then dialog navigation, then plain dispatch.
// Returns the quit message's exit code, or 1 when the dialog could not be created.
int runDialogProgram(HINSTANCE instance, HWND (*createMainWindow)(HINSTANCE));

}  // namespace brennic
