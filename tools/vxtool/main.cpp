// vxtool: check, and (when built with the authoring library) compile, decompile, dump and preview config files.
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#ifdef _WIN32
#include "console_win32.h"
#endif
#if __has_include("authoring_commands.h")
#include "authoring_commands.h"
#define VXTOOL_HAS_AUTHORING 1
#endif

namespace brennic::vxtool {
namespace {

struct Command {
    const char* name;
    CommandFunction run;
};

const Command kCommands[] = {
    {"check", checkCommand},
#ifdef VXTOOL_HAS_AUTHORING
    {"compile", compileCommand},
    {"decompile", decompileCommand},
    {"dump", dumpCommand},
    {"preview", previewCommand},
#endif
};

void printUsage(std::ostream& stream) {
    stream << "Usage: vxtool COMMAND [ARGS]\n\nCommands:";
    for (const Command& command : kCommands) stream << ' ' << command.name;
    stream << "\n\n\"vxtool COMMAND --help\" describes a command.\n";
}

// The words after the program's name.
int run(const std::vector<std::string>& words) {
    if (words.empty()) {
        printUsage(std::cerr);
        return 2;
    }
    const std::string& name = words[0];
    if (name == "-h" || name == "--help" || name == "help") {
        printUsage(std::cout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (name != command.name) continue;
        const std::vector<std::string> args(words.begin() + 1, words.end());
        return command.run(args, std::cout, std::cerr);
    }
    std::cerr << "vxtool: unknown command \"" << name << "\"\n\n";
    printUsage(std::cerr);
    return 2;
}

}  // namespace
}  // namespace brennic::vxtool

int main(int argc, char** argv) {
    std::vector<std::string> words(argv, argv + argc);
#ifdef _WIN32
    // File names in any script: the narrow arguments hold only what the ANSI code page can say.
    brennic::vxtool::ConsoleStreams console;
    if (std::vector<std::string> wide = brennic::vxtool::wideCommandLineArguments(); !wide.empty()) {
        words = std::move(wide);
    }
#endif
    if (!words.empty()) words.erase(words.begin());
    int code = brennic::vxtool::run(words);
    // Output that did not arrive is a failure even when the command itself succeeded.
    std::cout.flush();
    bool written = !std::cout.bad();
#ifdef _WIN32
    written = console.finish() && written;
#endif
    if (!written && code == 0) code = 1;
    return code;
}
