// vxtool's commands. Each takes the words after its name and returns the exit status:
// 0 success, 1 the input is refused, 2 usage error. main.cpp dispatches through its command table.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brennic::vxtool {

using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// check FILE: loads, validates and builds the config as start-up does. Prints the message start-up would show
// and returns 1, or prints "ok" and a one-line summary and returns 0.
int checkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
extern const char* const kCheckHelp;

}  // namespace brennic::vxtool
