#include "source_text.h"

#include <array>
#include <cstdio>

namespace brennic::authoring {
namespace {

constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePointOfByte(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighBlock[static_cast<std::size_t>(byte - 0x80)];
    return byte;
}

std::optional<unsigned char> byteOfCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
        if (kHighBlock[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}


// Decodes one UTF-8 sequence at pos; nullopt for a malformed one.
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    if (pos + length > s.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (next & 0x3Fu);
    }
    pos += length;
    return cp;
}

bool printable(char32_t cp) {
    return !(cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0));
}

}  // namespace

std::optional<TextProblem> encodeText(std::string_view utf8, std::string& bytes) {
    bytes.clear();
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = nextCodePoint(utf8, pos);
        if (!cp) return TextProblem{TextProblem::kBadUtf8, 0};
        if (*cp == 0) return TextProblem{TextProblem::kZeroByte, 0};
        const auto byte = byteOfCodePoint(*cp);
        if (!byte) return TextProblem{TextProblem::kNotInCodePage, *cp};
        bytes.push_back(static_cast<char>(*byte));
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string decodeText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) appendUtf8(out, codePointOfByte(static_cast<unsigned char>(c)));
    return out;
}

std::string tomlQuoted(std::string_view utf8) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = nextCodePoint(utf8, pos);
        if (!cp) {  // cannot happen for decodeText output; keep the output valid anyway
            out.append("\\uFFFD");
            pos = start + 1;
            continue;
        }
        if (*cp == '"') {
            out.append("\\\"");
        } else if (*cp == '\\') {
            out.append("\\\\");
        } else if (*cp == '\t') {
            out.append("\\t");
        } else if (!printable(*cp)) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(*cp));
            out.append(buffer);
        } else {
            out.append(utf8.substr(start, pos - start));
        }
    }
    out.push_back('"');
    return out;
}

std::string dumpQuoted(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte >= 0x20 && byte < 0x7F) {
            out.push_back(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(byte));
            out.append(buffer);
        }
    }
    out.push_back('"');
    return out;
}

std::string describe(const TextProblem& problem) {
    switch (problem.kind) {
        case TextProblem::kZeroByte:
            return "a text cannot hold a zero byte (\\u0000)";
        case TextProblem::kBadUtf8:
            return "the text is not valid UTF-8";
        case TextProblem::kNotInCodePage: {
            char buffer[80];
            std::snprintf(buffer, sizeof buffer, "character U+%04X has no byte in code page 1252",
                          static_cast<unsigned>(problem.codePoint));
            return buffer;
        }
    }
    return "bad text";
}

}  // namespace brennic::authoring
