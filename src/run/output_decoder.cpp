// Decoding a program's output bytes, chunk by chunk.
#include "run/output_decoder.h"

#include <cstdint>
#include <cstring>

namespace brennic {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

// The number of continuation bytes a UTF-8 lead byte needs and the range its first continuation byte must
// lie in (which excludes overlong forms, surrogates and code points above U+10FFFF); need 0: not a lead byte.
struct Utf8Lead {
    int need = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

Utf8Lead utf8Lead(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return {1, 0x80, 0xBF};
    if (byte == 0xE0) return {2, 0xA0, 0xBF};
    if (byte == 0xED) return {2, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return {2, 0x80, 0xBF};
    if (byte == 0xF0) return {3, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3) return {3, 0x80, 0xBF};
    if (byte == 0xF4) return {3, 0x80, 0x8F};
    return {};
}

}  // namespace

const char* readingName(OutputReading reading) {
    switch (reading) {
        case OutputReading::Auto: return "Auto";
        case OutputReading::Utf8: return "UTF-8";
        case OutputReading::Oem: return "OEM";
        case OutputReading::Ansi: return "ANSI";
    }
    return "Auto";
}

OutputDecoder::OutputDecoder(OutputReading reading, const CodePage& oem, const CodePage& ansi)
    : reading_(reading), oem_(&oem), ansi_(&ansi) {}

OutputReading OutputDecoder::effectiveReading() const {
    if (reading_ == OutputReading::Auto) return fellBack_ ? OutputReading::Oem : OutputReading::Utf8;
    return reading_;
}

void OutputDecoder::decode(std::string_view bytes, std::string& out) { decode(bytes, &out); }

void OutputDecoder::check(std::string_view bytes) { decode(bytes, nullptr); }

void OutputDecoder::decode(std::string_view bytes, std::string* out) {
    std::string joined;
    if (!pending_.empty()) {
        joined = pending_;
        joined.append(bytes);
        pending_.clear();
        bytes = joined;
    }
    switch (effectiveReading()) {
        case OutputReading::Utf8: decodeUtf8(bytes, out, reading_ == OutputReading::Auto); break;
        case OutputReading::Ansi: decodeCodePage(*ansi_, bytes, out); break;
        default: decodeCodePage(*oem_, bytes, out); break;
    }
}

bool OutputDecoder::readsUtf8() const {
    switch (effectiveReading()) {
        case OutputReading::Utf8: return true;
        case OutputReading::Ansi: return ansi_->isUtf8CodePage();
        default: return oem_->isUtf8CodePage();
    }
}

void OutputDecoder::finish(std::string& out) {
    if (pending_.empty()) return;
    if (readsUtf8()) {
        // Held back only while it could still become a character: a valid start, one bad part.
        out += kReplacement;
    } else {
        out += validUtf8((effectiveReading() == OutputReading::Ansi ? *ansi_ : *oem_).toUtf8(pending_));
    }
    pending_.clear();
}

void OutputDecoder::decodeUtf8(std::string_view bytes, std::string* out, bool autoMode) {
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        // Runs of ASCII go out in one piece.
        std::size_t ascii = i;
        for (;;) {  // eight bytes at a time while none has its high bit set
            while (size - ascii >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, bytes.data() + ascii, 8);
                if ((word & 0x8080808080808080u) != 0) break;
                ascii += 8;
            }
            if (ascii == size || static_cast<unsigned char>(bytes[ascii]) >= 0x80) break;
            ++ascii;
        }
        if (ascii > i) {
            if (out != nullptr) out->append(bytes.substr(i, ascii - i));
            i = ascii;
            if (i == size) break;
        }
        const Utf8Lead lead = utf8Lead(static_cast<unsigned char>(bytes[i]));
        std::size_t j = i + 1;
        int have = 0;
        if (lead.need > 0) {
            while (have < lead.need) {
                if (j == size) {
                    pending_.assign(bytes.substr(i));  // may complete in the next chunk
                    return;
                }
                const auto next = static_cast<unsigned char>(bytes[j]);
                const unsigned char low = have == 0 ? lead.low : 0x80;
                const unsigned char high = have == 0 ? lead.high : 0xBF;
                if (next < low || next > high) break;
                ++j;
                ++have;
            }
        }
        if (lead.need > 0 && have == lead.need) {
            if (out != nullptr) out->append(bytes.substr(i, j - i));
            i = j;
            continue;
        }
        if (autoMode) {
            // Not UTF-8: this and everything after reads OEM.
            fellBack_ = true;
            decodeCodePage(*oem_, bytes.substr(i), out);
            return;
        }
        if (out != nullptr) *out += kReplacement;  // the longest start of a character that went wrong
        i = j;
    }
}

void OutputDecoder::decodeCodePage(const CodePage& page, std::string_view bytes, std::string* out) {
    if (page.isUtf8CodePage()) {
        decodeUtf8(bytes, out, false);  // a system code page that is UTF-8 reads as UTF-8, whole characters
        return;
    }
    std::size_t end = 0;
    while (end < bytes.size()) {
        if (!page.isLeadByte(static_cast<unsigned char>(bytes[end]))) {
            ++end;
        } else if (end + 1 < bytes.size()) {
            end += 2;
        } else {
            pending_.assign(bytes.substr(end));  // the trail byte comes with the next chunk
            break;
        }
    }
    if (end > 0 && out != nullptr) *out += validUtf8(page.toUtf8(bytes.substr(0, end)));
}

}  // namespace brennic
