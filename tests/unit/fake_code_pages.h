// A small double-byte code page for tests of streaming readers, in the shape of the platform's double-byte
// code pages: bytes 0x81 to 0xFE lead a two-byte character, U+4E00 + (lead - 0x81) * 256 + trail when the
// trail is 0x40 or above; a lead before a lower byte is U+FFFD and that byte is read on its own. A lead at the
// end is U+FFFD; bytes below 0x80 are ASCII, 0x80 and 0xFF are U+FFFD.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace brennic {

class TestDoubleByteCodePage : public CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override {
        std::string text;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            if (byte < 0x80) {
                text.push_back(static_cast<char>(byte));
            } else if (!isLeadByte(byte) || i + 1 == bytes.size()) {
                appendUtf8(text, kReplacementCharacter);
            } else if (const auto trail = static_cast<unsigned char>(bytes[i + 1]); trail >= 0x40) {
                appendUtf8(text, static_cast<char32_t>(0x4E00 + (byte - 0x81) * 256 + trail));
                ++i;
            } else {
                appendUtf8(text, kReplacementCharacter);
            }
        }
        return text;
    }
    std::optional<std::string> fromUtf8(std::string_view) const override { return std::nullopt; }
    bool isLeadByte(unsigned char byte) const override { return byte >= 0x81 && byte <= 0xFE; }
};

}  // namespace brennic
