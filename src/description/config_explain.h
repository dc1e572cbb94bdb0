// Why a config file was refused, in words for its author: start-up's error box adds it below the message,
// and "vxtool check" prints it.
#pragma once

#include <string>

#include "description/config_error.h"
#include "state/program_description.h"

namespace brennic {

// The reason for a caught config error: for a file that cannot be opened, why (no name, no such file, a
// folder, or the system's reason from `openError`, an errno value from the failed open, 0 when unknown);
// for a version out of range, the version and the range read; for a file that ends too soon, where it ends;
// for a damaged config, which record or table breaks which limit. Empty when there is nothing to add.
// `description` is the raw state the loader left.
std::string explainConfigError(const errorVX& raised, const std::string& path, const ProgramDescription& description,
                               int openError);

// Start-up's box text: the message as its first line, then an empty line, "Config file: " and the path,
// and the reason with a capital first letter. Just the message when there is no path and no reason.
std::string configErrorBoxText(const std::string& message, const std::string& path, const std::string& reason);

}  // namespace brennic
