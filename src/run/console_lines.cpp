// The console layout of a program's text, and the last percentage in a text.
#include "run/console_lines.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"

namespace brennic {

namespace {

constexpr char32_t kEscape = 0x1B;
constexpr char32_t kBell = 0x07;
constexpr char32_t kStringTerminator = 0x9C;  // C1 ST

bool isDropped(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F); }

// The number of characters in text when it holds only characters that are laid out as they stand: printable
// ASCII, tabs and well-formed UTF-8 other than the C1 controls; none when anything else is in it.
std::optional<std::size_t> plainCharacters(std::string_view text) {
    const std::size_t size = text.size();
    const char* data = text.data();
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < size) {
        // Eight bytes at a time while they are printable ASCII: no high bit, none below 0x20, none 0x7F.
        while (size - i >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, data + i, 8);
            constexpr std::uint64_t kOnes = 0x0101010101010101u;
            constexpr std::uint64_t kHigh = 0x8080808080808080u;
            const std::uint64_t below = (word - kOnes * 0x20) & ~word;   // high bit: below 0x20 (or above 0x7F)
            const std::uint64_t del = word ^ (kOnes * 0x7F);
            const std::uint64_t isDel = (del - kOnes) & ~del;           // high bit: a byte 0x7F
            if (((word | below | isDel) & kHigh) != 0) break;
            i += 8;
            characters += 8;
        }
        if (i == size) break;
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return std::nullopt;
            ++i;
            ++characters;
            continue;
        }
        std::size_t next = i;
        const auto codePoint = nextCodePoint(text, next);
        if (!codePoint || (*codePoint >= 0x80 && *codePoint <= 0x9F)) return std::nullopt;
        i = next;
        ++characters;
    }
    return characters;
}

// The first line feed in text from `from` on, or text.size(). Eight bytes at a time: some C libraries look for
// a byte one by one.
std::size_t findLineFeed(std::string_view text, std::size_t from) {
    const std::size_t size = text.size();
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    while (size - from >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + from, 8);
        const std::uint64_t x = word ^ (kOnes * '\n');
        if (((x - kOnes) & ~x & kHigh) != 0) break;  // some byte is a line feed
        from += 8;
    }
    while (from < size && text[from] != '\n') ++from;
    return from;
}

}  // namespace

void ConsoleLines::feed(std::string_view text, std::vector<std::string>& completed) {
    CompletedLines lines;
    feed(text, lines);
    for (std::size_t i = 0; i < lines.size(); ++i) completed.emplace_back(lines.line(i));
}

void ConsoleLines::feed(std::string_view text, CompletedLines& completed) {
    std::size_t pos = 0;
    std::size_t slowUntil = 0;  // the end of a line that must go character by character
    while (pos < text.size()) {
        if (pos >= slowUntil && escape_ == Escape::None && line_.empty()) {
            const std::size_t end = findLineFeed(text, pos);
            if (end < text.size() && takeWholeLine(text.substr(pos, end - pos), completed)) {
                pos = end + 1;
                continue;
            }
            slowUntil = end + 1;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            ++pos;
            take(byte, completed);
            continue;
        }
        const auto codePoint = nextCodePoint(text, pos);
        take(codePoint ? *codePoint : kReplacementCharacter, completed);
    }
}

bool ConsoleLines::takeWholeLine(std::string_view text, CompletedLines& completed) {
    // "\r" just before the line feed returns to a start that the line feed leaves at once.
    std::size_t size = text.size();
    while (size > 0 && text[size - 1] == '\r') --size;
    const std::string_view shown = text.substr(0, size);
    if (const auto characters = plainCharacters(shown); characters && *characters <= kMaxLineCharacters) {
        completed.text.append(shown);
        completed.ends.push_back(completed.text.size());
        ++completedCount_;
        return true;
    }
    // Escapes and controls that are dropped leave the cursor at the line's end; "\r" and backspace do not.
    for (const char c : shown) {
        if (c == '\r' || c == '\b') return false;
    }
    std::string& line = completed.text;
    const auto endLineHere = [&] {
        completed.ends.push_back(line.size());
        ++completedCount_;
    };
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < size) {
        if (escape_ == Escape::None) {
            // A run of printable ASCII goes in as it stands.
            std::size_t run = pos;
            while (run < size && ((text[run] >= 0x20 && text[run] < 0x7F) || text[run] == '\t')) ++run;
            while (pos < run) {
                if (characters == kMaxLineCharacters) {  // a full line wraps
                    endLineHere();
                    characters = 0;
                }
                const std::size_t part = std::min(run - pos, kMaxLineCharacters - characters);
                line.append(text.substr(pos, part));
                characters += part;
                pos += part;
            }
            if (pos == size) break;
        }
        char32_t c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            ++pos;
        } else {
            const auto codePoint = nextCodePoint(text, pos);
            c = codePoint ? *codePoint : kReplacementCharacter;
        }
        if (!passesEscape(c)) continue;
        if (c == kEscape) {
            escape_ = Escape::Start;
            continue;
        }
        if (c != '\t' && isDropped(c)) continue;
        if (characters == kMaxLineCharacters) {  // a full line wraps
            endLineHere();
            characters = 0;
        }
        if (c < 0x80) {
            line.push_back(static_cast<char>(c));
        } else {
            appendUtf8(line, c);
        }
        ++characters;
    }
    escape_ = Escape::None;  // the line feed ends whatever sequence is still open
    endLineHere();
    return true;
}

bool ConsoleLines::passesEscape(char32_t c) {
    switch (escape_) {
        case Escape::None: return true;
        case Escape::Start:
            if (c == '[') {
                escape_ = Escape::Csi;
                return false;
            }
            if (c == ']') {
                escape_ = Escape::Osc;
                oscLength_ = 0;
                return false;
            }
            if (c >= 0x20 && c <= 0x2F) {  // "ESC ( B" and the like: intermediates, then a final
                escape_ = Escape::Intermediate;
                return false;
            }
            escape_ = Escape::None;
            return !(c >= 0x30 && c <= 0x7E);  // "ESC x"; a control or other character ends it and counts itself
        case Escape::Intermediate:
            if (c >= 0x20 && c <= 0x2F) return false;
            escape_ = Escape::None;
            return !(c >= 0x30 && c <= 0x7E);
        case Escape::Csi:
            if (c >= 0x20 && c <= 0x3F) return false;  // parameters and intermediates
            escape_ = Escape::None;
            return !(c >= 0x40 && c <= 0x7E);           // the final character
        case Escape::Osc:
        case Escape::OscEscape:
            if (escape_ == Escape::OscEscape) {
                if (c == '\\') {
                    escape_ = Escape::None;
                    return false;
                }
                escape_ = Escape::Osc;
            }
            if (c == kBell || c == kStringTerminator) {
                escape_ = Escape::None;
                return false;
            }
            if (c == kEscape) {
                escape_ = Escape::OscEscape;
                return false;
            }
            if (c != '\n' && ++oscLength_ <= kMaxOscCharacters) return false;
            escape_ = Escape::None;  // never ended: give up and show what follows
            return true;
    }
    return true;
}

void ConsoleLines::take(char32_t c, CompletedLines& completed) {
    if (!passesEscape(c)) return;
    switch (c) {
        case '\n': endLine(completed); return;
        case '\r': cursor_ = 0; return;
        case '\b':
            if (cursor_ > 0) --cursor_;
            return;
        case '\t': put(c, completed); return;
        case kEscape: escape_ = Escape::Start; return;
        default:
            if (isDropped(c)) return;
            put(c, completed);
    }
}

void ConsoleLines::put(char32_t c, CompletedLines& completed) {
    if (cursor_ == kMaxLineCharacters) endLine(completed);  // a full line wraps
    if (cursor_ < line_.size()) {
        line_[cursor_] = c;
    } else {
        line_.push_back(c);
    }
    ++cursor_;
}

void ConsoleLines::endLine(CompletedLines& completed) {
    appendCurrentLine(completed.text);
    completed.ends.push_back(completed.text.size());
    line_.clear();
    cursor_ = 0;
    ++completedCount_;
}

std::string ConsoleLines::currentLine() const {
    std::string text;
    appendCurrentLine(text);
    return text;
}

void ConsoleLines::appendCurrentLine(std::string& text) const {
    text.reserve(text.size() + line_.size());
    for (const char32_t c : line_) {
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else {
            appendUtf8(text, c);
        }
    }
}

std::optional<int> lastPercentage(std::string_view text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::optional<int> last;
    for (std::size_t sign = text.find('%'); sign != std::string_view::npos; sign = text.find('%', sign + 1)) {
        std::size_t start = sign;
        while (start > 0 && isDigit(text[start - 1])) --start;
        std::size_t intEnd = sign;
        bool fraction = false;
        if (start < sign && start > 0 && text[start - 1] == '.') {
            fraction = true;
            intEnd = start - 1;
            start = intEnd;
            while (start > 0 && isDigit(text[start - 1])) --start;
        }
        const std::size_t digits = intEnd - start;
        if (digits == 0 || digits > 3) continue;
        if (start > 0 && text[start - 1] == '.') continue;  // "1.2.3%" is no percentage
        int value = 0;
        for (std::size_t i = start; i < intEnd; ++i) value = value * 10 + (text[i] - '0');
        if (value > 100) continue;
        if (value == 100 && fraction && text.substr(intEnd + 1, sign - intEnd - 1).find_first_not_of('0') !=
                                            std::string_view::npos) {
            continue;  // above 100
        }
        last = value;
    }
    return last;
}

}  // namespace brennic
