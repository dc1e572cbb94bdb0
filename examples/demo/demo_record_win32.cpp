// Windows side of brennic-demo: the ANSI command line and working directory exactly as the system holds them.
#include <windows.h>

#include "demo_record.h"

namespace brennic::demo {

Invocation currentInvocation(int argc, char** argv) {
    Invocation invocation;
    invocation.commandLine = GetCommandLineA();
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed > 0) {
        std::string directory(needed, '\0');
        const DWORD length = GetCurrentDirectoryA(needed, directory.data());
        directory.resize(length < needed ? length : 0);
        invocation.workingDirectory = directory;
    }
    for (int i = 0; i < argc; ++i) invocation.arguments.emplace_back(argv[i]);
    return invocation;
}

}  // namespace brennic::demo
