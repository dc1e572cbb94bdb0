// A program that records how it was started.
#include "driver/recorder.h"

#include <windows.h>

#include <sstream>

#include "driver/app.h"
#include "driver/workspace.h"

namespace brennic::e2e {

bool installRecorder(const std::string& path, const std::string& recordFile) {
    DeleteFileA(recordFile.c_str());
    SetEnvironmentVariableA("BRENNIC_DEMO_RECORD", recordFile.c_str());
    return copyFile(builtProgram("brennic-demo.exe"), path);
}

namespace {

bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

SystemExplorerStandIn::SystemExplorerStandIn(const std::string& recordFile) {
    char folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !underWine()) return;
    path_ = std::string(folder, length) + "\\explorer.exe";
    kept_ = path_ + ".e2e-kept";
    // A run that was stopped may have left the stand-in in place with the real one kept aside.
    if (GetFileAttributesA(kept_.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !MoveFileExA(path_.c_str(), kept_.c_str(), MOVEFILE_REPLACE_EXISTING))
        return;
    installed_ = installRecorder(path_, recordFile);
}

SystemExplorerStandIn::~SystemExplorerStandIn() {
    if (kept_.empty()) return;
    MoveFileExA(kept_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::vector<RecordedRun> recordedRuns(const std::string& recordFile) {
    std::vector<RecordedRun> runs;
    std::istringstream in(readFile(recordFile));
    std::string line;
    RecordedRun run;
    while (std::getline(in, line)) {
        if (line == "run") {
            run = RecordedRun{};
        } else if (line == "end") {
            runs.push_back(run);
        } else if (line.rfind("cmdline=", 0) == 0) {
            run.commandLine = line.substr(8);
        } else if (line.rfind("cwd=", 0) == 0) {
            run.directory = line.substr(4);
        } else if (line.rfind("arg", 0) == 0 && line.find('=') != std::string::npos && line.rfind("argc=", 0) != 0) {
            run.arguments.push_back(line.substr(line.find('=') + 1));
        }
    }
    return runs;
}

std::vector<RecordedRun> waitForRuns(const std::string& recordFile, std::size_t count) {
    const DWORD started = GetTickCount();
    std::vector<RecordedRun> runs = recordedRuns(recordFile);
    while (runs.size() < count && GetTickCount() - started < kWaitMs) {
        Sleep(20);  // polling step of a bounded wait
        runs = recordedRuns(recordFile);
    }
    return runs;
}

}  // namespace brennic::e2e
