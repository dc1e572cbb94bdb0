// Source text as the TOML parser is given it, and texts as they come back from the parser.
//
// toml++ 3.3 asks whether a character from U+00A0..U+FEFF is white space through a table with gaps: for most
// such characters (Latin-1 letters, much of U+3000 and U+FB00..U+FEFE) it reaches a point compiled as
// unreachable, which is undefined behaviour. It asks wherever it classifies a character: between tokens, at the
// end of a value, while reading a malformed token for its error message, after a line-ending backslash in a
// multi-line string. Its tables stop at U+FEFF (white space) and U+EFFFF (the unreleased Unicode bare keys), so
// every character above them is simply "not white space, not a key character". The parser is therefore never
// shown U+0080..U+FFFF: each such character c goes to it as U+F0000 + c (plane 15, private use), which it
// treats as any other text, and every text taken from the parsed tree is mapped back. One character stays one
// character, so the parser's lines and columns are those of the source.
//
// Plane 15 is thereby reserved: a source that holds such a character, or an escape that would make one
// (\U000Fxxxx), is refused — mapped back it would silently become another character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config_source.h"

namespace brennic::authoring {

struct ParserText {
    std::string text;                  // what the parser reads (a leading byte order mark left out)
    std::optional<Diagnostic> refusal;  // set when the source cannot be handed over; text is then empty
};

// The parser's form of a source: refused when it is not valid UTF-8 or holds plane 15 in any form.
ParserText toParserText(std::string_view source);

// A key, string value or parser message in the source's own characters: plane 15 back to U+0080..U+FFFF, and
// the parser's escaped form of such a character in messages ("\U000F00E9") back to "\u00E9".
std::string fromParser(std::string_view parsed);

}  // namespace brennic::authoring
