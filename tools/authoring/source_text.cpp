#include "source_text.h"

#include <cstdio>

#include "platform/text.h"

namespace brennic::authoring {
namespace {

void appendEscape(std::string& out, char32_t cp) {
    char buffer[16];
    if (cp <= 0xFFFF) {
        std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(cp));
    } else {
        std::snprintf(buffer, sizeof buffer, "\\U%08X", static_cast<unsigned>(cp));
    }
    out.append(buffer);
}

void appendByteEscape(std::string& out, unsigned char byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(byte));
    out.append(buffer);
}

}  // namespace

bool needsEscape(char32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0xA0) || cp == 0xAD || cp == 0x1680 ||
           (cp >= 0x2000 && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x205F && cp <= 0x2064) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0x3000 || cp == 0xFEFF;
}

TextForm textFormOf(const ConfigHeader& header) {
    return header.textsAreUtf8() ? TextForm::kUtf8 : TextForm::kLegacy;
}

std::optional<TextProblem> encodeText(std::string_view utf8, TextForm form, std::string& bytes) {
    bytes.clear();
    bytes.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = nextCodePoint(utf8, pos);
        if (!cp) return TextProblem{TextProblem::kBadUtf8, 0};
        if (*cp == 0) return TextProblem{TextProblem::kZeroByte, 0};
        if (form == TextForm::kUtf8) {
            bytes.append(utf8.substr(start, pos - start));
            continue;
        }
        const auto byte = Windows1252::byteOf(*cp);
        if (!byte) return TextProblem{TextProblem::kNotInCodePage, *cp};
        bytes.push_back(static_cast<char>(*byte));
    }
    return std::nullopt;
}

std::optional<std::string> decodeText(std::string_view bytes, TextForm form) {
    if (form == TextForm::kLegacy) return Windows1252().toUtf8(bytes);
    if (!isUtf8(bytes)) return std::nullopt;
    return std::string(bytes);
}

bool isAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::string tomlQuoted(std::string_view utf8) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t cp = nextCodePoint(utf8, pos).value_or(kReplacementCharacter);
        if (cp == '"') {
            out.append("\\\"");
        } else if (cp == '\\') {
            out.append("\\\\");
        } else if (cp == '\t') {
            out.append("\\t");
        } else if (needsEscape(cp)) {
            appendEscape(out, cp);
        } else if (cp == kReplacementCharacter) {
            appendUtf8(out, cp);  // also stands for a malformed byte, which a source cannot hold
        } else {
            out.append(utf8.substr(start, pos - start));
        }
    }
    out.push_back('"');
    return out;
}

std::string dumpQuoted(std::string_view bytes, TextForm form) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t start = pos;
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(byte));
            ++pos;
        } else if (byte >= 0x20 && byte < 0x7F) {
            out.push_back(static_cast<char>(byte));
            ++pos;
        } else if (byte < 0x80 || form == TextForm::kLegacy) {
            appendByteEscape(out, byte);
            ++pos;
        } else if (const auto cp = nextCodePoint(bytes, pos); !cp) {
            appendByteEscape(out, byte);  // nextCodePoint moved past this byte only
        } else if (needsEscape(*cp)) {
            appendEscape(out, *cp);
        } else {
            out.append(bytes.substr(start, pos - start));
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
