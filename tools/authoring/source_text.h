// Texts of the readable config source: conversion between the source's Unicode (UTF-8) and a config file's text
// bytes in either of its two forms, and the quoted forms used in source and dump output.
//
// A config's texts are UTF-8 when its header carries the UTF-8 texts marker, and otherwise bytes in the system's
// ANSI code page, as in every config written before texts were Unicode. The tools take code page 1252 (Western)
// for that code page: it covers all 256 bytes reversibly (see Windows1252), so every legacy config survives a
// round trip through source.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "state/program_description.h"

namespace brennic::authoring {

enum class TextForm {
    kLegacy,  // bytes in the ANSI code page, written and read as code page 1252
    kUtf8,    // UTF-8, marked in the header's reserved bytes
};

TextForm textFormOf(const ConfigHeader& header);

// Why a source text cannot become config bytes.
struct TextProblem {
    enum Kind { kNotInCodePage, kZeroByte, kBadUtf8 } kind;
    char32_t codePoint = 0;
};

// The config bytes of a UTF-8 text in the given form, or the first problem found. A zero byte is refused: the
// file format ends every text with one.
std::optional<TextProblem> encodeText(std::string_view utf8, TextForm form, std::string& bytes);

// The UTF-8 text of config bytes: legacy bytes always decode; UTF-8 bytes give nothing when they are malformed.
std::optional<std::string> decodeText(std::string_view bytes, TextForm form);

// True when every byte is ASCII: such a text has the same bytes in both forms.
bool isAscii(std::string_view bytes);

// Characters that a reader of a source, a dump or a message would not see for what they are: controls, the
// Unicode spaces and invisible characters (no-break and zero-width spaces, the soft hyphen, the byte order mark),
// line and paragraph separators, and the marks that reorder text on screen.
bool needsEscape(char32_t codePoint);

// A TOML basic string holding the text: quotes, backslashes and every control or invisible layout character
// escaped.
std::string tomlQuoted(std::string_view utf8);

// Quoted forms of config bytes for dumps: printable ASCII as it is, backslash and quote escaped. Legacy bytes
// outside printable ASCII become \xHH, so dumps of legacy configs are pure ASCII. UTF-8 texts keep their
// characters; controls and invisible layout characters become \xHH (below U+0080) or \uXXXX, and malformed
// bytes \xHH.
std::string dumpQuoted(std::string_view bytes, TextForm form = TextForm::kLegacy);

// A description of a text problem for messages, e.g. "character U+4E2D has no byte in code page 1252".
std::string describe(const TextProblem& problem);

}  // namespace brennic::authoring
