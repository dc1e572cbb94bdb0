// The form of source text the TOML parser is shown: no character from U+0080..U+FFFF reaches it, every
// character comes back unchanged, lines and columns stay where they were, and what cannot be carried over is
// refused with its position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser_text.h"
#include "source_text.h"

namespace brennic::authoring {
namespace {

std::string utf8(char32_t cp) {
    std::string out;
    appendUtf8(out, cp);
    return out;
}

// Code points of well-formed UTF-8 (the parser's form always is).
std::vector<char32_t> codePoints(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : length == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
        for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
        out.push_back(cp);
        i += length;
    }
    return out;
}

bool shownToParser(char32_t cp) { return cp < 0xD800 || (cp > 0xDFFF && (cp < 0xF0000 || cp > 0xFFFFF)); }

TEST(ParserText, EveryCharacterComesBackAndNoneFromU0080ToUFFFFReachesTheParser) {
    std::string source;
    std::size_t expectedCount = 0;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (!shownToParser(cp)) continue;
        source += utf8(cp);
        ++expectedCount;
    }
    const ParserText parsed = toParserText(source);
    ASSERT_FALSE(parsed.refusal) << parsed.refusal->message;
    const std::vector<char32_t> shown = codePoints(parsed.text);
    ASSERT_EQ(shown.size(), expectedCount);  // one character stays one character
    std::size_t index = 0;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (!shownToParser(cp)) continue;
        const char32_t expected = cp >= 0x80 && cp <= 0xFFFF ? 0xF0000 + cp : cp;
        ASSERT_EQ(static_cast<std::uint32_t>(shown[index]), static_cast<std::uint32_t>(expected))
            << std::hex << static_cast<std::uint32_t>(cp);
        ++index;
    }
    EXPECT_EQ(fromParser(parsed.text), source);
}

TEST(ParserText, LeadingByteOrderMarkIsLeftOutAndAnyOtherKept) {
    const ParserText parsed = toParserText("\xEF\xBB\xBF" "a\xEF\xBB\xBF");
    ASSERT_FALSE(parsed.refusal);
    EXPECT_EQ(parsed.text, "a\xF3\xBF\xBB\xBF");  // U+FEFF inside the text: shown as U+FFEFF
    EXPECT_EQ(fromParser(parsed.text), "a\xEF\xBB\xBF");
}

TEST(ParserText, ParserMessagesComeBackInTheSourcesCharacters) {
    EXPECT_EQ(fromParser("expected '=', saw '\\U000F00E9' in 'x\xF3\xB0\x83\xA9'"),
              "expected '=', saw '\\u00E9' in 'x\xC3\xA9'");
    EXPECT_EQ(fromParser("saw '\\U0001F600' and '\\u00E9'"), "saw '\\U0001F600' and '\\u00E9'");
    EXPECT_EQ(fromParser("table 'a\xF3\xB0\x83"), "table 'a");  // cut off by the parser inside a character
}

struct Refused {
    std::string source;
    std::uint32_t line;
    std::uint32_t column;
    const char* message;
};

TEST(ParserText, RefusesWhatCannotBeCarriedOverAtItsPosition) {
    const Refused cases[] = {
        {"ab\n c\xE9", 2, 3, "not valid UTF-8 (byte 0xE9)"},       // Latin-1
        {"\xC3\xA9\n\x80", 2, 1, "not valid UTF-8 (byte 0x80)"},   // stray continuation byte
        {"x\xE2\x82", 1, 2, "not valid UTF-8"},                    // cut off
        {"\xC0\xAF", 1, 1, "not valid UTF-8"},                     // overlong '/'
        {"\xE0\x80\xAF", 1, 1, "not valid UTF-8"},                 // overlong '/'
        {"\xF0\x80\x80\xAF", 1, 1, "not valid UTF-8"},             // overlong '/'
        {"x\xED\xA0\x80", 1, 2, "not valid UTF-8"},                // surrogate
        {"\xF4\x90\x80\x80", 1, 1, "not valid UTF-8"},             // above U+10FFFF
        {"\xEF\xBB\xBF\xC3\xA9\xF3\xB0\x80\x80", 1, 2, "U+F0000"},  // columns start after a byte order mark
        {"#\n#\xF3\xBF\xBF\xBF", 2, 2, "U+FFFFF"},
        {"a = '\\U000fffff'", 1, 6, "escape would give a private use character"},
        {"a = \"\\\\U000F0041\"", 1, 7, "escape would give a private use character"},
    };
    for (const Refused& r : cases) {
        const ParserText parsed = toParserText(r.source);
        ASSERT_TRUE(parsed.refusal) << r.source;
        EXPECT_EQ(parsed.refusal->where.line, r.line) << r.source;
        EXPECT_EQ(parsed.refusal->where.column, r.column) << r.source;
        EXPECT_NE(parsed.refusal->message.find(r.message), std::string::npos) << parsed.refusal->message;
        EXPECT_TRUE(parsed.text.empty());
    }
    // Escapes that stay below plane 15 or above it are the parser's business.
    for (const char* accepted : {"a = \"\\u000F\"", "a = \"\\U0010FFFD\"", "a = \"\\U000E0001\""}) {
        EXPECT_FALSE(toParserText(accepted).refusal) << accepted;
    }
}

}  // namespace
}  // namespace brennic::authoring
