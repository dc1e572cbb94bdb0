// The whole log of a run, written from the run's raw output bytes (kept by the Win32 side in a temporary file)
// through the same decoder and line layout as the run window, so the log reads as the window did, only
// complete. Streams any amount in constant memory.
//
// The log is UTF-8 with a byte-order mark (so that every editor opens it as UTF-8) and "\r\n" line ends:
//
//     Command line: "C:\Tools\prog.exe" -v in.txt
//     Output read as: UTF-8
//     <empty line>
//     ...the output, line by line, as the window lays it out...
//     <empty line>
//     Ended: exit code 0, 1.2 s          (or "Still running: 12 s" for a log saved during the run)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/console_lines.h"
#include "run/output_decoder.h"
#include "run/run_texts.h"

namespace brennic {

// Where the log goes; the Win32 side writes it to a file with its own calls.
class LogSink {
public:
    virtual ~LogSink() = default;
    // False when the text could not be written; the writer then stops writing and reports false.
    virtual bool write(std::string_view utf8) = 0;
};

// How the run stands when the log is written: ended (with its end) or still running.
struct LogFooter {
    std::optional<RunEnd> end;  // none: still running
    std::uint64_t durationMs = 0;
};

class LogWriter {
public:
    // `reading` is the run's reading as the window resolved it (RunModel::logReading()); Auto given here reads
    // UTF-8 until the first byte that is not, and OEM from there. The sink and code pages must outlive it.
    LogWriter(LogSink& sink, OutputReading reading, const CodePage& oem, const CodePage& ansi);

    // Writes the byte-order mark and the header. Call once, first.
    bool header(std::string_view commandLine);
    // The run's raw output bytes, in chunks of any size.
    bool write(std::string_view rawBytes);
    // The rest of the last line and the footer. Call once, last.
    bool finish(const LogFooter& footer);

    bool ok() const { return ok_; }

private:
    bool emit(std::string_view text);
    bool emitLines();

    LogSink& sink_;
    OutputDecoder decoder_;
    ConsoleLines lines_;
    std::string decoded_;
    CompletedLines completed_;
    bool ok_ = true;
};

// The whole log in one piece (tests and small outputs).
std::string logText(std::string_view commandLine, std::string_view rawBytes, OutputReading reading,
                    const CodePage& oem, const CodePage& ansi, const LogFooter& footer);

}  // namespace brennic
