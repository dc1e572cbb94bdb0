// vxtool: check, and (when built with the authoring library) compile, decompile and dump config files.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
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
#endif
};

void printUsage(std::ostream& stream) {
    stream << "Usage: vxtool COMMAND [ARGS]\n\nCommands:";
    for (const Command& command : kCommands) stream << ' ' << command.name;
    stream << "\n\n\"vxtool COMMAND --help\" describes a command.\n";
}

int run(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "-h" || name == "--help" || name == "help") {
        printUsage(std::cout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (name != command.name) continue;
        const std::vector<std::string> args(argv + 2, argv + argc);
        return command.run(args, std::cout, std::cerr);
    }
    std::cerr << "vxtool: unknown command \"" << name << "\"\n\n";
    printUsage(std::cerr);
    return 2;
}

}  // namespace
}  // namespace brennic::vxtool

int main(int argc, char** argv) {
    return brennic::vxtool::run(argc, argv);
}
