// Source text as the TOML parser is given it, and the parser's messages as they are reported.
//
// The parser reads the source's own characters, so every character may stand in a text or a comment (the
// parser's white space is TOML's own, space and tab: see config_source.cpp). What the parser cannot be given is
// refused here first, with its line and column: text that is not well-formed UTF-8. A leading byte order mark
// is left out, as the parser would skip it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config_source.h"

namespace brennic::authoring {

struct ParserText {
    std::string_view text;              // what the parser reads (a leading byte order mark left out)
    std::optional<Diagnostic> refusal;  // set when the source cannot be handed over; text is then empty
};

// The parser's form of a source: the source itself, refused when it is not valid UTF-8.
ParserText toParserText(std::string_view source);

// A parser message as reported: characters a reader would not see for what they are (controls, Unicode spaces)
// as escapes, and a character the parser cut off at the end of a long message left out.
std::string parserMessage(std::string_view message);

// Advice for the parser messages whose usual cause is not plain from the message: a string left open at the
// end of its line or of the file, a backslash in a Windows path taken for an escape, a table or key given
// twice (with the line of the first). `text` is what the parser read, `where` the place it reported. Empty
// for every other message.
std::string parserHint(std::string_view message, std::string_view text, SourceLocation where);

}  // namespace brennic::authoring
