// The recent runs and their file.
#include "persist/recent_runs.h"

#include <algorithm>
#include <optional>

#include "persist/file_store.h"
#include "persist/record_file.h"
#include "platform/text.h"

namespace brennic {

namespace {

constexpr std::uint32_t kLastConsoleMode = 3;

}  // namespace

std::string encodeRecentRuns(const std::vector<RecentRun>& runs) {
    ByteWriter out;
    const std::size_t count = std::min(runs.size(), kMaxRecentRuns);
    out.u16(static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const RecentRun& entry = runs[i];
        out.i64(entry.run.startedAt);
        out.u32(entry.run.consoleOpt);
        out.u32(static_cast<std::uint32_t>(entry.run.request.showCommand));
        out.text32(entry.run.request.verb);
        out.text32(entry.run.request.file);
        out.text32(entry.run.request.parameters);
        out.text32(entry.run.request.directory);
        out.text32(entry.run.line);
        out.text32(entry.outcome);
    }
    return sealRecordFile(kRecentRunsKind, kRecentRunsVersion, out.bytes());
}

DecodedRecentRuns decodeRecentRuns(std::string_view bytes) {
    DecodedRecentRuns result;
    const OpenedRecordFile opened = openRecordFile(bytes, kRecentRunsKind, kRecentRunsVersion);
    if (!opened.problem.empty()) {
        result.problem = opened.problem;
        return result;
    }
    ByteReader in(opened.payload);
    const std::uint16_t count = in.u16();
    if (count > kMaxRecentRuns) {
        result.problem = "it holds more than " + std::to_string(kMaxRecentRuns) + " runs";
        return result;
    }
    std::vector<RecentRun> runs;
    for (std::uint16_t i = 0; i < count && in.ok(); ++i) {
        RecentRun entry;
        entry.run.startedAt = in.i64();
        entry.run.consoleOpt = in.u32();
        entry.run.request.showCommand = static_cast<int>(in.u32());
        std::string* texts[] = {&entry.run.request.verb,      &entry.run.request.file, &entry.run.request.parameters,
                                &entry.run.request.directory, &entry.run.line,         &entry.outcome};
        for (std::string* text : texts) *text = std::string(in.text32());
        if (!in.ok()) break;
        const bool textsValid =
            std::all_of(std::begin(texts), std::end(texts), [](const std::string* text) { return isUtf8(*text); });
        if (entry.run.consoleOpt > kLastConsoleMode || !textsValid || entry.run.request.file.empty()) {
            result.problem = "run " + std::to_string(i + 1) + " is not one Brennic writes";
            return result;
        }
        runs.push_back(std::move(entry));
    }
    if (!in.ok() || !in.atEnd()) {
        result.problem = "its list of runs is cut short or has bytes added";
        return result;
    }
    result.runs = std::move(runs);
    return result;
}

std::string consoleModeWords(std::uint32_t consoleOpt) {
    switch (consoleOpt) {
        case 0: return "console hidden";
        case 1: return "console shown";
        case 2: return "console held";
        case 3: return "output window";
        default: return "mode " + std::to_string(consoleOpt);
    }
}

namespace {

// A long line keeps its start (the program) and its end (the arguments, which tell runs apart).
std::string shortened(const std::string& line, std::size_t width) {
    if (utf16Length(line) <= width) return line;
    const std::size_t headUnits = width / 3;
    const std::string_view head = cutToUtf16Length(line, headUnits);
    const std::size_t tailUnits = width - utf16Length(head);
    std::size_t from = head.size();
    while (from < line.size() && utf16Length(std::string_view(line).substr(from)) > tailUnits) {
        nextCodePoint(line, from);
    }
    return std::string(head) + "..." + line.substr(from);
}

}  // namespace

std::string recentRunCaption(const RecentRun& run, const std::string& timeText, std::size_t width) {
    const std::string line =
        shortened(run.run.line.empty() ? run.run.request.file + ' ' + run.run.request.parameters : run.run.line, width);
    std::string caption = timeText + "   " + line + "   (" + consoleModeWords(run.run.consoleOpt);
    if (!run.outcome.empty()) caption += ", " + run.outcome;
    caption += ')';
    std::string escaped;
    for (char c : caption) {
        if (c == '&') escaped += '&';
        escaped += c == '\t' ? ' ' : c;
    }
    return escaped;
}

RecentRuns::State RecentRuns::open(const std::string& path) {
    path_ = path;
    runs_.clear();
    ids_.clear();
    problem_.clear();
    state_ = State::kReady;
    const std::optional<std::string> bytes = files_.read(path, kRecordFileReadLimit + 1);
    if (!bytes) return state_;
    DecodedRecentRuns decoded = bytes->size() > kRecordFileReadLimit
                                    ? DecodedRecentRuns{"it is larger than a runs file can be", {}}
                                    : decodeRecentRuns(*bytes);
    if (!decoded.problem.empty()) {
        problem_ = std::move(decoded.problem);
        state_ = State::kDamaged;
        return state_;
    }
    runs_ = std::move(decoded.runs);
    ids_.assign(runs_.size(), 0);
    return state_;
}

std::uint64_t RecentRuns::runStarted(const StartedRun& run) {
    const std::uint64_t id = nextId_++;
    // Newest first; the oldest drops off once the list is full.
    std::vector<RecentRun> runs{RecentRun{run, {}}};
    std::vector<std::uint64_t> ids{id};
    for (std::size_t i = 0; i < runs_.size() && runs.size() < kMaxRecentRuns; ++i) {
        runs.push_back(runs_[i]);
        ids.push_back(ids_[i]);
    }
    runs_ = std::move(runs);
    ids_ = std::move(ids);
    write();
    return id;
}

void RecentRuns::runEnded(std::uint64_t id, const std::string& outcome) {
    if (id == 0) return;
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    if (found == ids_.end()) return;  // dropped off the list meanwhile
    runs_[static_cast<std::size_t>(found - ids_.begin())].outcome = validUtf8(outcome);
    write();
}

bool RecentRuns::clear() {
    runs_.clear();
    ids_.clear();
    write();
    return !lastWriteFailed_;
}

bool RecentRuns::discardDamaged() {
    if (state_ != State::kDamaged || !files_.remove(path_)) return false;
    state_ = State::kReady;
    problem_.clear();
    write();
    return true;
}

void RecentRuns::write() {
    // A damaged file stays as the user last saw it; without a path (no description) nothing is kept on disk.
    if (state_ != State::kReady || path_.empty()) return;
    lastWriteFailed_ = !writeFileAtomically(files_, path_, encodeRecentRuns(runs_));
}

}  // namespace brennic
