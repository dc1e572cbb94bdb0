// One run as the run window shows it: raw output bytes in; the kept text, its incremental updates for a
// read-only multi-line EDIT control, the reading switch, the progress, the status and the title out. The
// Win32 side feeds it on the GUI thread and applies what it gives; it keeps no text of its own.
//
// Bounds: the window keeps the latest kMaxKeptLines lines and at most kMaxKeptTextBytes of text (UTF-8);
// earlier lines are left out of the window (leftOutLines, leftOutText) but never out of the log, which is
// written from the run's raw bytes (run_log.h). For a switch of reading the model keeps the latest raw bytes
// too (at most 2 * kMaxKeptRawBytes, cut after a line feed), and decodes them again.
//
// Auto: when a byte that is not UTF-8 appears, even after a lot of UTF-8 text, everything still kept is
// decoded again as OEM (the window's text is replaced whole) and the rest of the run reads OEM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/console_lines.h"
#include "run/output_decoder.h"
#include "run/run_log.h"
#include "run/run_texts.h"

namespace brennic {

inline constexpr std::size_t kMaxKeptLines = 20000;
inline constexpr std::size_t kMaxKeptTextBytes = 2u << 20;  // 2 MiB
inline constexpr std::size_t kMaxKeptRawBytes = 2u << 20;   // 2 MiB, kept between this and twice this

// A change to the EDIT control's text, in its own units (UTF-16 code units; lines end in "\r\n").
// Apply in order: when `reset`, set the whole text to `text` (WM_SETTEXT); otherwise delete the first
// `dropFront` units (EM_SETSEL 0..dropFront, EM_REPLACESEL ""), then replace everything from unit
// `replaceFrom` to the end with `text` (EM_SETSEL replaceFrom..-1, EM_REPLACESEL). `text` is UTF-8.
struct ViewUpdate {
    bool changed = false;  // false: nothing to do
    bool reset = false;
    std::size_t dropFront = 0;
    std::size_t replaceFrom = 0;
    std::string text;
};

class RunModel {
public:
    // `programName` for the title (see programNameForTitle), `commandLine` for the log's header. The code
    // pages must outlive the model.
    RunModel(std::string programName, std::string commandLine, const CodePage& oem, const CodePage& ansi,
             OutputReading reading = OutputReading::Auto);

    // The run started at `nowMs` (any monotonic millisecond clock, the same for every call).
    void started(std::uint64_t nowMs);
    // Output bytes as they came from the pipe.
    void append(std::string_view bytes);
    // The run ended (the output pipe is drained first): a held-back incomplete character is shown.
    void ended(const RunEnd& end, std::uint64_t nowMs);

    // Switches the reading; everything still kept is decoded again (the next view update is a reset).
    void setReading(OutputReading reading);
    OutputReading reading() const { return reading_; }
    // The reading to hand to LogWriter for this run's raw bytes: Utf8, Oem or Ansi (Auto resolved over the
    // whole run so far).
    OutputReading logReading() const;

    // What changed in the window's text since the last call (the first call gives a reset).
    ViewUpdate takeViewUpdate();
    // The whole text the window shows now (UTF-8, "\r\n" between lines); applying every update in order to
    // an empty control gives exactly this text.
    std::string viewText() const;
    // The end of viewText(): at most the last `lines` kept lines and the line being written. For a control that
    // shows only the latest output while a flood comes in; call viewReplaced() when it is shown.
    std::string viewTail(std::size_t lines) const;
    // The control's text was replaced other than by the updates: the next update is a reset.
    void viewReplaced() {
        viewReset_ = true;
        viewChanged_ = true;
    }

    // Lines of the run no longer in the window (they are in the saved log).
    std::uint64_t leftOutLines() const { return leftOutLines_; }
    // "" when nothing is left out; else "The window shows the last 20,000 lines; 1,234 earlier lines are in
    // the saved log."
    std::string leftOutText() const;

    // The last percentage printed (0 to 100), or none (the progress bar shows "busy").
    std::optional<int> progress() const;

    bool running() const { return running_; }
    std::optional<RunEnd> end() const { return end_; }
    // Success for the progress bar's state: ended with exit code 0, not stopped.
    bool endedWell() const;
    // "Running, 12 s" / "exit code 0, 1.2 s".
    std::string statusText(std::uint64_t nowMs) const;
    // "xcopy — running" / "xcopy — exit code 0".
    std::string titleText() const;
    const std::string& commandLine() const { return commandLine_; }
    // How long it ran (up to nowMs while running).
    std::uint64_t durationMs(std::uint64_t nowMs) const;
    // The log's footer for a log written now.
    LogFooter logFooter(std::uint64_t nowMs) const;

private:
    struct KeptLine {
        std::uint64_t at = 0;   // where its text starts, counted over all text ever kept
        std::size_t bytes = 0;  // its text's length (UTF-8)
        std::size_t units = 0;  // UTF-16 code units
    };
    std::string_view keptLine(const KeptLine& line) const {
        return std::string_view(completed_.text).substr(static_cast<std::size_t>(line.at - keptBase_), line.bytes);
    }
    void feedDecoded(std::string_view text);
    void keepCompleted();
    void trimKept();
    void trimRaw();
    void redecode();

    std::string programName_;
    std::string commandLine_;
    const CodePage& oem_;
    const CodePage& ansi_;
    OutputReading reading_;
    OutputDecoder decoder_;
    OutputDecoder utf8Watch_;          // Auto over the whole run, to know whether every byte was UTF-8
    ConsoleLines lines_;
    // The layout's completed lines go straight into the kept text: completed_.text holds the kept lines back to
    // back (and some of dropped lines before them); keptUpTo_ is where the lines not yet kept start.
    CompletedLines completed_;
    std::size_t keptUpTo_ = 0;
    std::string decoded_;

    std::string raw_;                  // the latest raw bytes, starting after a line feed where possible
    std::uint64_t rawLeftOutLines_ = 0;  // line feeds in raw bytes no longer kept
    bool sawNonUtf8_ = false;          // some byte of the run was not UTF-8 (Auto reads OEM)

    std::deque<KeptLine> kept_;
    std::uint64_t keptBase_ = 0;       // where completed_.text starts, counted as KeptLine::at is
    std::size_t keptBytes_ = 0;
    std::size_t keptUnits_ = 0;        // kept lines' units, each with its "\r\n"
    std::uint64_t firstKept_ = 0;      // the line number of kept_.front()
    std::uint64_t leftOutLines_ = 0;
    std::optional<int> lastLinePercent_;
    std::uint64_t lastPercentLine_ = 0;

    // What the EDIT control holds since the last update.
    bool viewReset_ = true;
    bool viewChanged_ = true;
    std::uint64_t viewCurrent_ = 0;    // the line that was being written at the last update
    std::size_t viewDropUnits_ = 0;    // units of lines dropped from the front since then
    std::size_t viewPrefixUnits_ = 0;  // units of the lines before viewCurrent_ at the last update

    bool running_ = false;
    std::optional<RunEnd> end_;
    std::uint64_t startMs_ = 0;
    std::uint64_t endMs_ = 0;
};

}  // namespace brennic
