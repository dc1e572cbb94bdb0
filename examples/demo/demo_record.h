// brennic-demo: a small console program that reports how it was started, so that a launch from Brennic can be
// checked exactly.
//
// Every run prints one block to standard output and, when the environment variable BRENNIC_DEMO_RECORD names a
// file, appends the same block to that file (append mode, one write, '\n' line ends):
//
//     run
//     cmdline=<the process command line: GetCommandLineW() as UTF-8 on Windows, argv joined by spaces elsewhere>
//     cwd=<the working directory: GetCurrentDirectoryW() as UTF-8 on Windows, getcwd() elsewhere>
//     argc=<N>
//     arg0=<argument 0: CommandLineToArgvW as UTF-8 on Windows, argv[0] elsewhere>
//     ...
//     arg<N-1>=<argv[N-1]>
//     end
//
// Values are written verbatim (quotes, backslashes, tabs and trailing spaces kept); only a carriage return or a
// line feed inside a value is written as the four characters \x0d or \x0a, so that every value stays on its line.
// BRENNIC_DEMO_EXIT=<n> makes the program exit with status n (0..255) instead of 0.
#pragma once

#include <string>
#include <vector>

namespace brennic::demo {

struct Invocation {
    std::string commandLine;
    std::string workingDirectory;
    std::vector<std::string> arguments;  // argv[0] .. argv[argc-1]
};

// The record block for one run, as described above.
std::string formatRecord(const Invocation& invocation);

// The exit status BRENNIC_DEMO_EXIT asks for: its value when it is a decimal number 0..255, else 0.
int exitStatusFrom(const char* value);

// Platform side: the command line and working directory exactly as the operating system reports them.
Invocation currentInvocation(int argc, char** argv);

}  // namespace brennic::demo
