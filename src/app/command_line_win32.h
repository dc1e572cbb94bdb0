// The process's command line for start-up.
#pragma once

#include <optional>
#include <string>

#include "app/startup.h"

namespace brennic {

// Token 0, the program's own full path (quoted or not), and token 1, the config path: the first argument, or
// prog.vx in the program directory; empty when the command line cannot be split.
StartupCommandLine readCommandLine();

// The program's own file, whatever the command line says, long paths included; none when the system gives none.
std::optional<std::string> ownFilePath();

}  // namespace brennic
