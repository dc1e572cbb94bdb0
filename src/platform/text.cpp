// UTF-8, UTF-16 and code page conversions.
#include "platform/text.h"

#include <array>

namespace brennic {

namespace {

bool isSurrogate(char32_t codePoint) { return codePoint >= 0xD800 && codePoint <= 0xDFFF; }

constexpr std::array<char32_t, 32> kWindows1252HighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0Fu;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07u;
        smallest = 0x10000;
    }
    const std::size_t start = pos;
    ++pos;
    if (length == 0 || text.size() - start < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[start + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || isSurrogate(codePoint)) return std::nullopt;
    pos = start + length;
    return codePoint;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || isSurrogate(codePoint)) codePoint = kReplacementCharacter;
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool isUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (!nextCodePoint(text, pos)) return false;
    }
    return true;
}

std::string validUtf8(std::string_view text) {
    if (isUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t pos = 0; pos < text.size();) {
        appendUtf8(out, nextCodePoint(text, pos).value_or(kReplacementCharacter));
    }
    return out;
}

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t codePoint = nextCodePoint(text, pos).value_or(kReplacementCharacter);
        if (codePoint < 0x10000) {
            out.push_back(static_cast<char16_t>(codePoint));
        } else {
            const char32_t offset = codePoint - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        }
    }
    return out;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        char32_t codePoint = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            codePoint = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, codePoint);  // a lone surrogate becomes U+FFFD there
    }
    return out;
}

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t codePoint = nextCodePoint(text, pos).value_or(kReplacementCharacter);
        units += codePoint < 0x10000 ? 1 : 2;
    }
    return units;
}

std::string_view cutToUtf16Length(std::string_view text, std::size_t maxUnits) {
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t codePoint = nextCodePoint(text, pos).value_or(kReplacementCharacter);
        units += codePoint < 0x10000 ? 1 : 2;
        if (units > maxUnits) return text.substr(0, start);
    }
    return text;
}

char32_t Windows1252::codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kWindows1252HighBlock[static_cast<std::size_t>(byte - 0x80)];
    return byte;
}

std::optional<unsigned char> Windows1252::byteOf(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<unsigned char>(codePoint);
    for (std::size_t i = 0; i < kWindows1252HighBlock.size(); ++i) {
        if (kWindows1252HighBlock[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::string Windows1252::toUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> Windows1252::fromUtf8(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto codePoint = nextCodePoint(text, pos);
        if (!codePoint) return std::nullopt;
        const auto byte = byteOf(*codePoint);
        if (!byte) return std::nullopt;
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

CodePageConversion conversionToCodePage(std::uint32_t codePage) {
    if (codePage == 65001 || codePage == 54936) return {false, true, false};  // UTF-8, GB18030
    const bool iso2022 = codePage >= 50220 && codePage <= 50229;
    const bool iscii = codePage >= 57002 && codePage <= 57011;
    if (iso2022 || iscii || codePage == 52936 || codePage == 65000) return {false, false, false};  // HZ, UTF-7
    if (codePage == 42) return {false, false, true};  // Symbol
    return {};
}

}  // namespace brennic
