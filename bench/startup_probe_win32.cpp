// Times program start-up: from CreateProcess until the program's main window is visible and the program waits
// for input, then reads the process's peak working set and ends it.
//
//   startup_probe RUNS COMMAND_LINE...
//
// The command lines are started in turn, RUNS rounds; one line per run on standard output:
//   <command index> <milliseconds> <peak working set in KiB> <main window title>
// Exit status 1 when a run fails (the program did not start, did not show a window within 20 s, or
// ended on its own).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool runOnce(std::size_t index, const std::string& commandLine) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return false;
    }
    bool shown = false;
    Search search{process.dwProcessId, nullptr};
    for (;;) {
        const DWORD idle = WaitForInputIdle(process.hProcess, 20000);
        if (idle == WAIT_FAILED || idle == WAIT_TIMEOUT) break;
        search.found = nullptr;
        EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.found != nullptr) {
            shown = true;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
        if (milliseconds(start, now, frequency) > 20000) break;
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const bool measured = GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory) != 0;
    char title[256] = "";
    if (shown) GetWindowTextA(search.found, title, sizeof title);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!shown) {
        std::fprintf(stderr, "no window from %s\n", commandLine.c_str());
        return false;
    }
    std::printf("%u %.2f %llu %s\n", static_cast<unsigned>(index), milliseconds(start, now, frequency),
                measured ? static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024) : 0ull, title);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe RUNS COMMAND_LINE...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    for (int round = 0; round < runs; ++round)
        for (int i = 2; i < argc; ++i)
            if (!runOnce(static_cast<std::size_t>(i - 2), argv[i])) return 1;
    return 0;
}
