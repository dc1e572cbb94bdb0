// What happens to a started program, told to whoever keeps a record of runs (the recent runs), and the record
// of one start, which is enough to start exactly the same command again.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace brennic {

struct StartedRun {
    ShellRequest request;          // exactly what was started: file, parameters, folder, show command
    std::uint32_t consoleOpt = 0;  // the console mode it was started in
    std::string line;              // the command line as the preview and "Copy command line" show it
    std::int64_t startedAt = 0;    // seconds since 1970-01-01 UTC
    bool operator==(const StartedRun&) const = default;
};

class RunEvents {
public:
    virtual ~RunEvents() = default;
    // A start succeeded. Returns the id that runEnded will name, or 0 when its end will not be reported.
    virtual std::uint64_t runStarted(const StartedRun& run) = 0;
    // A run whose end Brennic follows has ended; `outcome` says how, in words ("exit code 0", "Stopped", ...).
    virtual void runEnded(std::uint64_t id, const std::string& outcome) = 0;
};

}  // namespace brennic
