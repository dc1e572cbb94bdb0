// vxtool's authoring commands: compile (source to config), decompile (config to source), dump (config to text),
// preview (the command for a choice on each page).
// Each takes the words after the command name and returns the exit status: 0 success, 1 refused input,
// 2 usage error.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "state/program_description.h"

namespace brennic::vxtool {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

int compileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int decompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int dumpCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// preview CONFIG [choices]: the command line Brennic would run and the warnings Start would show.
int previewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kCompileHelp;
extern const char* const kDecompileHelp;
extern const char* const kDumpHelp;
extern const char* const kPreviewHelp;

// The words of a command: one input file and an optional "-o FILE"; "-h"/"--help" asks for help.
struct InputAndOutput {
    std::string input;
    std::optional<std::string> output;
    bool help = false;
};
// Parses them; on a usage error prints the message and the help text to err and returns nullopt.
std::optional<InputAndOutput> parseInputAndOutput(const std::vector<std::string>& args, const char* command,
                                                  const char* help, bool outputRequired, std::ostream& err);

// Loads a config file as start-up does, with the loader's tests. Prints "FILE: message" to err and returns
// false when the file is refused.
bool loadConfigForTool(const std::string& path, ProgramDescription& description, std::ostream& err);

}  // namespace brennic::vxtool
