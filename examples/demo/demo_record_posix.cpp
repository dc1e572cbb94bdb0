// Portable side of brennic-demo for non-Windows builds: there is no single command line, so argv is joined by
// spaces.
#include <filesystem>
#include <system_error>

#include "demo_record.h"

namespace brennic::demo {

Invocation currentInvocation(int argc, char** argv) {
    Invocation invocation;
    for (int i = 0; i < argc; ++i) {
        invocation.arguments.emplace_back(argv[i]);
        if (i > 0) invocation.commandLine.push_back(' ');
        invocation.commandLine.append(argv[i]);
    }
    std::error_code error;
    const auto directory = std::filesystem::current_path(error);
    if (!error) invocation.workingDirectory = directory.string();
    return invocation;
}

}  // namespace brennic::demo
