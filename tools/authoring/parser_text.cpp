#include "parser_text.h"

#include <cstdio>

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
            result.refusal = Diagnostic{{line, column}, buffer};
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

}  // namespace brennic::authoring
