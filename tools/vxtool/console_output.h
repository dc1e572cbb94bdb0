// Output that reaches a console as whole characters. The tool writes UTF-8; a console that takes UTF-16 (see
// console_win32.h) must never be handed half a character, so bytes are held back until the UTF-8 sequence they
// belong to is complete.
#pragma once

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

namespace brennic::vxtool {

// The length of the longest start of `text` that does not end inside a UTF-8 sequence. Malformed bytes count as
// whole (they are shown as U+FFFD); only a sequence that more bytes could still complete is left out.
std::size_t wholeCharactersLength(std::string_view text);

class WholeCharacterBuffer : public std::streambuf {
public:
    // Hands on what is still held back, a cut sequence included.
    void finish();

protected:
    // Receives whole characters only, in order; nothing when the text is empty.
    virtual void write(std::string_view text) = 0;

    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize count) override;
    int sync() override;

private:
    static constexpr std::size_t kChunk = 4096;
    void handOn(bool everything);

    std::string pending_;
};

}  // namespace brennic::vxtool
