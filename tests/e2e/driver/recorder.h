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
// The runs recorded so far.
std::vector<RecordedRun> recordedRuns(const std::string& recordFile);
// Waits until at least `count` runs are recorded; all runs recorded then.
std::vector<RecordedRun> waitForRuns(const std::string& recordFile, std::size_t count);

}  // namespace brennic::e2e
