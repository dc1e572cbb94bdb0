// The process's command line for start-up.
#pragma once

#include "app/startup.h"

namespace brennic {

// Token 0 (the program's own full path) and, when the process got an argument, token 1 (the config path).
StartupCommandLine readCommandLine();

}  // namespace brennic
