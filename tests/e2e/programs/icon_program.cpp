// A program that only carries an icon, as a described program in the icon tests. It ends at once if run.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
