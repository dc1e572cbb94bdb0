// The run window: one program started with "Show output in window", its output as it comes, how it stands and
// how it ended, and what the user can do with it (Stop, Run again, Copy all, Save log..., Close).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "launch/run_events.h"

namespace brennic {

class RunWindow;

// What a run window needs of the runs around it.
class RunWindowHost {
public:
    virtual ~RunWindowHost() = default;
    // "Run again": the same command, in a new window.
    virtual void runAgain(const StartedRun& run) = 0;
    // The run has ended, `outcome` in words ("exit code 0", "Stopped", ...).
    virtual void runEnded(RunWindow& window, const std::string& outcome) = 0;
    // The window has been destroyed; the host may free it now (after this call returns).
    virtual void windowGone(RunWindow& window) = 0;
};

class RunWindow {
public:
    RunWindow(const StartedRun& run, std::string programName, RunWindowHost& host);
    ~RunWindow();
    RunWindow(const RunWindow&) = delete;
    RunWindow& operator=(const RunWindow&) = delete;

    // Starts the program and opens the window owned by `owner`. False and the system's reason when the
    // program could not be started; no window is left then.
    bool open(HWND owner, std::string& reason);

    HWND window() const;
    bool running() const;
    // Ends the program and everything it started (Stop).
    void stop();
    // Stops a run still going and destroys the window without asking (Brennic exits).
    void closeNow();

    std::uint64_t eventId = 0;  // what RunEvents named the run, 0 for none

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace brennic
