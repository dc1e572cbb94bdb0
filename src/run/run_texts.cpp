// How a run stands and ended, in words.
#include "run/run_texts.h"

#include <cstdio>

namespace brennic {

namespace {

struct CrashCode {
    std::uint32_t code;
    const char* name;
};

// The crash codes a user is likely to meet, with the names their documentation gives them.
constexpr CrashCode kCrashCodes[] = {
    {0xC0000005u, "access violation"},
    {0xC0000006u, "in-page error"},
    {0xC0000008u, "invalid handle"},
    {0xC0000017u, "no memory"},
    {0xC000001Du, "illegal instruction"},
    {0xC0000025u, "noncontinuable exception"},
    {0xC000007Bu, "invalid image format"},
    {0xC000008Eu, "floating-point divide by zero"},
    {0xC0000094u, "integer divide by zero"},
    {0xC0000095u, "integer overflow"},
    {0xC0000096u, "privileged instruction"},
    {0xC00000FDu, "stack overflow"},
    {0xC0000135u, "DLL not found"},
    {0xC0000139u, "entry point not found"},
    {0xC000013Au, "control-C exit"},
    {0xC0000142u, "DLL initialization failed"},
    {0xC0000374u, "heap corruption"},
    {0xC0000409u, "stack buffer overrun"},
};

constexpr const char* kEmDash = "\xE2\x80\x94";

}  // namespace

const char* crashName(std::uint32_t exitCode) {
    for (const CrashCode& crash : kCrashCodes) {
        if (crash.code == exitCode) return crash.name;
    }
    return "";
}

std::string describeExit(std::uint32_t exitCode, bool stopped) {
    if (stopped) return "Stopped";
    char text[64];
    if (exitCode >= 0xC0000000u && exitCode != 0xFFFFFFFFu) {
        const char* name = crashName(exitCode);
        if (*name != '\0') {
            std::snprintf(text, sizeof text, "0x%08X (%s)", static_cast<unsigned>(exitCode), name);
        } else {
            std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(exitCode));
        }
        return text;
    }
    // Read as signed 32-bit, the way programs return their codes.
    const long long value = exitCode >= 0x80000000u ? static_cast<long long>(exitCode) - 0x100000000LL
                                                     : static_cast<long long>(exitCode);
    std::snprintf(text, sizeof text, "exit code %lld", value);
    return text;
}

bool endedWell(const RunEnd& end) { return !end.stopped && end.exitCode == 0; }

std::string durationText(std::uint64_t milliseconds) {
    const unsigned long long ms = milliseconds;
    const unsigned long long seconds = ms / 1000;
    char text[64];
    if (seconds < 10) {
        std::snprintf(text, sizeof text, "%llu.%llu s", seconds, (ms / 100) % 10);
    } else if (seconds < 60) {
        std::snprintf(text, sizeof text, "%llu s", seconds);
    } else if (seconds < 3600) {
        std::snprintf(text, sizeof text, "%llu min %02llu s", seconds / 60, seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%llu h %02llu min", seconds / 3600, (seconds / 60) % 60);
    }
    return text;
}

std::string runningStatus(std::uint64_t elapsedMs) { return "Running, " + durationText(elapsedMs); }

std::string endedStatus(const RunEnd& end, std::uint64_t durationMs) {
    return describeExit(end) + ", " + durationText(durationMs);
}

std::string runTitle(const std::string& programName, bool running, const RunEnd& end) {
    const std::string name = programName.empty() ? std::string("Brennic") : programName;
    return name + ' ' + kEmDash + ' ' + (running ? std::string("running") : describeExit(end));
}

std::string programNameForTitle(const std::string& executable) {
    const std::size_t slash = executable.find_last_of("\\/");
    std::string name = slash == std::string::npos ? executable : executable.substr(slash + 1);
    if (name.size() > 4) {
        std::string extension = name.substr(name.size() - 4);
        for (char& c : extension) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        if (extension == ".exe") name.resize(name.size() - 4);
    }
    return name;
}

}  // namespace brennic
