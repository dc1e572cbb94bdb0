// Starting the described program: where it lives, the shell call of each console mode, the warnings
// before a start, and the text that "Copy command line" puts on the clipboard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "state/program_description.h"
#include "launch/command_line.h"
#include "launch/run_events.h"
#include "state/argument_slot.h"
#include "state/page_controls.h"
#include "state/app_options.h"
#include "platform/platform.h"
#include "launch/launcher.h"

namespace brennic {

struct AppState;

inline constexpr std::uint32_t kHideConsole = 0;
inline constexpr std::uint32_t kShowConsole = 1;
inline constexpr std::uint32_t kHoldConsole = 2;
// The program itself, as with kHideConsole, with its output shown in a run window of Brennic's own.
inline constexpr std::uint32_t kOutputWindow = 3;

inline constexpr const char* kContinueQuestion = "\n\n Continue app starting?";
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kRunErrorText = "Run app error";
inline constexpr const char* kRunErrorCaption = "Err...";

// programsFolder followed directly by programFolderName.
std::string programFolder(const ProgramDescription& description);
// The program folder, a backslash and executableName.
std::string programFile(const ProgramDescription& description);

// The shell call that runs file with parameters from folder in the given console mode; none for a mode
// other than 0, 1, 2 and 3. Mode 2 runs cmd.exe /k, which changes drive and folder and keeps its window open.
std::optional<ShellRequest> launchRequest(const std::string& folder, const std::string& file,
                                          const std::string& parameters, std::uint32_t consoleOpt);

// Everything a Start works out before it asks or launches anything. Start, "Copy command line" and the
// command preview all take it from assembleCommand, so that what is shown, copied and run cannot differ.
struct AssembledCommand {
    std::string parameters;
    MissingByPage missing{};               // what Start warns about
    std::optional<ShellRequest> request;   // the shell call; none in a console mode other than 0 to 3
    // The request as one command line, as the launched program (or cmd.exe) receives it; empty when nothing
    // would be launched (no request, or no executable).
    std::string line;
};

// Reads the pages' live manual texts and nothing else; changes no slot, control or log.
AssembledCommand assembleCommand(const ProgramDescription& description, const ArgumentSlots& slots,
                                 const PageControlsTable& controls, std::uint32_t consoleOpt);

// Shows the collected warnings with the question and empties the log. Returns true when the user
// cancels the start (answers No); an empty log shows nothing and lets the start go on.
bool confirmWarnings(WarningLog& log, MessageBoxes& boxes);

// The reason shown when the config names no executable: the shell would be handed the bare folder, open it in
// a file window and report success, so nothing is started.
inline constexpr const char* kNoExecutableReason = "The config names no program file to start.";

// The Start command. Returns the parameter text. Every path through it leaves the warning log empty.
// `startedAt` stamps the run (seconds since 1970-01-01 UTC).
std::string startProgram(ProgramDescription& description, const ArgumentSlots& slots,
                         const PageControlsTable& controls, const AppOptions& options, MessageBoxes& boxes,
                         ProgramLauncher& launcher, std::int64_t startedAt);

// What Start would launch now, as one command line ("Copy command line"); none when there is nothing to
// launch (no executable, unknown console mode). Shows nothing and leaves the warning log as it is.
std::optional<std::string> commandLineText(const ProgramDescription& description, const ArgumentSlots& slots,
                                           const PageControlsTable& controls, const AppOptions& options);

// The same two commands over the process state; they do nothing until a description is ready.
void startProgram(AppState& state, MessageBoxes& boxes, ProgramLauncher& launcher, std::int64_t startedAt);
std::optional<std::string> commandLineText(const AppState& state);

// Seconds since 1970-01-01 UTC, the time a run is recorded with.
std::int64_t secondsSince1970();

}  // namespace brennic
