#include "console_output.h"

#include <algorithm>

namespace brennic::vxtool {

std::size_t wholeCharactersLength(std::string_view text) {
    // Look back at most three bytes for the lead byte of a sequence that is still open.
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: its lead lies further back
        std::size_t length = 1;
        if (byte >= 0xC2 && byte <= 0xDF) length = 2;
        if (byte >= 0xE0 && byte <= 0xEF) length = 3;
        if (byte >= 0xF0 && byte <= 0xF4) length = 4;
        return length > back ? size - back : size;
    }
    return size;
}

bool writeInPieces(std::u16string_view text, std::size_t maxUnits, const PieceWriter& writePiece) {
    if (maxUnits < 2) maxUnits = 2;  // room for a whole pair
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t units = std::min(maxUnits, text.size() - at);
        const char16_t last = text[at + units - 1];
        const bool cutsPair = last >= 0xD800 && last <= 0xDBFF && at + units < text.size();
        if (cutsPair && units > 1) --units;  // the high half waits for its low half
        const std::size_t written = writePiece(text.substr(at, units));
        if (written == 0) return false;
        at += std::min(written, units);
    }
    return true;
}

bool WholeCharacterBuffer::finish() { return handOn(true); }

WholeCharacterBuffer::int_type WholeCharacterBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_.push_back(traits_type::to_char_type(c));
    if (pending_.size() >= kChunk && !handOn(false)) return traits_type::eof();
    return c;
}

std::streamsize WholeCharacterBuffer::xsputn(const char* s, std::streamsize count) {
    pending_.append(s, static_cast<std::size_t>(count));
    if (pending_.size() >= kChunk && !handOn(false)) return 0;
    return count;
}

int WholeCharacterBuffer::sync() { return handOn(false) ? 0 : -1; }

bool WholeCharacterBuffer::handOn(bool everything) {
    const std::size_t whole = everything ? pending_.size() : wholeCharactersLength(pending_);
    if (whole == 0) return true;
    const bool written = write(std::string_view(pending_).substr(0, whole));
    // What failed is dropped: writing it again later would only repeat the failure out of order.
    pending_.erase(0, whole);
    return written;
}

}  // namespace brennic::vxtool
