// Starting a program and following it: the interface between Start (and "Run again") and the platform layer
// that creates the process, keeps it where Brennic reports its end, and shows a run window for console mode 3.
#pragma once

#include <string>

#include "launch/run_events.h"

namespace brennic {

struct LaunchResult {
    bool started = false;
    std::string reason;  // when not started: the system's words for why, or empty when it gave none
};

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts exactly run.request in run.consoleOpt's way. A started run is the launcher's to follow from here.
    virtual LaunchResult launch(const StartedRun& run) = 0;
};

// The text of the "Err..." box for a start that failed: "Run app error", then the file that could not be
// started and the reason, each on a line of its own.
std::string runErrorText(const std::string& file, const std::string& reason);

// Starts the run and reports a failure in the "Run app error" box. True when it started.
bool launchRun(const StartedRun& run, ProgramLauncher& launcher, MessageBoxes& boxes);

}  // namespace brennic
