// The recent runs: the last commands Brennic started, newest first, each exactly as it was started so that it
// can be started again, with how it ended where Brennic followed it. Kept in `<stem>.runs` beside the save file.
//
// The file is a record file of kind "RUNS", version 1 (see record_file.h); its payload:
//   count u16 (at most 20), then per run, newest first:
//     started      i64, seconds since 1970-01-01 UTC
//     console mode u32 (0 hide, 1 show, 2 hold, 3 output window)
//     show command u32
//     verb, file, parameters, folder, line, outcome: each u32 length + UTF-8 (outcome empty: not known)
// A file that breaks any of this is refused whole and kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "launch/run_events.h"

namespace brennic {

class FileStore;

inline constexpr std::string_view kRecentRunsKind = "RUNS";
inline constexpr std::uint16_t kRecentRunsVersion = 1;
inline constexpr std::size_t kMaxRecentRuns = 20;

struct RecentRun {
    StartedRun run;
    std::string outcome;  // how it ended, in words; empty while not known
    bool operator==(const RecentRun&) const = default;
};

std::string encodeRecentRuns(const std::vector<RecentRun>& runs);

struct DecodedRecentRuns {
    std::string problem;  // empty when the file was taken whole
    std::vector<RecentRun> runs;
};
DecodedRecentRuns decodeRecentRuns(std::string_view bytes);

// The console mode in a few words, for the menu and the confirmation.
std::string consoleModeWords(std::uint32_t consoleOpt);

// One menu line: the time (formatted by the caller, in local time), the mode, the command line shortened to
// about `width` characters, and how it ended; '&' doubled so the menu shows it.
std::string recentRunCaption(const RecentRun& run, const std::string& timeText, std::size_t width = 60);

// Records runs as they start and end, and keeps the file up to date. A damaged file is not written over: runs
// are then kept for this session only, until the user lets the file be removed.
class RecentRuns : public RunEvents {
public:
    enum class State { kNone, kReady, kDamaged };

    explicit RecentRuns(FileStore& files) : files_(files) {}

    State open(const std::string& path);
    State state() const { return state_; }
    const std::string& path() const { return path_; }
    const std::string& problem() const { return problem_; }
    const std::vector<RecentRun>& runs() const { return runs_; }
    bool lastWriteFailed() const { return lastWriteFailed_; }

    std::uint64_t runStarted(const StartedRun& run) override;
    void runEnded(std::uint64_t id, const std::string& outcome) override;

    // Empties the list and the file. False when the file could not be written (the list is emptied anyway).
    bool clear();
    bool discardDamaged();

private:
    void write();

    FileStore& files_;
    State state_ = State::kNone;
    std::string path_;
    std::string problem_;
    std::vector<RecentRun> runs_;
    std::vector<std::uint64_t> ids_;  // the run id of each entry of runs_, 0 for runs of earlier sessions
    std::uint64_t nextId_ = 1;
    bool lastWriteFailed_ = false;
};

}  // namespace brennic
