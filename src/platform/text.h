// Texts inside Brennic are UTF-8 in std::string. These are the conversions at the edges: UTF-16 for the
// platform's wide interfaces, and code pages for stored files written in a legacy single- or multi-byte form.
// Lengths that the platform limits (259 characters in a field or a path) count UTF-16 code units, as the
// platform does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brennic {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the UTF-8 sequence at pos and moves pos past it. A malformed, overlong or surrogate sequence, or one
// above U+10FFFF, gives nullopt and moves pos past its first byte only.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of a code point; one above U+10FFFF or a surrogate is appended as U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

bool isUtf8(std::string_view text);

// The text with every malformed byte replaced by U+FFFD; a valid text comes back unchanged.
std::string validUtf8(std::string_view text);

// UTF-8 to UTF-16 and back. Malformed input (a bad UTF-8 byte, a lone surrogate) becomes U+FFFD.
std::u16string utf16FromUtf8(std::string_view text);
std::string utf8FromUtf16(std::u16string_view text);

// The number of UTF-16 code units of a UTF-8 text: what the platform counts as its length.
std::size_t utf16Length(std::string_view text);

// The longest start of the text that has at most maxUnits UTF-16 code units. A character is never split:
// one that does not fit whole (a surrogate pair one unit short of room) is left out whole.
std::string_view cutToUtf16Length(std::string_view text, std::size_t maxUnits);

// A byte encoding for stored files whose texts predate UTF-8 there (the system's ANSI code page).
class CodePage {
public:
    virtual ~CodePage() = default;
    // The UTF-8 text of the bytes; always succeeds.
    virtual std::string toUtf8(std::string_view bytes) const = 0;
    // The bytes of a UTF-8 text, or nothing when a character has no exact byte form in this code page.
    virtual std::optional<std::string> fromUtf8(std::string_view text) const = 0;
    // True when the byte starts a two-byte character (double-byte code pages); a streaming reader holds such
    // a byte back when a chunk ends with it. Single-byte code pages have none.
    virtual bool isLeadByte(unsigned char byte) const {
        (void)byte;
        return false;
    }
    // True when the code page is UTF-8 itself (a system set to use UTF-8 for its code pages); a streaming
    // reader then keeps characters of three and four bytes whole as well.
    virtual bool isUtf8CodePage() const { return false; }
};

// How to ask the platform for the bytes of a text in a code page (WideCharToMultiByte). Most code pages take the
// no-best-fit flag and report a default character through a flag pointer. UTF-8 and GB18030 take no flag but
// "error on invalid characters"; UTF-7, the ISO-2022 and HZ pages, ISCII and Symbol take no flag at all; UTF-7
// and UTF-8 refuse the flag pointer, and the ISO-2022, HZ, ISCII and GB18030 conversions refuse it as well. Any
// other combination fails the call for every text. Without the pointer a replaced character shows only when
// the bytes are read back, so the caller compares them with the text.
struct CodePageConversion {
    bool noBestFit = true;          // WC_NO_BEST_FIT_CHARS
    bool errorOnInvalid = false;    // WC_ERR_INVALID_CHARS
    bool reportsDefault = true;     // a used-default-character pointer may be passed
};
CodePageConversion conversionToCodePage(std::uint32_t codePage);

// Windows code page 1252 (Western), extended to all 256 bytes so that every byte sequence survives a round
// trip: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control
// characters of the same value, as the platform maps them.
class Windows1252 : public CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override;
    std::optional<std::string> fromUtf8(std::string_view text) const override;

    static char32_t codePointOf(unsigned char byte);
    static std::optional<unsigned char> byteOf(char32_t codePoint);
};

}  // namespace brennic
