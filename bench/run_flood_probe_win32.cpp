// Times a flood of output through the run window: a program writes MiB of text lines as fast as it can, once to
// NUL and then in Brennic's run window, while a second thread keeps sending the run window a message and times
// each answer. Reads Brennic's peak working set after each run.
//
//   run_flood_probe BRENNIC_EXE TALKER_EXE ROUNDS MIB [MIB...]
//
// Writes prog.vx beside BRENNIC_EXE (the talker in its folder "Talker", one entry whose manual arguments are
// the talker's steps), then prints one line per measurement on standard output:
//   nul <MiB> <milliseconds>
//   window <MiB> <milliseconds> <answers> <median answer ms> <99th percentile ms> <slowest ms> <peak working set KiB>
// ROUNDS rounds of the first size (each round once to NUL, once in the window), then each further size once.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "description/config_writer.h"
#include "resource_ids.h"

namespace {

using brennic::ActionEntry;
using brennic::ActionList;
using brennic::ManualSpec;
using brennic::ProgramDescription;

double nowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/")); }

bool writeConfig(const std::string& brennic, const std::string& talker) {
    ProgramDescription d;
    d.header.version = 5;
    d.texts = {"talker.exe", "Talker", "Version 1.0", "Bench", "Bench", "bench@example.org"};
    ActionList list;
    list.label = "Action";
    list.entries = {0};
    d.lists = {list};
    ActionEntry talk;
    talk.caption = "Talk";
    talk.actionText = "say:start";
    talk.actionPosition = 1;
    talk.flags = 1u << 4;
    talk.manualSpec = 0;
    talk.manualPosition = 2;  // the steps after the action text
    d.actions = {talk};
    d.manualSpecs = {ManualSpec{"Steps", "Steps"}};
    brennic::rawFromTables(d);
    const std::vector<std::uint8_t> bytes = brennic::writeConfig(d);
    const std::string folder = folderOf(brennic);
    std::FILE* file = std::fopen((folder + "\\prog.vx").c_str(), "wb");
    if (file == nullptr) return false;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    CreateDirectoryA((folder + "\\Talker").c_str(), nullptr);
    return CopyFileA(talker.c_str(), (folder + "\\Talker\\talker.exe").c_str(), FALSE) != FALSE;
}

double floodToNul(const std::string& talker, unsigned mib) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    std::string line = "\"" + talker + "\" flood:" + std::to_string(mib);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const double begin = nowMs();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    const double took = nowMs() - begin;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(nul);
    return took;
}

struct Search {
    DWORD process;
    HWND owner;
    int control;
    std::vector<HWND> found;
};

std::vector<HWND> windowsOf(DWORD process, HWND owner, int control) {
    Search search{process, owner, control, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            if (id == s->process && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->owner &&
                (s->control == 0 || GetDlgItem(window, s->control) != nullptr))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND childWith(HWND parent, int control) {
    std::pair<int, HWND> search{control, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* f = reinterpret_cast<std::pair<int, HWND>*>(parameter);
            if (GetDlgItem(window, f->first) == nullptr) return TRUE;
            f->second = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs) {
    const ULONGLONG begin = GetTickCount64();
    while (!condition()) {
        if (GetTickCount64() - begin > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

bool floodInWindow(HANDLE brennic, DWORD brennicId, HWND main, unsigned mib) {
    HWND page = childWith(main, IDC_MANUAL1);
    if (page == nullptr) return false;
    HWND combo = GetDlgItem(page, IDC_ACTION1);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_ACTION1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    const std::string steps = "flood:" + std::to_string(mib);
    SendMessageA(GetDlgItem(page, IDC_MANUAL1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(steps.c_str()));
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDCMD_OUTPUT_WINDOW, 0), 0);

    const double begin = nowMs();
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDCMD_START, 0), 0);
    HWND run = nullptr;
    if (!waitFor([&] {
            const auto found = windowsOf(brennicId, main, IDC_RUN_OUTPUT);
            if (!found.empty()) run = found.front();
            return run != nullptr;
        },
                 20000))
        return false;
    std::atomic<bool> done{false};
    std::vector<double> answers;
    std::thread pinger([&] {
        while (!done) {
            const double sent = nowMs();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(run, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            answers.push_back(nowMs() - sent);
            Sleep(10);
        }
    });
    const bool ended = waitFor([&] { return IsWindowEnabled(GetDlgItem(run, IDC_RUN_STOP)) == FALSE; }, 600000);
    const double took = nowMs() - begin;
    done = true;
    pinger.join();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(brennic, &memory, sizeof memory);
    std::printf("window %u %.1f %zu %.2f %.2f %.2f %zu\n", mib, took, answers.size(), percentile(answers, 0.5),
                percentile(answers, 0.99), percentile(answers, 1.0), memory.PeakWorkingSetSize / 1024);
    std::fflush(stdout);
    PostMessageA(run, WM_COMMAND, MAKEWPARAM(IDC_RUN_CLOSE, BN_CLICKED), 0);
    waitFor([&] { return IsWindow(run) == FALSE; }, 20000);
    return ended;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: run_flood_probe BRENNIC_EXE TALKER_EXE ROUNDS MIB [MIB...]\n");
        return 2;
    }
    const std::string brennicExe = argv[1], talker = argv[2];
    const int rounds = std::atoi(argv[3]);
    std::vector<unsigned> sizes;
    for (int i = 4; i < argc; ++i) sizes.push_back(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
    if (!writeConfig(brennicExe, talker)) {
        std::fprintf(stderr, "cannot prepare %s\n", folderOf(brennicExe).c_str());
        return 1;
    }

    std::string line = "\"" + brennicExe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folderOf(brennicExe).c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s\n", brennicExe.c_str());
        return 1;
    }
    HWND main = nullptr;
    waitFor([&] {
        const auto found = windowsOf(process.dwProcessId, nullptr, IDC_TABS);
        if (!found.empty()) main = found.front();
        return main != nullptr && childWith(main, IDC_MANUAL1) != nullptr;
    },
            20000);
    int status = main != nullptr ? 0 : 1;
    for (int round = 0; status == 0 && round < rounds; ++round) {
        std::printf("nul %u %.1f\n", sizes[0], floodToNul(talker, sizes[0]));
        std::fflush(stdout);
        if (!floodInWindow(process.hProcess, process.dwProcessId, main, sizes[0])) status = 1;
    }
    for (std::size_t i = 1; status == 0 && i < sizes.size(); ++i) {
        if (!floodInWindow(process.hProcess, process.dwProcessId, main, sizes[i])) status = 1;
    }
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}
