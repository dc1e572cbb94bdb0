// Output that reaches a console as whole characters. The tool writes UTF-8; a console that takes UTF-16 (see
// console_win32.h) must never be handed half a character, so bytes are held back until the UTF-8 sequence they
// belong to is complete.
#pragma once

#include <cstddef>
#include <functional>
#include <streambuf>
#include <string>
#include <string_view>

namespace brennic::vxtool {

// The length of the longest start of `text` that does not end inside a UTF-8 sequence. Malformed bytes count as
// whole (they are shown as U+FFFD); only a sequence that more bytes could still complete is left out.
std::size_t wholeCharactersLength(std::string_view text);

// Hands UTF-16 text to `writePiece` in pieces of at most maxUnits (at least 2), never between the two halves of a
// surrogate pair. writePiece returns how many units it took; fewer than offered are retried from there, none is a
// failure. False when a piece failed: the rest is not written.
using PieceWriter = std::function<std::size_t(std::u16string_view piece)>;
bool writeInPieces(std::u16string_view text, std::size_t maxUnits, const PieceWriter& writePiece);

class WholeCharacterBuffer : public std::streambuf {
public:
    // Hands on what is still held back, a cut sequence included. False when a write failed.
    bool finish();

protected:
    // Receives whole characters only, in order; nothing when the text is empty. False when the text could not be
    // written: the stream then reports the failure (badbit).
    virtual bool write(std::string_view text) = 0;

    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize count) override;
    int sync() override;

private:
    static constexpr std::size_t kChunk = 4096;
    bool handOn(bool everything);

    std::string pending_;
};

}  // namespace brennic::vxtool
