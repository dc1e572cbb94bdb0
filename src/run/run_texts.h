// How a run stands and ended, in words for the run window, its title, the log and the recent runs.
#pragma once

#include <cstdint>
#include <string>

namespace brennic {

// The end of a run as the platform reports it.
struct RunEnd {
    std::uint32_t exitCode = 0;  // the process exit code, as the platform gives it (unsigned 32-bit)
    bool stopped = false;        // the user stopped the run
    bool operator==(const RunEnd&) const = default;
};

// "Stopped" when the user stopped the run. Otherwise the code read as signed 32-bit: "exit code N" in decimal
// (0xFFFFFFFF is "exit code -1"); a crash (an NTSTATUS error, 0xC0000000 and above, other than -1) shows its
// code in hex with its name when it is a common one, "0xC0000005 (access violation)", else "0xC0000135 ...".
std::string describeExit(std::uint32_t exitCode, bool stopped);
inline std::string describeExit(const RunEnd& end) { return describeExit(end.exitCode, end.stopped); }

// The name of a common crash code ("access violation", "stack overflow", ...); empty when none is known.
const char* crashName(std::uint32_t exitCode);

// True for an end that counts as success: exit code 0, not stopped.
bool endedWell(const RunEnd& end);

// A duration: "0.4 s" below 10 seconds (tenths, cut not rounded), "12 s" below a minute, "3 min 05 s" below
// an hour, "1 h 02 min" from there.
std::string durationText(std::uint64_t milliseconds);

// The run window's status line: "Running, 12 s" while it runs, "exit code 0, 1.2 s" after.
std::string runningStatus(std::uint64_t elapsedMs);
std::string endedStatus(const RunEnd& end, std::uint64_t durationMs);

// The run window's title: the program's name, then how the run stands ("xcopy — running",
// "xcopy — exit code 0", "xcopy — Stopped"). An empty name gives "Brennic".
std::string runTitle(const std::string& programName, bool running, const RunEnd& end);

// The name for the title from the described program's executable: its file name without folder and
// without an ".exe" extension ("C:\Tools\xcopy.exe" gives "xcopy").
std::string programNameForTitle(const std::string& executable);

}  // namespace brennic
