// The runs Brennic starts and follows: the launcher behind Start and "Run again". Console modes 0 and 1 are
// started through the shell and followed to their end in the main window's status bar; mode 2 is handed to
// cmd.exe, which stays open; mode 3 gets a run window of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/run_window_win32.h"
#include "launch/launcher.h"
#include "platform/platform.h"

namespace brennic {

class Runs : public ProgramLauncher, public RunWindowHost {
public:
    Runs() = default;
    ~Runs() override;
    Runs(const Runs&) = delete;
    Runs& operator=(const Runs&) = delete;

    // The main window (owner of the run windows, holder of the status bar) and the boxes for failures.
    void attach(HWND mainWindow, MessageBoxes& boxes);
    // Whoever keeps a record of runs; may be null.
    void setEvents(RunEvents* events) { events_ = events; }

    LaunchResult launch(const StartedRun& run) override;

    // IDT_TRACKED_RUNS: the programs started with a console of their own, and the status bar part.
    void tick();
    // WM_BRENNIC_RUN_CLOSED: a run window has gone.
    void windowClosed(RunWindow* window);

    // Runs that would go on unseen or be cut off if Brennic exited now: run windows whose program still runs,
    // and programs started with a hidden console.
    std::size_t runsGoing() const;
    // Before Brennic exits: when runs are going, asks whether to stop them. True when Brennic may exit (and then
    // every such run has been stopped).
    bool confirmExit();

private:
    struct ConsoleRun {
        StartedRun run;
        HANDLE process = nullptr;
        std::uint64_t startedMs = 0;
        std::uint64_t eventId = 0;
        std::uint64_t serial = 0;  // the order of the starts
    };

    // RunWindowHost (the run windows call back here)
    void runAgain(const StartedRun& run) override;
    void runEnded(RunWindow& window, const std::string& outcome) override;
    void windowGone(RunWindow& window) override;

    void showConsoleStatus(const std::string& text);
    void stopAll();

    HWND main_ = nullptr;
    MessageBoxes* boxes_ = nullptr;
    RunEvents* events_ = nullptr;
    std::vector<std::unique_ptr<RunWindow>> windows_;
    std::vector<ConsoleRun> consoleRuns_;
    std::string consoleStatus_;
    std::uint64_t serials_ = 0;
    std::uint64_t latestSerial_ = 0;
    std::string latestText_;  // how the latest start stands, kept after it ended
};

}  // namespace brennic
