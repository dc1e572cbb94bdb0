// The driver's entry: options, the workspace, running the registered cases.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "driver/app.h"
#include "driver/e2e.h"
#include "driver/workspace.h"

namespace brennic::e2e {

namespace {

int g_failures = 0;
std::vector<std::string> g_notes;

// A case that runs this long is stuck (every wait in it is bounded far below this): the watchdog ends the
// programs it started, which frees a driver blocked on one of their windows, and the case fails. A call into
// a program that has stopped (Wine runs CreateRemoteThread and VirtualAllocEx through the target process) is
// not freed by ending the program; when the case has not ended kReleaseMs later, the watchdog ends the driver.
constexpr DWORD kCaseLimitMs = 90000;
constexpr DWORD kReleaseMs = 60000;

struct Watchdog {
    HANDLE wake = nullptr;     // signalled when a case starts or ends
    HANDLE released = nullptr;  // signalled when a case ends
    std::atomic<bool> armed{false};
    std::atomic<bool> fired{false};
    std::atomic<DWORD> started{0};
    const char* name = "";
    bool endProcess = false;  // nothing to free by ending programs: end the driver instead
};

Watchdog g_watchdog;

DWORD WINAPI watch(void*) {
    for (;;) {
        if (!g_watchdog.armed) {
            WaitForSingleObject(g_watchdog.wake, INFINITE);
            continue;
        }
        const DWORD elapsed = GetTickCount() - g_watchdog.started;
        if (elapsed < kCaseLimitMs) {
            WaitForSingleObject(g_watchdog.wake, kCaseLimitMs - elapsed);
            continue;
        }
        g_watchdog.armed = false;
        g_watchdog.fired = true;
        std::printf("  watchdog: %s still runs after %lu s; ending what it started\n", g_watchdog.name,
                    static_cast<unsigned long>(kCaseLimitMs / 1000));
        std::fflush(stdout);
        terminateAllApps();
        if (g_watchdog.endProcess || WaitForSingleObject(g_watchdog.released, kReleaseMs) != WAIT_OBJECT_0) {
            std::printf("  watchdog: %s; ending the run\n",
                        g_watchdog.endProcess ? "nothing else to end" : "the driver is still held by a call into an ended program");
            std::fflush(stdout);
            ExitProcess(3);
        }
    }
}

void armWatchdog(const char* name, bool endProcess = false) {
    g_watchdog.name = name;
    g_watchdog.endProcess = endProcess;
    g_watchdog.fired = false;
    g_watchdog.started = GetTickCount();
    ResetEvent(g_watchdog.released);
    g_watchdog.armed = true;
    SetEvent(g_watchdog.wake);
}

// True when the watchdog had to end the case.
bool disarmWatchdog() {
    g_watchdog.armed = false;
    SetEvent(g_watchdog.released);
    SetEvent(g_watchdog.wake);
    return g_watchdog.fired;
}

std::string baseName(const char* path) {
    std::string text(path);
    const auto slash = text.find_last_of("/\\");
    if (slash != std::string::npos) text = text.substr(slash + 1);
    const auto dot = text.rfind('.');
    return dot == std::string::npos ? text : text.substr(0, dot);
}

}  // namespace

std::vector<TestCase>& testCases() {
    static std::vector<TestCase> cases;
    return cases;
}

void fail(const char* file, int line, const std::string& message) {
    ++g_failures;
    std::printf("  %s:%d: %s\n", file, line, message.c_str());
    std::fflush(stdout);
}

void note(const std::string& message) { g_notes.push_back(message); }

}  // namespace brennic::e2e

int main(int argc, char** argv) {
    using namespace brennic::e2e;
    // Plain "\n" line ends: the output goes straight to a log through a pipe.
    _setmode(_fileno(stdout), _O_BINARY);
    std::string onlyFile;
    std::string onlyTest;
    WorkspaceSettings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--exe") settings.brennicExe = value;
        else if (option == "--work") settings.workDir = value;
        else if (option == "--data") settings.dataDir = value;
        else if (option == "--file") onlyFile = value;
        else if (option == "--test") onlyTest = value;
        else {
            std::printf("unknown option %s\n", option.c_str());
            return 2;
        }
    }
    g_watchdog.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_watchdog.released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE watchdog = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
    if (g_watchdog.wake == nullptr || g_watchdog.released == nullptr || watchdog == nullptr) {
        std::printf("cannot start the watchdog thread\n");
        return 2;
    }
    armWatchdog("preparing the workspace", true);
    const bool prepared = initWorkspace(settings);
    if (disarmWatchdog() || !prepared) {
        std::printf("cannot prepare the workspace in %s\n", settings.workDir.c_str());
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const TestCase& test : testCases()) {
        if (!onlyFile.empty() && baseName(test.file) != onlyFile) continue;
        if (!onlyTest.empty() && onlyTest != test.name) continue;
        g_failures = 0;
        g_notes.clear();
        const DWORD started = GetTickCount();
        std::printf("[ RUN  ] %s\n", test.name);
        std::fflush(stdout);
        armWatchdog(test.name);
        try {
            test.function();
        } catch (const TestAbort&) {
        } catch (const std::exception& error) {
            fail(test.file, 0, std::string("exception: ") + error.what());
        }
        if (disarmWatchdog()) fail(test.file, 0, "the case was stuck and was ended by the watchdog");
        endAllApps();
        const DWORD elapsed = GetTickCount() - started;
        if (g_failures == 0) {
            ++passed;
            std::printf("[  OK  ] %s (%lu ms)\n", test.name, static_cast<unsigned long>(elapsed));
        } else {
            ++failed;
            for (const std::string& text : g_notes) std::printf("  note: %s\n", text.c_str());
            std::printf("[ FAIL ] %s (%lu ms)\n", test.name, static_cast<unsigned long>(elapsed));
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
