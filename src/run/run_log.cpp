// The whole log of a run, streamed from its raw output bytes.
#include "run/run_log.h"

#include "platform/text.h"

namespace brennic {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The command line on one line of the log, as valid UTF-8.
std::string oneLine(std::string_view text) {
    std::string line = validUtf8(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

// The reading a log names: a log is read once, so Auto stands for what it read.
OutputReading namedReading(OutputReading reading) {
    return reading == OutputReading::Auto ? OutputReading::Utf8 : reading;
}

}  // namespace

LogWriter::LogWriter(LogSink& sink, OutputReading reading, const CodePage& oem, const CodePage& ansi)
    : sink_(sink), decoder_(reading, oem, ansi) {}

bool LogWriter::emit(std::string_view text) {
    if (ok_ && !text.empty()) ok_ = sink_.write(text);
    return ok_;
}

bool LogWriter::emitLines() {
    // The lines of one chunk go to the sink in one piece.
    std::string block;
    block.reserve(completed_.text.size() + 2 * completed_.size());
    for (std::size_t i = 0; i < completed_.size(); ++i) {
        block += completed_.line(i);
        block += "\r\n";
    }
    completed_.clear();
    return emit(block);
}

bool LogWriter::header(std::string_view commandLine) {
    std::string text(kByteOrderMark);
    text += "Command line: " + oneLine(commandLine) + "\r\n";
    text += std::string("Output read as: ") + readingName(namedReading(decoder_.reading())) + "\r\n\r\n";
    return emit(text);
}

bool LogWriter::write(std::string_view rawBytes) {
    if (!ok_) return false;
    decoded_.clear();
    decoder_.decode(rawBytes, decoded_);
    lines_.feed(decoded_, completed_);
    return emitLines();
}

bool LogWriter::finish(const LogFooter& footer) {
    decoded_.clear();
    decoder_.finish(decoded_);
    lines_.feed(decoded_, completed_);
    if (!lines_.currentLineEmpty()) {
        completed_.text += lines_.currentLine();
        completed_.ends.push_back(completed_.text.size());
    }
    if (!emitLines()) return false;
    std::string text = "\r\n";
    if (footer.end) {
        text += "Ended: " + endedStatus(*footer.end, footer.durationMs) + "\r\n";
    } else {
        text += "Still running: " + durationText(footer.durationMs) + "\r\n";
    }
    if (decoder_.reading() == OutputReading::Auto && decoder_.fellBack()) {
        text += "Output read as UTF-8 until a byte that is not UTF-8 appeared, then as OEM.\r\n";
    }
    return emit(text);
}

std::string logText(std::string_view commandLine, std::string_view rawBytes, OutputReading reading,
                    const CodePage& oem, const CodePage& ansi, const LogFooter& footer) {
    struct StringSink : LogSink {
        std::string text;
        bool write(std::string_view utf8) override {
            text.append(utf8);
            return true;
        }
    } sink;
    LogWriter writer(sink, reading, oem, ansi);
    writer.header(commandLine);
    writer.write(rawBytes);
    writer.finish(footer);
    return sink.text;
}

}  // namespace brennic
