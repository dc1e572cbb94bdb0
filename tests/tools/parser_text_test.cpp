// What the TOML parser is given: the source's own characters, every one of them, or a refusal with its position
// when the source is not UTF-8; its messages with hidden characters escaped. Every character also passes the
// parser itself and comes back exactly.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "config_source.h"
#include "parser_text.h"
#include "platform/text.h"

namespace brennic::authoring {
namespace {

std::string utf8(char32_t cp) {
    std::string out;
    appendUtf8(out, cp);
    return out;
}

bool isSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

TEST(ParserText, EveryCharacterReachesTheParserAsItIs) {
    std::string source;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (!isSurrogate(cp)) source += utf8(cp);
    }
    const ParserText parsed = toParserText(source);
    ASSERT_FALSE(parsed.refusal) << parsed.refusal->message;
    EXPECT_TRUE(parsed.text == source);
}

TEST(ParserText, LeadingByteOrderMarkIsLeftOutAndAnyOtherKept) {
    const ParserText parsed = toParserText("\xEF\xBB\xBF" "a\xEF\xBB\xBF");
    ASSERT_FALSE(parsed.refusal);
    EXPECT_EQ(parsed.text, "a\xEF\xBB\xBF");
}

TEST(ParserText, ParserMessagesShowHiddenCharactersAsEscapes) {
    EXPECT_EQ(parserMessage("unknown escape sequence '\\\xC2\xA0' in '\xC3\xA9'"),
              "unknown escape sequence '\\\\u00A0' in '\xC3\xA9'");
    EXPECT_EQ(parserMessage("saw '\xC2\x81', '\x01', '\xE2\x80\xAE' and '\\u00E9'"),
              "saw '\\u0081', '\\u0001', '\\u202E' and '\\u00E9'");
    EXPECT_EQ(parserMessage("table 'a\xE4\xB8"), "table 'a");  // cut off by the parser inside a character
    EXPECT_EQ(parserMessage("table 'a\xF0\x9F\x98\x80"), "table 'a\xF0\x9F\x98\x80");
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
        {"\xEF\xBB\xBF\xC3\xA9\xFF", 1, 2, "byte 0xFF"},           // columns start after a byte order mark
    };
    for (const Refused& r : cases) {
        const ParserText parsed = toParserText(r.source);
        ASSERT_TRUE(parsed.refusal) << r.source;
        EXPECT_EQ(parsed.refusal->where.line, r.line) << r.source;
        EXPECT_EQ(parsed.refusal->where.column, r.column) << r.source;
        EXPECT_NE(parsed.refusal->message.find(r.message), std::string::npos) << parsed.refusal->message;
        EXPECT_TRUE(parsed.text.empty());
    }
    // Private use characters of plane 15, written or as escapes, are characters like any other.
    for (const char* accepted : {"a = \"\\u000F\"", "a = \"\\U0010FFFD\"", "a = \"\\U000E0001\"",
                                 "a = '\\U000fffff'", "#\n#\xF3\xBF\xBF\xBF", "\xF3\xB0\x80\x80"}) {
        const ParserText parsed = toParserText(accepted);
        EXPECT_FALSE(parsed.refusal) << accepted;
        EXPECT_EQ(parsed.text, std::string_view(accepted));
    }
}

// toml++ 3.3 asks "white space?" of every character after a line-ending backslash in a multi-line string. It
// reached undefined behaviour there for most of U+00A0..U+FEFF (the sanitizer build stops on it), and it dropped
// the Unicode spaces from the text. Each character is asked here: all of the Basic Multilingual Plane, all of
// plane 15 and a sample of the others, in a multi-line string (one line-ending backslash before each), in a
// one-line string and in a comment.
TEST(ParserText, EveryCharacterPassesTheParserAndComesBackExactly) {
    std::string characters;
    std::string backslashed;
    for (char32_t cp = 0x80; cp <= 0x10FFFF; cp += (cp < 0x10000 || (cp >= 0xF0000 && cp <= 0xFFFFF)) ? 1 : 61) {
        if (isSurrogate(cp)) continue;
        characters += utf8(cp);
        backslashed += "\\\n" + utf8(cp);
    }
    const std::string source = "[program]\nexecutable = \"e\"\nfolder = \"f\"\n[lists.l]\nlabel = \"" + characters +
                               "\"\nactions = [\"a\"]\n[actions.a]\ncaption = \"\"\"" + backslashed + "\"\"\"\n# " +
                               characters + "\n";
    ProgramDescription compiled;
    const CompileOutcome outcome = compileSource(source, "all.toml", compiled);
    ASSERT_TRUE(outcome.ok()) << formatDiagnostic("all.toml", outcome.errors.front());
    ASSERT_EQ(compiled.stringTable.size(), 8u);
    EXPECT_TRUE(compiled.header.textsAreUtf8());
    EXPECT_TRUE(compiled.stringTable[6] == characters);
    EXPECT_TRUE(compiled.stringTable[7] == characters);  // none taken for white space and dropped
}

}  // namespace
}  // namespace brennic::authoring
