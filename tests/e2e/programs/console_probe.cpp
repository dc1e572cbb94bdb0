// Stand-in for the described program in the console tests: appends whether its console window is visible
// and the show command it was started with to the file named by BRENNIC_PROBE_RECORD, then stays alive until
// it is ended, so that its console can be looked at.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
    Sleep(300);  // the console window appears a little after the process
    HWND console = GetConsoleWindow();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const bool showGiven = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
    if (const char* path = std::getenv("BRENNIC_PROBE_RECORD")) {
        if (std::FILE* file = std::fopen(path, "ab")) {
            std::fprintf(file, "console=%d visible=%d show=%d\n", console != nullptr ? 1 : 0,
                         console != nullptr && IsWindowVisible(console) ? 1 : 0,
                         showGiven ? static_cast<int>(startup.wShowWindow) : -1);
            std::fclose(file);
        }
    }
    Sleep(30000);
    return 0;
}
