// The envelope of Brennic's own record files (presets, recent runs): a header that names the kind and the
// version, a payload of known length and a CRC-32 over everything before it, so that a file is either taken
// whole or refused whole. Plus the little-endian byte writer and reader the payloads are built with.
//
//   0  "BRNC"           4 bytes
//   4  kind             4 bytes ("PRST" presets, "RUNS" recent runs)
//   8  version          u16
//  10  reserved         u16, 0
//  12  payload length   u32
//  16  payload
//  16+n CRC-32          u32 (IEEE, as zlib computes it) of bytes 0 .. 16+n-1
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brennic {

inline constexpr std::size_t kRecordHeaderSize = 16;
// A record file is read only up to this size; a longer one is refused.
inline constexpr std::size_t kRecordFileReadLimit = 4u << 20;

std::uint32_t crc32(std::string_view bytes);

// The whole file for a payload.
std::string sealRecordFile(std::string_view kind, std::uint16_t version, std::string_view payload);

struct OpenedRecordFile {
    std::string problem;       // empty when the file was taken; otherwise why it was refused, in plain words
    std::string_view payload;  // points into the bytes given
};

// Checks the envelope of a file of this kind. Versions above `newestVersion` are refused (a newer Brennic wrote
// them), so no version ever reads half of a file.
OpenedRecordFile openRecordFile(std::string_view bytes, std::string_view kind, std::uint16_t newestVersion);

class ByteWriter {
public:
    void u8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i64(std::int64_t value);
    // A text: its length in bytes (u16 or u32), then its bytes.
    void text16(std::string_view text);
    void text32(std::string_view text);
    const std::string& bytes() const { return out_; }

private:
    std::string out_;
};

// Reads forward; the first read past the end makes ok() false for good, and every later read gives zeros.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return ok_ && pos_ == bytes_.size(); }
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int64_t i64();
    std::string_view bytes(std::size_t count);
    std::string_view text16() { return bytes(u16()); }
    std::string_view text32() { return bytes(u32()); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace brennic
