// The config reader: buffered reads with the end-of-file rules of an unformatted stream, so that a file cut
// anywhere is reported the same way whether it is read from disk, from memory or from a stream. Files are read
// with <cstdio>, and the stream readers live in config_loader_stream.cpp: the program itself then links none of
// the stream library.
#include "description/config_loader.h"

#include <algorithm>
#include <cerrno>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

#ifndef _WIN32
#include <sys/types.h>

#include <filesystem>
#endif

namespace brennic {

namespace {

using HeaderImage = std::array<char, kConfigHeaderSize>;

std::uint8_t byteAt(const char* p, std::size_t i) {
    return static_cast<std::uint8_t>(p[i]);
}

std::uint16_t u16At(const char* p, std::size_t i) {
    return static_cast<std::uint16_t>(byteAt(p, i) | (byteAt(p, i + 1) << 8));
}

void putU16(char* p, std::size_t i, std::uint16_t value) {
    p[i] = static_cast<char>(value & 0xFFu);
    p[i + 1] = static_cast<char>(value >> 8);
}

HeaderImage encodeHeader(const ConfigHeader& h) {
    HeaderImage image{};
    for (std::size_t i = 0; i < h.reserved.size(); ++i) image[i] = static_cast<char>(h.reserved[i]);
    const std::uint16_t fields[] = {h.version,         h.stringCount,   h.firstList,       h.listCount,
                                    h.listItemCount,   h.filterItemCount, h.actionCount,   h.pathSpecCount,
                                    h.filterTextCount, h.manualSpecCount};
    std::size_t offset = 6;
    for (std::uint16_t field : fields) {
        putU16(image.data(), offset, field);
        offset += 2;
    }
    return image;
}

ConfigHeader decodeHeader(const HeaderImage& image) {
    const char* p = image.data();
    ConfigHeader h;
    for (std::size_t i = 0; i < h.reserved.size(); ++i) h.reserved[i] = byteAt(p, i);
    h.version = u16At(p, 6);
    h.stringCount = u16At(p, 8);
    h.firstList = u16At(p, 10);
    h.listCount = u16At(p, 12);
    h.listItemCount = u16At(p, 14);
    h.filterItemCount = u16At(p, 16);
    h.actionCount = u16At(p, 18);
    h.pathSpecCount = u16At(p, 20);
    h.filterTextCount = u16At(p, 22);
    h.manualSpecCount = u16At(p, 24);
    return h;
}

// Sequential reads through a buffer filled from a ByteSource, with the rules of an unformatted stream: a
// read that gets fewer bytes than asked for marks the reader failed, and so does a string that the data ends
// inside. Once the source has ended, every later read gets nothing.
class Reader {
public:
    explicit Reader(ByteSource& source) : source_(source), buffer_(kBufferSize) {}

    std::size_t read(char* into, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            if (position_ == filled_ && !refill()) break;
            const std::size_t step = std::min(size - done, filled_ - position_);
            std::memcpy(into + done, buffer_.data() + position_, step);
            position_ += step;
            done += step;
        }
        if (done < size) failed_ = true;
        return done;
    }

    // The bytes up to the next zero byte, which is consumed and not kept. False when the data ends first.
    bool readString(std::string& text) {
        text.clear();
        for (;;) {
            if (position_ == filled_ && !refill()) {
                failed_ = true;
                return false;
            }
            const char* begin = buffer_.data() + position_;
            const std::size_t available = filled_ - position_;
            const void* zero = std::memchr(begin, 0, available);
            if (zero != nullptr) {
                const auto length = static_cast<std::size_t>(static_cast<const char*>(zero) - begin);
                text.append(begin, length);
                position_ += length + 1;
                return true;
            }
            text.append(begin, available);
            position_ = filled_;
        }
    }

    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    bool refill() {
        if (ended_) return false;
        position_ = 0;
        filled_ = source_.read(buffer_.data(), buffer_.size());
        if (filled_ < buffer_.size()) ended_ = true;
        return filled_ > 0;
    }

    ByteSource& source_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

// Reads up to count elements of elementSize bytes, a bounded batch at a time, so the vector grows only with
// data actually present. Stops at the first short read.
template <typename T, typename Decode>
void readArray(Reader& reader, std::size_t count, std::size_t elementSize, std::vector<T>& out, Decode decode) {
    out.clear();
    constexpr std::size_t kBatch = 1024;
    std::vector<char> buffer;
    while (count > 0) {
        const std::size_t want = count < kBatch ? count : kBatch;
        buffer.resize(want * elementSize);
        const std::size_t got = reader.read(buffer.data(), buffer.size());
        const std::size_t whole = got / elementSize;
        for (std::size_t i = 0; i < whole; ++i) out.push_back(decode(buffer.data() + i * elementSize));
        if (got < buffer.size()) return;
        count -= want;
    }
}

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(char* into, std::size_t size) override {
        const std::size_t step = std::min(size, bytes_.size());
        if (step > 0) std::memcpy(into, bytes_.data(), step);
        bytes_ = bytes_.subspan(step);
        return step;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    std::size_t read(char* into, std::size_t size) override { return std::fread(into, 1, size, file_); }

private:
    std::FILE* file_;
};


}  // namespace

void loadDescription(ProgramDescription& d, ByteSource& source, errorVX& error) {
    Reader reader(source);
    HeaderImage image = encodeHeader(d.header);
    reader.read(image.data(), 10);
    reader.read(image.data() + 10, 8);
    reader.read(image.data() + 18, 8);
    d.header = decodeHeader(image);
    const ConfigHeader& h = d.header;

    if (h.version < ProgramDescription::minVersion) raiseError(error, &errorVX::configError, kOldConfigVersion);
    if (h.version > ProgramDescription::maxVersion) raiseError(error, &errorVX::configError, kNewConfigVersion);

    readArray(reader, h.actionCount, kActionRecordSize, d.actionRecords, [](const char* p) {
        ActionRecord r;
        r.pathSpecNo = u16At(p, 0);
        r.manualSpecNo = u16At(p, 2);
        r.nextListNo = u16At(p, 4);
        r.textCount = byteAt(p, 6);
        r.reserved1 = byteAt(p, 7);
        r.placement = byteAt(p, 8);
        r.reserved2 = byteAt(p, 9);
        return r;
    });
    readArray(reader, h.pathSpecCount, kPathSpecRecordSize, d.pathSpecRecords, [](const char* p) {
        return PathSpecRecord{byteAt(p, 0), byteAt(p, 1)};
    });
    readArray(reader, h.listCount, 2, d.listLengths, [](const char* p) { return u16At(p, 0); });
    readArray(reader, h.listItemCount, 2, d.listItems, [](const char* p) { return u16At(p, 0); });
    readArray(reader, h.filterItemCount, 1, d.filterItems, [](const char* p) { return byteAt(p, 0); });

    // A string ends at its zero byte; a string the data ends inside is a cut file, even when every other
    // byte of it is present.
    d.stringTable.clear();
    for (std::size_t i = 0; i < h.stringCount; ++i) {
        std::string text;
        const bool whole = reader.readString(text);
        d.stringTable.push_back(std::move(text));
        if (!whole) raiseError(error, &errorVX::configError, kUnexpectedConfigEnd);
    }
    // A file cut inside the header or the arrays that declares no strings ends here.
    if (reader.failed()) raiseError(error, &errorVX::configError, kUnexpectedConfigEnd);
}

void loadDescription(ProgramDescription& d, std::span<const std::uint8_t> bytes, errorVX& error) {
    MemorySource source(bytes);
    loadDescription(d, source, error);
}

std::size_t stringsTaken(const ConfigHeader& h, std::span<const ActionRecord> actionRecords) {
    std::size_t taken = h.stringCount >= 6 ? 6 : 0;
    taken += h.listCount;
    for (const ActionRecord& r : actionRecords) taken += r.textCount > 1 ? 2 : 1;
    taken += h.pathSpecCount;
    taken += 2u * h.manualSpecCount;
    taken += h.filterTextCount;
    return taken;
}

namespace {

// "1 list", "4 lists".
std::string count(std::size_t n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

// "there is 1 list", "there are 4 lists".
std::string thereAre(std::size_t n, const char* singular, const char* plural) {
    return (n == 1 ? "there is " : "there are ") + count(n, singular, plural);
}

// Where entry `index` of a concatenated array (listItems, filterItems) belongs: "list 2's entry 3", counting
// from 1, or "after the last list's entries" for a spare entry.
template <typename Lengths, typename LengthOf>
std::string ownerOf(std::size_t index, const Lengths& lengths, LengthOf lengthOf, const char* owner,
                    const char* entry, const char* last) {
    std::size_t first = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const std::size_t length = lengthOf(lengths[i]);
        if (index < first + length) {
            return std::string(owner) + " " + std::to_string(i + 1) + "'s " + entry + " " +
                   std::to_string(index - first + 1);
        }
        first += length;
    }
    return std::string("after the last ") + last;
}

ConfigDamage damage(const char* reason, std::string detail) { return ConfigDamage{reason, std::move(detail)}; }

}  // namespace

std::optional<ConfigDamage> explainDamage(const ProgramDescription& d) {
    const ConfigHeader& h = d.header;
    if (d.actionRecords.size() != h.actionCount || d.pathSpecRecords.size() != h.pathSpecCount ||
        d.listLengths.size() != h.listCount || d.listItems.size() != h.listItemCount ||
        d.filterItems.size() != h.filterItemCount || d.stringTable.size() != h.stringCount)
        return damage("the raw arrays do not match the header counts",
                      "the raw arrays do not match the header counts");

    const auto listLength = [](std::uint16_t length) { return std::size_t{length}; };
    const auto filterCount = [](const PathSpecRecord& r) { return std::size_t{r.filterCount}; };
    for (std::size_t i = 0; i < d.listItems.size(); ++i) {
        if (d.listItems[i] >= h.actionCount) {
            return damage("a list item names no action",
                          "list item " + std::to_string(i + 1) + " (" +
                              ownerOf(i, d.listLengths, listLength, "list", "entry", "list's entries") + ") is " +
                              std::to_string(d.listItems[i]) + ", and " + thereAre(h.actionCount, "action", "actions") +
                              " (list items count them from 0)");
        }
    }
    for (std::size_t i = 0; i < d.actionRecords.size(); ++i) {
        const ActionRecord& r = d.actionRecords[i];
        const auto detail = [i](const char* field, unsigned value, const std::string& limit) {
            return "action " + std::to_string(i + 1) + "'s " + field + " is " + std::to_string(value) + ", and " +
                   limit;
        };
        if (r.nextListNo > h.listCount)
            return damage("an action's next list does not exist",
                          detail("next list", r.nextListNo, thereAre(h.listCount, "list", "lists")));
        if (r.pathSpecNo > h.pathSpecCount)
            return damage("an action's path spec does not exist",
                          detail("path spec", r.pathSpecNo, thereAre(h.pathSpecCount, "path spec", "path specs")));
        if (r.manualSpecNo > h.manualSpecCount)
            return damage("an action's manual spec does not exist",
                          detail("manual spec", r.manualSpecNo,
                                 thereAre(h.manualSpecCount, "manual spec", "manual specs")));
        if (r.textCount > 2)
            return damage("an action owns more than two strings",
                          detail("text count", r.textCount, "an action owns at most 2 strings"));
    }
    for (std::size_t i = 0; i < d.filterItems.size(); ++i) {
        if (d.filterItems[i] >= h.filterTextCount) {
            return damage("a filter item names no filter text",
                          "filter item " + std::to_string(i + 1) + " (" +
                              ownerOf(i, d.pathSpecRecords, filterCount, "path spec", "filter", "path spec's filters") +
                              ") is " + std::to_string(d.filterItems[i]) + ", and " +
                              thereAre(h.filterTextCount, "filter text", "filter texts") +
                              " (filter items count them from 0)");
        }
    }
    for (std::size_t i = 0; i < d.listLengths.size(); ++i) {
        if (d.listLengths[i] > kMaxListEntries)
            return damage("a list has more than 20 entries",
                          "list " + std::to_string(i + 1) + " has " + std::to_string(d.listLengths[i]) +
                              " entries, and a list holds at most 20");
    }

    struct Limit {
        std::uint16_t count;
        std::uint16_t limit;
        const char* reason;
        const char* plural;
    };
    const Limit limits[] = {{h.listCount, kListLimit, "too many lists", "lists"},
                            {h.actionCount, kActionLimit, "too many actions", "actions"},
                            {h.pathSpecCount, kPathSpecLimit, "too many path specs", "path specs"},
                            {h.manualSpecCount, kManualSpecLimit, "too many manual specs", "manual specs"},
                            {h.filterTextCount, kFilterTextLimit, "too many filter texts", "filter texts"}};
    for (const Limit& l : limits) {
        if (l.count >= l.limit)
            return damage(l.reason, "there are " + std::to_string(l.count) + " " + l.plural + ", and at most " +
                                        std::to_string(l.limit - 1) + " are allowed");
    }
    if (h.firstList >= h.listCount)
        return damage("the first list does not exist", "the first list is " + std::to_string(h.firstList) +
                                                           " (counted from 0), and " +
                                                           thereAre(h.listCount, "list", "lists"));

    std::size_t listEntries = 0;
    for (std::uint16_t length : d.listLengths) listEntries += length;
    if (listEntries > h.listItemCount)
        return damage("the lists need more list items than the file holds",
                      "the lists' lengths add up to " + std::to_string(listEntries) + ", and the file holds " +
                          count(h.listItemCount, "list item", "list items"));
    std::size_t filterEntries = 0;
    for (const PathSpecRecord& r : d.pathSpecRecords) filterEntries += r.filterCount;
    if (filterEntries > h.filterItemCount)
        return damage("the path specs need more filter items than the file holds",
                      "the path specs' filter counts add up to " + std::to_string(filterEntries) +
                          ", and the file holds " + count(h.filterItemCount, "filter item", "filter items"));

    if (h.stringCount < 2)
        return damage("fewer than two strings", "the file holds " + count(h.stringCount, "string", "strings") +
                                                    ", and a config needs at least 2");
    const std::size_t taken = stringsTaken(h, d.actionRecords);
    if (h.stringCount < taken)
        return damage("fewer strings than the tables take", "the file holds " +
                                                                count(h.stringCount, "string", "strings") +
                                                                ", and the tables take " + std::to_string(taken));

    if (d.listLengths[h.firstList] == 0)
        return damage("the first list is empty", "the first list (list " + std::to_string(h.firstList + 1) +
                                                     ") is empty, and page 1 shows it");
    for (std::size_t i = 0; i < d.actionRecords.size(); ++i) {
        const std::uint16_t next = d.actionRecords[i].nextListNo;
        if (next != 0 && d.listLengths[next - 1u] == 0) {
            const std::string action = "action " + std::to_string(i + 1);
            return damage("an action's next list is empty", action + "'s next list (list " + std::to_string(next) +
                                                                ") is empty, and the page after " + action +
                                                                " shows it");
        }
    }
    return std::nullopt;
}

const char* findDamage(const ProgramDescription& d) {
    const auto found = explainDamage(d);
    return found ? found->reason : nullptr;
}

void validateDescription(const ProgramDescription& d, errorVX& error) {
    if (findDamage(d) != nullptr) raiseError(error, &errorVX::configError, kConfigDamaged);
}

void loadConfigFile(const std::string& path, ProgramDescription& d, errorVX& error) {
    int openError = 0;
    loadConfigFile(path, d, error, openError);
}

void loadConfigFile(const std::string& path, ProgramDescription& d, errorVX& error, int& openError) {
    openError = 0;
    bool folder = false;
#ifndef _WIN32
    // Windows refuses to open a folder as a file; elsewhere the open succeeds, so refuse it here alike.
    std::error_code ignored;
    folder = !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), ignored);
    if (folder) openError = EISDIR;
#endif
    FilePointer file;
    if (!path.empty() && !folder) file = openFile(path, "rb", openError);
    if (!file) raiseError(error, &errorVX::fileError, kLoadFileError);
    if (fileSize(file.get()) == 0) raiseError(error, &errorVX::fileError, kEmptyFile);
    FileSource source(file.get());
    loadDescription(d, source, error);
    file.reset();
    validateDescription(d, error);
}

}  // namespace brennic

namespace brennic {

void decodeConfigTexts(ProgramDescription& d, const CodePage& legacyTexts) {
    const bool utf8 = d.header.textsAreUtf8();
    for (std::string& text : d.stringTable) text = utf8 ? validUtf8(text) : legacyTexts.toUtf8(text);
}

}  // namespace brennic
