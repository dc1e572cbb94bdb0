// Turning a program's output bytes into UTF-8 text. The bytes come from a pipe in chunks of any size, split
// anywhere; a character split between two chunks is decoded whole, so the text never depends on where the
// chunks were cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace brennic {

// How the output is read. Auto reads UTF-8 while the bytes are UTF-8 and falls back to the OEM code page
// (what console programs write by default) at the first byte that is not; the fall-back holds for the rest
// of the run.
enum class OutputReading { Auto, Utf8, Oem, Ansi };

// The reading's name for menus, the log and the window: "Auto", "UTF-8", "OEM", "ANSI".
const char* readingName(OutputReading reading);

// A streaming decoder. Every chunk's text is valid UTF-8 made of whole characters; a bad UTF-8 sequence
// (with the reading UTF-8) becomes one U+FFFD per maximal bad part, as Unicode recommends.
class OutputDecoder {
public:
    // The code pages must outlive the decoder.
    OutputDecoder(OutputReading reading, const CodePage& oem, const CodePage& ansi);

    // Decodes a chunk and appends its text to out. An incomplete character at the chunk's end is held back
    // until the next chunk (at most a few bytes).
    void decode(std::string_view bytes, std::string& out);
    // The end of the stream: a held-back incomplete character is decoded as it stands (U+FFFD for UTF-8).
    void finish(std::string& out);
    // Goes through a chunk as decode does, for its state only (whether Auto falls back), producing no text.
    void check(std::string_view bytes);

    OutputReading reading() const { return reading_; }
    // The reading in use: Utf8, Oem or Ansi; for Auto, Utf8 until it has fallen back, then Oem.
    OutputReading effectiveReading() const;
    // Auto has met a byte that is not UTF-8 (and reads OEM since).
    bool fellBack() const { return fellBack_; }
    // Starts Auto in its fallen-back state, for a stream whose earlier bytes already were not UTF-8.
    void startFallenBack() { fellBack_ = true; }
    // ASCII text would come out unchanged and leave the state as it is: reading UTF-8, nothing held back.
    bool passesAscii() const { return pending_.empty() && effectiveReading() == OutputReading::Utf8; }

private:
    void decode(std::string_view bytes, std::string* out);
    bool readsUtf8() const;  // the reading in use is UTF-8, also through a system code page that is UTF-8
    void decodeUtf8(std::string_view bytes, std::string* out, bool autoMode);
    void decodeCodePage(const CodePage& page, std::string_view bytes, std::string* out);

    OutputReading reading_;
    const CodePage* oem_;
    const CodePage* ansi_;
    bool fellBack_ = false;
    std::string pending_;  // an incomplete character held back from the last chunk
};

}  // namespace brennic
