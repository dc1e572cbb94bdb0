// Config files for the tests, built from description tables with the program's own writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/program_description.h"

namespace brennic::e2e {

// A small valid description: the program "tool.exe" in the folder "Tool"; list 0 "Mode" with "Encode" (a
// path from an open dialog, then list 1) and "Help"; list 1 "Output" with "Quiet" and "Level" (manual
// arguments). Change it freely in a test before writing it.
ProgramDescription sampleTables();

// The config bytes of built tables.
std::vector<std::uint8_t> configBytes(ProgramDescription tables);

// Writes the sample (or the given tables) as <app>\prog.vx; returns the path.
std::string writeDefaultConfig();
std::string writeConfigFile(const std::string& path, const ProgramDescription& tables);

// The described program's folder and executable path for a programs folder (the app folder by default).
std::string describedFolder(const ProgramDescription& tables, const std::string& programsFolder);
std::string describedExe(const ProgramDescription& tables, const std::string& programsFolder);

}  // namespace brennic::e2e
