// The process's command line for start-up.
#include "app/command_line_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace brennic {

StartupCommandLine readCommandLine() {
    StartupCommandLine result;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    result.tokens.emplace_back(path);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments != nullptr) LocalFree(arguments);
    return result;
}

}  // namespace brennic
