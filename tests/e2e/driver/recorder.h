// A program that records how it was started (the demo program): put it where the program under test will
// start something (as explorer.exe beside brennic.exe, as the described program) and read what it received.
#pragma once

#include <string>
#include <vector>

namespace brennic::e2e {

struct RecordedRun {
    std::string commandLine;
    std::string directory;
    std::vector<std::string> arguments;  // as its C runtime split them, arguments[0] the program
};

// Copies the recorder to `path` (creating folders) and makes programs started from now on record into
// `recordFile`, which is emptied.
bool installRecorder(const std::string& path, const std::string& recordFile);
// The recorder in the place of explorer.exe in the Windows folder, where Brennic starts explorer from, for the
// life of this object; the real one is put back afterwards. Only the test's own Wine prefix allows this:
// Windows protects its explorer.exe, and available() is false there.
class SystemExplorerStandIn {
public:
    explicit SystemExplorerStandIn(const std::string& recordFile);
    ~SystemExplorerStandIn();
    SystemExplorerStandIn(const SystemExplorerStandIn&) = delete;
    SystemExplorerStandIn& operator=(const SystemExplorerStandIn&) = delete;

    bool available() const { return installed_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string kept_;
    bool installed_ = false;
};

// The runs recorded so far.
std::vector<RecordedRun> recordedRuns(const std::string& recordFile);
// Waits until at least `count` runs are recorded; all runs recorded then.
std::vector<RecordedRun> waitForRuns(const std::string& recordFile, std::size_t count);

}  // namespace brennic::e2e
