// The runs Brennic starts and follows.
#include "app/runs_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "launch/launch.h"
#include "launch/process_win32.h"
#include "pages/tab_host_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"
#include "run/run_texts.h"

namespace brennic {

namespace {

constexpr UINT kConsoleTickMs = 500;

std::uint64_t nowMs() { return GetTickCount64(); }

}  // namespace

Runs::~Runs() {
    windows_.clear();
    for (ConsoleRun& run : consoleRuns_) CloseHandle(run.process);
}

void Runs::attach(HWND mainWindow, MessageBoxes& boxes) {
    main_ = mainWindow;
    boxes_ = &boxes;
}

LaunchResult Runs::launch(const StartedRun& run) {
    LaunchResult result;
    if (run.consoleOpt == kOutputWindow) {
        // The title names the described program as the main window does.
        auto window = std::make_unique<RunWindow>(run, windowText(main_), *this);
        if (!window->open(main_, result.reason)) return result;
        result.started = true;
        RunWindow& opened = *window;
        windows_.push_back(std::move(window));
        if (events_ != nullptr) opened.eventId = events_->runStarted(run);
        return result;
    }

    const ShellStart started = shellStart(run.request);
    if (!started.started) {
        result.reason = systemErrorText(started.error);
        return result;
    }
    result.started = true;
    const std::uint64_t id = events_ != nullptr ? events_->runStarted(run) : 0;
    // cmd.exe holds its console open: its end says nothing about the program. Without a process (the shell
    // handed the file to a program already running) there is nothing to follow either.
    if (run.consoleOpt == kHoldConsole || started.process == nullptr) {
        if (started.process != nullptr) CloseHandle(started.process);
        return result;
    }
    latestSerial_ = ++serials_;
    consoleRuns_.push_back({run, started.process, nowMs(), id, latestSerial_});
    SetTimer(main_, IDT_TRACKED_RUNS, kConsoleTickMs, nullptr);
    tick();
    return result;
}

void Runs::tick() {
    const std::uint64_t now = nowMs();
    std::size_t others = 0;
    for (auto it = consoleRuns_.begin(); it != consoleRuns_.end();) {
        const bool isLatest = it->serial == latestSerial_;
        if (WaitForSingleObject(it->process, 0) != WAIT_OBJECT_0) {
            if (isLatest) {
                latestText_ = runningStatus(now - it->startedMs);
            } else {
                ++others;
            }
            ++it;
            continue;
        }
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(it->process, &exitCode)) exitCode = 1;
        const RunEnd end{exitCode, false};
        if (isLatest) latestText_ = endedStatus(end, now - it->startedMs);
        if (events_ != nullptr && it->eventId != 0) events_->runEnded(it->eventId, describeExit(end));
        CloseHandle(it->process);
        it = consoleRuns_.erase(it);
    }
    if (consoleRuns_.empty()) KillTimer(main_, IDT_TRACKED_RUNS);
    // The part tells how the latest start stands; earlier ones still running are counted beside it.
    std::string text = latestText_;
    if (others > 0) text += " (" + std::to_string(others) + " more running)";
    if (!text.empty()) showConsoleStatus(text);
}

void Runs::showConsoleStatus(const std::string& text) {
    if (text == consoleStatus_) return;
    consoleStatus_ = text;
    showRunStatus(text);
}

void Runs::windowClosed(RunWindow* window) {
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                  [&](const std::unique_ptr<RunWindow>& w) { return w.get() == window; }),
                   windows_.end());
}

std::size_t Runs::runsGoing() const {
    std::size_t count = 0;
    for (const auto& window : windows_) {
        if (window->running()) ++count;
    }
    for (const ConsoleRun& run : consoleRuns_) {
        if (run.run.consoleOpt == kHideConsole && WaitForSingleObject(run.process, 0) != WAIT_OBJECT_0) ++count;
    }
    return count;
}

bool Runs::confirmExit() {
    const std::size_t going = runsGoing();
    if (going > 0) {
        const std::string text = going == 1 ? "A program started from here is still running.\n\nStop it and exit?"
                                            : std::to_string(going) +
                                                  " programs started from here are still running.\n\nStop them and "
                                                  "exit?";
        const int answer = boxes_->show(text, "Exit", kMbOkCancel | kMbIconQuestion | kMbDefButton2);
        if (answer != kIdOk) return false;
    }
    stopAll();
    return true;
}

void Runs::stopAll() {
    // Each window reports its run as stopped and goes; a copy, as closing changes the list.
    std::vector<RunWindow*> open;
    for (const auto& window : windows_) open.push_back(window.get());
    for (RunWindow* window : open) window->closeNow();
    for (ConsoleRun& run : consoleRuns_) {
        if (run.run.consoleOpt != kHideConsole || WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0) continue;
        TerminateProcess(run.process, 1);
        WaitForSingleObject(run.process, 2000);
        if (events_ != nullptr && run.eventId != 0) events_->runEnded(run.eventId, describeExit(RunEnd{1, true}));
    }
    for (ConsoleRun& run : consoleRuns_) CloseHandle(run.process);
    consoleRuns_.clear();
}

void Runs::runAgain(const StartedRun& run) {
    if (boxes_ != nullptr) launchRun(run, *this, *boxes_);
}

void Runs::runEnded(RunWindow& window, const std::string& outcome) {
    if (events_ != nullptr && window.eventId != 0) events_->runEnded(window.eventId, outcome);
}

void Runs::windowGone(RunWindow& window) {
    // Freed once the window's own message handling has returned.
    PostMessageW(main_, WM_BRENNIC_RUN_CLOSED, 0, reinterpret_cast<LPARAM>(&window));
}

}  // namespace brennic
