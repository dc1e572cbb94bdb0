#include "parser_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/text.h"
#include "source_text.h"

namespace brennic::authoring {

ParserText toParserText(std::string_view source) {
    ParserText result;
    std::size_t pos = 0;
    if (source.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // the parser would skip it, and count columns after it
    const std::size_t start = pos;
    std::uint32_t line = 1;
    std::uint32_t column = 1;
    while (pos < source.size()) {
        const std::size_t at = pos;
        const auto codePoint = nextCodePoint(source, pos);
        if (!codePoint) {
            char buffer[96];
            std::snprintf(buffer, sizeof buffer, "the source is not valid UTF-8 (byte 0x%02X); save it as UTF-8",
                          static_cast<unsigned>(static_cast<unsigned char>(source[at])));
            result.refusal = Diagnostic{{line, column}, buffer, {}};
            return result;
        }
        if (*codePoint == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    result.text = source.substr(start);
    return result;
}

std::string parserMessage(std::string_view message) {
    // Only the end can be cut: go back over continuation bytes to the last lead byte, and keep its character
    // only when it is whole.
    std::size_t lead = message.size();
    while (lead > 0 && message.size() - lead < 3 && (static_cast<unsigned char>(message[lead - 1]) & 0xC0) == 0x80) {
        --lead;
    }
    if (lead > 0 && static_cast<unsigned char>(message[lead - 1]) >= 0xC0) {
        std::size_t pos = lead - 1;
        if (!nextCodePoint(message, pos)) message = message.substr(0, lead - 1);
    }
    std::string out;
    out.reserve(message.size());
    for (std::size_t pos = 0; pos < message.size();) {
        const char32_t cp = nextCodePoint(message, pos).value_or(kReplacementCharacter);
        if (cp != '\t' && needsEscape(cp)) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, cp <= 0xFFFF ? "\\u%04X" : "\\U%08X", static_cast<unsigned>(cp));
            out.append(buffer);
        } else {
            appendUtf8(out, cp);
        }
    }
    return out;
}

namespace {

// The lines of the text, without their line breaks.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) return lines;
        start = end + 1;
    }
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// The quoted name in a parser message such as "cannot redefine existing table 'lists.a'".
std::string_view quotedIn(std::string_view message, std::string_view after) {
    auto at = message.find(after);
    if (at == std::string_view::npos) return {};
    at = message.find('\'', at + after.size());
    if (at == std::string_view::npos) return {};
    const auto end = message.rfind('\'');
    return end > at ? message.substr(at + 1, end - at - 1) : std::string_view();
}

// The 1-based line of the first table header [name] before `before`, or 0.
std::size_t headerLine(const std::vector<std::string_view>& lines, std::string_view name, std::size_t before) {
    for (std::size_t i = 0; i + 1 < before && i < lines.size(); ++i) {
        std::string_view line = trimmed(lines[i]);
        if (line.size() < 2 || line.front() != '[') continue;
        line.remove_prefix(1);
        const auto close = line.find(']');
        if (close == std::string_view::npos) continue;
        std::string header;
        for (char c : line.substr(0, close)) {
            if (c != ' ' && c != '\t') header += c;
        }
        if (header == name) return i + 1;
    }
    return 0;
}

// The 1-based line of the last "key =" before `before`, or 0.
std::size_t keyLine(const std::vector<std::string_view>& lines, std::string_view key, std::size_t before) {
    for (std::size_t i = std::min(before, lines.size() + 1); i-- > 1;) {
        const std::string_view line = trimmed(lines[i - 1]);
        if (line.substr(0, key.size()) != key) continue;
        const std::string_view rest = trimmed(line.substr(key.size()));
        if (!rest.empty() && rest.front() == '=') return i;
    }
    return 0;
}

}  // namespace

std::string parserHint(std::string_view message, std::string_view text, SourceLocation where) {
    const std::vector<std::string_view> lines = linesOf(text);
    const bool inString = message.find("parsing string") != std::string_view::npos ||
                          message.find("parsing literal string") != std::string_view::npos ||
                          message.find("parsing multi-line") != std::string_view::npos;
    if (inString && message.find("control characters") != std::string_view::npos && where.line >= 1 &&
        where.line <= lines.size()) {
        // The parser stops at the line break that ends a one-line string: the column just past the line.
        std::size_t characters = 0;
        const std::string_view line = lines[where.line - 1];
        for (std::size_t pos = 0; pos < line.size();) {
            if (!nextCodePoint(line, pos)) break;
            ++characters;
        }
        if (where.column == characters + 1) {
            return "the text begun on this line has no closing quote: end it with \" (or ' for a literal "
                   "string) before the line ends; a text over several lines is written in \"\"\"...\"\"\"";
        }
        return {};
    }
    if (inString && message.find("end-of-file") != std::string_view::npos) {
        return "a text is still open at the end of the file: end it with its closing quote";
    }
    if (message.find("unknown escape sequence") != std::string_view::npos) {
        return "in \"...\" a backslash starts an escape such as \\n: write a Windows path with each backslash "
               "doubled (\"C:\\\\Tools\") or as a literal string in single quotes ('C:\\Tools')";
    }
    if (message.find("cannot redefine existing table") != std::string_view::npos) {
        const std::string_view name = quotedIn(message, "existing table");
        const std::size_t first = headerLine(lines, name, where.line);
        return "[" + std::string(name) + "] already stands " +
               (first != 0 ? "at line " + std::to_string(first) : std::string("above")) +
               ": a table is given once, with all its keys under it; a second one needs a name of its own";
    }
    if (message.find("cannot redefine existing") != std::string_view::npos) {
        const std::string_view key = quotedIn(message, "existing");
        const std::size_t first = keyLine(lines, key, where.line);
        return "'" + std::string(key) + "' is " +
               (first != 0 ? "already given at line " + std::to_string(first) : std::string("already given")) +
               " in the same table: a key is given once; remove one of the two";
    }
    return {};
}

}  // namespace brennic::authoring
