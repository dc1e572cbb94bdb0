// The processes Brennic starts and follows: a program started through the shell with its process kept, and a
// program whose output comes back on a pipe, in a job that takes its whole tree with it; the thread that reads
// such a pipe and hands what it reads to the GUI thread.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

#include "platform/platform.h"

namespace brennic {

// The system's words for an error code (FormatMessageW), without the line end; "Error N" when it has none.
std::string systemErrorText(DWORD code);

struct ShellStart {
    bool started = false;
    DWORD error = 0;           // when not started
    HANDLE process = nullptr;  // the caller's to close; none when the shell handed the file to a running program
};

// ShellExecuteExW with the values ShellExecute would receive, keeping the started process. The shell shows
// no error box of its own: the caller reports a failure.
ShellStart shellStart(const ShellRequest& request);

// The program itself: command line `"file" parameters`, started in its folder with no console window, its
// standard output and standard error on one pipe (so they interleave as written), standard input NUL, and
// nothing else inherited. It runs in a job that ends with this object: nothing it started outlives it.
class PipedProcess {
public:
    PipedProcess() = default;
    ~PipedProcess();
    PipedProcess(const PipedProcess&) = delete;
    PipedProcess& operator=(const PipedProcess&) = delete;

    // False and the system's error code when it could not be started.
    bool start(const ShellRequest& request, const std::string& commandLine, DWORD& error);
    // The pipe's read end, handed over once (the reader owns it from there).
    HANDLE takeOutput();
    HANDLE process() const { return process_; }
    DWORD id() const { return id_; }
    // Ends every process of the job: the program and everything it started.
    void stop();
    // True once the program has ended; its exit code then.
    bool ended(DWORD& exitCode) const;

private:
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;
    DWORD id_ = 0;
};

// A thread that only reads a pipe. What it reads waits in a small queue; while the queue holds anything, one
// message (`message`, posted to `target`) is on its way, so a flood of output never floods the message queue.
// When the GUI thread falls behind, the reader waits, and the program waits on its full pipe.
class PipeReader {
public:
    PipeReader(HANDLE pipe, HWND target, UINT message);
    ~PipeReader();  // ends the thread (a pending read is cancelled) and closes the pipe
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    bool running() const { return thread_ != nullptr; }
    // Up to `limit` bytes of what was read, in order. `more` tells that bytes are left: the caller handles
    // them in a later turn (and posts itself the message again), so the window stays responsive.
    std::string take(std::size_t limit, bool& more);
    // The pipe has ended (every writer closed it) and everything read has been taken.
    bool finished();

private:
    static DWORD WINAPI threadMain(void* self);
    void readLoop();

    HANDLE pipe_;
    HWND target_;
    UINT message_;
    HANDLE thread_ = nullptr;
    std::mutex lock_;
    std::condition_variable room_;
    std::deque<std::string> queue_;
    std::size_t queuedBytes_ = 0;
    bool posted_ = false;
    bool ended_ = false;
    bool stopping_ = false;
};

}  // namespace brennic
