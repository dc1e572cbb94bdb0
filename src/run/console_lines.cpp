// The console layout of a program's text, and the last percentage in a text.
#include "run/console_lines.h"

#include "platform/text.h"

namespace brennic {

namespace {

constexpr char32_t kEscape = 0x1B;
constexpr char32_t kBell = 0x07;
constexpr char32_t kStringTerminator = 0x9C;  // C1 ST

bool isDropped(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F); }

}  // namespace

void ConsoleLines::feed(std::string_view text, std::vector<std::string>& completed) {
    std::size_t pos = 0;
    while (pos < text.size()) {
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

void ConsoleLines::take(char32_t c, std::vector<std::string>& completed) {
    switch (escape_) {
        case Escape::None: break;
        case Escape::Start:
            if (c == '[') {
                escape_ = Escape::Csi;
                return;
            }
            if (c == ']') {
                escape_ = Escape::Osc;
                oscLength_ = 0;
                return;
            }
            if (c >= 0x20 && c <= 0x2F) {  // "ESC ( B" and the like: intermediates, then a final
                escape_ = Escape::Intermediate;
                return;
            }
            escape_ = Escape::None;
            if (c >= 0x30 && c <= 0x7E) return;  // "ESC x"
            break;                               // a control or other character ends it and counts itself
        case Escape::Intermediate:
            if (c >= 0x20 && c <= 0x2F) return;
            escape_ = Escape::None;
            if (c >= 0x30 && c <= 0x7E) return;
            break;
        case Escape::Csi:
            if (c >= 0x20 && c <= 0x3F) return;  // parameters and intermediates
            escape_ = Escape::None;
            if (c >= 0x40 && c <= 0x7E) return;  // the final character
            break;
        case Escape::Osc:
        case Escape::OscEscape:
            if (escape_ == Escape::OscEscape) {
                if (c == '\\') {
                    escape_ = Escape::None;
                    return;
                }
                escape_ = Escape::Osc;
            }
            if (c == kBell || c == kStringTerminator) {
                escape_ = Escape::None;
                return;
            }
            if (c == kEscape) {
                escape_ = Escape::OscEscape;
                return;
            }
            if (c != '\n' && ++oscLength_ <= kMaxOscCharacters) return;
            escape_ = Escape::None;  // never ended: give up and show what follows
            break;
    }

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

void ConsoleLines::put(char32_t c, std::vector<std::string>& completed) {
    if (cursor_ == kMaxLineCharacters) endLine(completed);  // a full line wraps
    if (cursor_ < line_.size()) {
        line_[cursor_] = c;
    } else {
        line_.push_back(c);
    }
    ++cursor_;
}

void ConsoleLines::endLine(std::vector<std::string>& completed) {
    completed.push_back(currentLine());
    line_.clear();
    cursor_ = 0;
    ++completedCount_;
}

std::string ConsoleLines::currentLine() const {
    std::string text;
    text.reserve(line_.size());
    for (const char32_t c : line_) {
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else {
            appendUtf8(text, c);
        }
    }
    return text;
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
