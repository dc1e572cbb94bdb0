// Texts of the readable config source: conversion between the source's Unicode (UTF-8) and the config file's
// bytes in code page 1252, and the quoted forms used in source and dump output.
//
// The mapping covers all 256 bytes and is reversible: bytes 0x00-0x7F and 0xA0-0xFF are the code points of the
// same value, 0x80-0x9F are the code page's characters (0x80 is U+20AC), and the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are the control code points of the same value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::authoring {

// Why a source text cannot become config bytes.
struct TextProblem {
    enum Kind { kNotInCodePage, kZeroByte, kBadUtf8 } kind;
    char32_t codePoint = 0;
};

// The config bytes of a UTF-8 text, or the first problem found. A zero byte is refused: the file format ends
// every text with one.
std::optional<TextProblem> encodeText(std::string_view utf8, std::string& bytes);

// The UTF-8 text of config bytes (always succeeds).
std::string decodeText(std::string_view bytes);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void appendUtf8(std::string& out, char32_t cp);

// A TOML basic string holding the text: quotes, backslashes and every non-printable character escaped.
std::string tomlQuoted(std::string_view utf8);

// A quoted form of raw bytes for dumps: printable ASCII as it is, backslash and quote escaped, every other byte
// as \xHH. Pure ASCII, so dumps compare the same everywhere.
std::string dumpQuoted(std::string_view bytes);

// A description of a text problem for messages, e.g. "character U+4E2D has no byte in code page 1252".
std::string describe(const TextProblem& problem);

}  // namespace brennic::authoring
