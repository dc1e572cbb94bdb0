// The program's text laid out as a console shows it: "\n" (and "\r\n") ends a line, a lone "\r" returns to
// the start of the line so that later characters overwrite it (progress lines update in place), backspace
// moves back one character, tabs are kept, escape sequences (CSI "ESC [ ... final", OSC "ESC ] ... BEL or
// ESC \", two-character "ESC x") are removed even when split between chunks, and the other control
// characters are dropped. An operating-system command that is never ended gives up at a line feed or after
// kMaxOscCharacters, so that a stray "ESC ]" cannot swallow the rest of the output. A line that grows to kMaxLineCharacters continues on a new line, as a console
// wraps it, so that no line can take unbounded memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennic {

inline constexpr std::size_t kMaxLineCharacters = 16384;
inline constexpr std::size_t kMaxOscCharacters = 4096;

// Completed lines back to back in one buffer, so that a flood of short lines costs no allocation per line.
struct CompletedLines {
    std::string text;
    std::vector<std::size_t> ends;  // where each line ends in text

    std::size_t size() const { return ends.size(); }
    std::string_view line(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(text).substr(begin, ends[i] - begin);
    }
    void clear() {
        text.clear();
        ends.clear();
    }
};

class ConsoleLines {
public:
    // Lays out decoded UTF-8 text (whole characters, as OutputDecoder gives them). Each line the text
    // completes is appended to `completed` (UTF-8, without a line end).
    void feed(std::string_view text, CompletedLines& completed);
    void feed(std::string_view text, std::vector<std::string>& completed);

    // The line being written, as shown now (UTF-8).
    std::string currentLine() const;
    bool currentLineEmpty() const { return line_.empty(); }
    // Lines completed since the start (wrapped lines included).
    std::uint64_t completedCount() const { return completedCount_; }

private:
    enum class Escape : std::uint8_t { None, Start, Intermediate, Csi, Osc, OscEscape };
    // A line feed ends every escape sequence and the line, so each line starts afresh; a whole line that
    // lies in the text is laid out in one piece where nothing in it can move the cursor back.
    bool takeWholeLine(std::string_view text, CompletedLines& completed);
    // Runs the escape sequences' state over one character: false when the character belongs to a sequence.
    bool passesEscape(char32_t character);
    void take(char32_t character, CompletedLines& completed);
    void put(char32_t character, CompletedLines& completed);
    void endLine(CompletedLines& completed);
    void appendCurrentLine(std::string& out) const;

    std::u32string line_;
    std::size_t cursor_ = 0;
    Escape escape_ = Escape::None;
    std::size_t oscLength_ = 0;
    std::uint64_t completedCount_ = 0;
};

// The last percentage written in a text: a number of one to three digits, optionally with a decimal part,
// directly followed by "%" and not preceded by a digit or a point ("45%", "45.3%", "[ 45%]", "100%"); only
// values 0 to 100 count ("1000%" and "%d" do not). Gives the whole percent (45.3 gives 45). One pass, no
// backtracking.
std::optional<int> lastPercentage(std::string_view text);

}  // namespace brennic
