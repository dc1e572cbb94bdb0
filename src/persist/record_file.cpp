// Brennic's record-file envelope and its byte writer and reader.
#include "persist/record_file.h"

#include <array>
#include <limits>


namespace brennic {

namespace {

constexpr std::string_view kFamily = "BRNC";

std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

}  // namespace

std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = makeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char byte : bytes) c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string sealRecordFile(std::string_view kind, std::uint16_t version, std::string_view payload) {
    std::string out(kFamily);
    out.append(kind.substr(0, 4));
    ByteWriter header;
    header.u16(version);
    header.u16(0);
    header.u32(static_cast<std::uint32_t>(payload.size()));
    out += header.bytes();
    out.append(payload);
    ByteWriter crc;
    crc.u32(crc32(out));
    return out + crc.bytes();
}

OpenedRecordFile openRecordFile(std::string_view bytes, std::string_view kind, std::uint16_t newestVersion) {
    OpenedRecordFile opened;
    if (bytes.size() < kRecordHeaderSize + 4 || bytes.substr(0, 4) != kFamily || bytes.substr(4, 4) != kind) {
        opened.problem = "it is not a file of this kind, or its start is damaged";
        return opened;
    }
    ByteReader header(bytes.substr(8, 8));
    const std::uint16_t version = header.u16();
    header.u16();
    const std::uint32_t length = header.u32();
    if (version == 0 || version > newestVersion) {
        opened.problem = "it was written by a newer version of Brennic (format " + std::to_string(version) + ")";
        return opened;
    }
    if (length != bytes.size() - kRecordHeaderSize - 4) {
        opened.problem = "it is incomplete or has bytes added (its length does not match)";
        return opened;
    }
    ByteReader stored(bytes.substr(bytes.size() - 4));
    if (stored.u32() != crc32(bytes.substr(0, bytes.size() - 4))) {
        opened.problem = "its contents are damaged (the checksum does not match)";
        return opened;
    }
    opened.payload = bytes.substr(kRecordHeaderSize, length);
    return opened;
}

void ByteWriter::u16(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value & 0xFFu));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value & 0xFFFFu));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::i64(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void ByteWriter::text16(std::string_view text) {
    const std::size_t size = text.size() > 0xFFFFu ? 0xFFFFu : text.size();
    u16(static_cast<std::uint16_t>(size));
    out_.append(text.substr(0, size));
}

void ByteWriter::text32(std::string_view text) {
    u32(static_cast<std::uint32_t>(text.size()));
    out_.append(text);
}

std::uint8_t ByteReader::u8() {
    if (!ok_ || pos_ >= bytes_.size()) {
        ok_ = false;
        return 0;
    }
    return static_cast<std::uint8_t>(bytes_[pos_++]);
}

std::uint16_t ByteReader::u16() {
    const std::uint8_t low = u8();
    const std::uint8_t high = u8();
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint32_t ByteReader::u32() {
    const std::uint32_t low = u16();
    const std::uint32_t high = u16();
    return low | (high << 16);
}

std::int64_t ByteReader::i64() {
    const std::uint64_t low = u32();
    const std::uint64_t high = u32();
    return static_cast<std::int64_t>(low | (high << 32));
}

std::string_view ByteReader::bytes(std::size_t count) {
    if (!ok_ || count > bytes_.size() - pos_) {
        ok_ = false;
        return {};
    }
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
}

}  // namespace brennic
