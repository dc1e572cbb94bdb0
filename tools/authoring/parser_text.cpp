#include "parser_text.h"

#include <cstdio>
#include <utility>

#include "source_text.h"

namespace brennic::authoring {
namespace {

constexpr char32_t kShiftedPlane = 0xF0000;  // U+0080..U+FFFF are shown to the parser as this + c
constexpr char32_t kShiftedEnd = 0xFFFFF;

unsigned byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }


// The code point at pos and its length in bytes; nullopt for anything that is not well-formed UTF-8 (a stray
// or missing continuation byte, an overlong form, a surrogate, a value above U+10FFFF).
std::optional<std::pair<char32_t, std::size_t>> decodeAt(std::string_view s, std::size_t pos) {
    const unsigned lead = byteAt(s, pos);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t lowest = 0;
    if (lead < 0x80) return std::pair<char32_t, std::size_t>{lead, 1};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
        lowest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() - pos < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned next = byteAt(s, pos + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < lowest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return std::nullopt;
    return std::pair<char32_t, std::size_t>{cp, length};
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

}  // namespace

ParserText toParserText(std::string_view source) {
    ParserText result;
    std::size_t pos = 0;
    if (source.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // the parser would skip it, and count columns after it
    result.text.reserve(source.size() + source.size() / 2);
    std::uint32_t line = 1;
    std::uint32_t column = 1;
    auto refuse = [&](std::string message) {
        result.text.clear();
        result.refusal = Diagnostic{{line, column}, std::move(message)};
        return std::move(result);
    };
    while (pos < source.size()) {
        const auto decoded = decodeAt(source, pos);
        if (!decoded) {
            char buffer[96];
            std::snprintf(buffer, sizeof buffer,
                          "the source is not valid UTF-8 (byte 0x%02X); save it as UTF-8", byteAt(source, pos));
            return refuse(buffer);
        }
        const auto [cp, length] = *decoded;
        if (cp >= kShiftedPlane && cp <= kShiftedEnd) {
            char buffer[128];
            std::snprintf(buffer, sizeof buffer,
                          "character U+%05X is private use from U+F0000..U+FFFFF, which a source cannot hold",
                          static_cast<unsigned>(cp));
            return refuse(buffer);
        }
        if (cp == '\\' && source.compare(pos, 5, "\\U000") == 0 && pos + 5 < source.size() &&
            (source[pos + 5] == 'F' || source[pos + 5] == 'f')) {
            return refuse("this escape would give a private use character from U+F0000..U+FFFFF, which a source "
                          "cannot hold (not even in a comment or a literal string)");
        }
        if (cp >= 0x80 && cp <= 0xFFFF) {
            appendUtf8(result.text, kShiftedPlane + cp);
        } else {
            result.text.append(source.substr(pos, length));
        }
        pos += length;
        if (cp == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return result;
}

std::string fromParser(std::string_view parsed) {
    std::string out;
    out.reserve(parsed.size());
    for (std::size_t i = 0; i < parsed.size();) {
        // U+F0080..U+FFFFF: F3 B0..BF 80..BF 80..BF
        if (byteAt(parsed, i) == 0xF3 && parsed.size() - i >= 4 && (byteAt(parsed, i + 1) & 0xF0) == 0xB0 &&
            (byteAt(parsed, i + 2) & 0xC0) == 0x80 && (byteAt(parsed, i + 3) & 0xC0) == 0x80) {
            const char32_t cp = ((byteAt(parsed, i + 1) & 0x0Fu) << 12) | ((byteAt(parsed, i + 2) & 0x3Fu) << 6) |
                                (byteAt(parsed, i + 3) & 0x3Fu);
            if (cp >= 0x80 && (cp < 0xD800 || cp > 0xDFFF)) {
                appendUtf8(out, cp);
                i += 4;
                continue;
            }
        }
        // The parser cuts long messages at a fixed length, possibly inside a character: leave that part out.
        if (byteAt(parsed, i) == 0xF3 && parsed.size() - i < 4) {
            bool cutCharacter = true;
            for (std::size_t k = i + 1; k < parsed.size(); ++k) {
                const unsigned mask = k == i + 1 ? 0xF0 : 0xC0;
                if ((byteAt(parsed, k) & mask) != (k == i + 1 ? 0xB0u : 0x80u)) cutCharacter = false;
            }
            if (cutCharacter) break;
        }
        // The parser's messages show a character above U+007F as \uXXXX or \UXXXXXXXX.
        if (parsed.compare(i, 6, "\\U000F") == 0 && parsed.size() - i >= 10 && isHexDigit(parsed[i + 6]) &&
            isHexDigit(parsed[i + 7]) && isHexDigit(parsed[i + 8]) && isHexDigit(parsed[i + 9])) {
            out += "\\u";
            out.append(parsed.substr(i + 6, 4));
            i += 10;
            continue;
        }
        out.push_back(parsed[i]);
        ++i;
    }
    return out;
}

}  // namespace brennic::authoring
