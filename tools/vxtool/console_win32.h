// vxtool's edge to the Windows console and command line: arguments in any script, and texts shown readably in a
// console window whatever its code page.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace brennic::vxtool {

// The process's arguments as UTF-8, from the wide command line; empty when it cannot be read.
std::vector<std::string> wideCommandLineArguments();

// While it lives, standard output and standard error write to the console through WriteConsoleW when they are a
// console; otherwise they stay as they are and carry the UTF-8 bytes (to a file or a pipe).
class ConsoleStreams {
public:
    ConsoleStreams();
    ~ConsoleStreams();
    ConsoleStreams(const ConsoleStreams&) = delete;
    ConsoleStreams& operator=(const ConsoleStreams&) = delete;
    // Writes what is held back and ends the redirection; false when a write to the console failed.
    bool finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace brennic::vxtool
