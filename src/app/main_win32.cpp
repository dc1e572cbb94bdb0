// Process entry: Brennic's main window and its message loop.
#include <windows.h>

#include "app/dialog_program_win32.h"
#include "app/main_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return brennic::runDialogProgram(instance, brennic::createMainWindow);
}
