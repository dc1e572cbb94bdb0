// The config reader: unformatted stream reads with the stream's own end-of-file rules, so that a file cut
// anywhere is reported the same way whether it is read from disk or from memory.
#include "description/config_loader.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <streambuf>
#include <vector>

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

// Reads up to count elements of elementSize bytes, a bounded batch at a time, so the vector grows only with
// data actually present. Stops at the first short read (the stream is then at end of file and failed).
template <typename T, typename Decode>
void readArray(std::istream& stream, std::size_t count, std::size_t elementSize, std::vector<T>& out,
               Decode decode) {
    out.clear();
    constexpr std::size_t kBatch = 1024;
    std::vector<char> buffer;
    while (count > 0) {
        const std::size_t want = count < kBatch ? count : kBatch;
        buffer.resize(want * elementSize);
        stream.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(stream.gcount());
        const std::size_t whole = got / elementSize;
        for (std::size_t i = 0; i < whole; ++i) out.push_back(decode(buffer.data() + i * elementSize));
        if (got < buffer.size()) return;
        count -= want;
    }
}

// A read-only stream buffer over bytes in memory.
class MemoryBuffer : public std::streambuf {
public:
    explicit MemoryBuffer(std::span<const std::uint8_t> bytes) {
        // The get area is never written through; std::streambuf only offers a non-const interface.
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
        setg(begin, begin, begin + bytes.size());
    }
};

}  // namespace

std::uint64_t configFileSize(std::istream& stream) {
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(0, std::ios::beg);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

void loadDescription(ProgramDescription& d, std::istream& stream, errorVX& error) {
    HeaderImage image = encodeHeader(d.header);
    stream.read(image.data(), 10);
    stream.read(image.data() + 10, 8);
    stream.read(image.data() + 18, 8);
    d.header = decodeHeader(image);
    const ConfigHeader& h = d.header;

    if (h.version < ProgramDescription::minVersion) raiseError(error, &errorVX::configError, kOldConfigVersion);
    if (h.version > ProgramDescription::maxVersion) raiseError(error, &errorVX::configError, kNewConfigVersion);

    readArray(stream, h.actionCount, kActionRecordSize, d.actionRecords, [](const char* p) {
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
    readArray(stream, h.pathSpecCount, kPathSpecRecordSize, d.pathSpecRecords, [](const char* p) {
        return PathSpecRecord{byteAt(p, 0), byteAt(p, 1)};
    });
    readArray(stream, h.listCount, 2, d.listLengths, [](const char* p) { return u16At(p, 0); });
    readArray(stream, h.listItemCount, 2, d.listItems, [](const char* p) { return u16At(p, 0); });
    readArray(stream, h.filterItemCount, 1, d.filterItems, [](const char* p) { return byteAt(p, 0); });

    // A string ends at its zero byte; reaching the end of the file first leaves the stream at end of file,
    // even when every other byte of the string is present.
    d.stringTable.clear();
    for (std::size_t i = 0; i < h.stringCount; ++i) {
        std::string text;
        std::getline(stream, text, '\0');
        d.stringTable.push_back(std::move(text));
        if (stream.eof()) raiseError(error, &errorVX::configError, kUnexpectedConfigEnd);
    }
    // A file cut inside the header or the arrays that declares no strings ends here with a failed stream.
    if (!stream.good()) raiseError(error, &errorVX::configError, kUnexpectedConfigEnd);
}

void loadDescription(ProgramDescription& d, std::span<const std::uint8_t> bytes, errorVX& error) {
    MemoryBuffer buffer(bytes);
    std::istream stream(&buffer);
    loadDescription(d, stream, error);
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

const char* findDamage(const ProgramDescription& d) {
    const ConfigHeader& h = d.header;
    if (d.actionRecords.size() != h.actionCount || d.pathSpecRecords.size() != h.pathSpecCount ||
        d.listLengths.size() != h.listCount || d.listItems.size() != h.listItemCount ||
        d.filterItems.size() != h.filterItemCount || d.stringTable.size() != h.stringCount)
        return "the raw arrays do not match the header counts";

    for (std::uint16_t item : d.listItems)
        if (item >= h.actionCount) return "a list item names no action";
    for (const ActionRecord& r : d.actionRecords) {
        if (r.nextListNo > h.listCount) return "an action's next list does not exist";
        if (r.pathSpecNo > h.pathSpecCount) return "an action's path spec does not exist";
        if (r.manualSpecNo > h.manualSpecCount) return "an action's manual spec does not exist";
        if (r.textCount > 2) return "an action owns more than two strings";
    }
    for (std::uint8_t item : d.filterItems)
        if (item >= h.filterTextCount) return "a filter item names no filter text";
    for (std::uint16_t length : d.listLengths)
        if (length > kMaxListEntries) return "a list has more than 20 entries";

    if (h.listCount >= kListLimit) return "too many lists";
    if (h.actionCount >= kActionLimit) return "too many actions";
    if (h.pathSpecCount >= kPathSpecLimit) return "too many path specs";
    if (h.manualSpecCount >= kManualSpecLimit) return "too many manual specs";
    if (h.filterTextCount >= kFilterTextLimit) return "too many filter texts";
    if (h.firstList >= h.listCount) return "the first list does not exist";

    std::size_t listEntries = 0;
    for (std::uint16_t length : d.listLengths) listEntries += length;
    if (listEntries > h.listItemCount) return "the lists need more list items than the file holds";
    std::size_t filterEntries = 0;
    for (const PathSpecRecord& r : d.pathSpecRecords) filterEntries += r.filterCount;
    if (filterEntries > h.filterItemCount) return "the path specs need more filter items than the file holds";

    if (h.stringCount < 2) return "fewer than two strings";
    if (h.stringCount < stringsTaken(h, d.actionRecords)) return "fewer strings than the tables take";

    if (d.listLengths[h.firstList] == 0) return "the first list is empty";
    for (const ActionRecord& r : d.actionRecords)
        if (r.nextListNo != 0 && d.listLengths[r.nextListNo - 1u] == 0) return "an action's next list is empty";
    return nullptr;
}

void validateDescription(const ProgramDescription& d, errorVX& error) {
    if (findDamage(d) != nullptr) raiseError(error, &errorVX::configError, kConfigDamaged);
}

void loadConfigFile(const std::string& path, ProgramDescription& d, errorVX& error) {
    std::ifstream file;
    bool folder = false;
#ifndef _WIN32
    // Windows refuses to open a folder as a file; elsewhere the open succeeds, so refuse it here alike.
    std::error_code ignored;
    folder = !path.empty() && std::filesystem::is_directory(std::filesystem::path(path), ignored);
#endif
    if (!path.empty() && !folder) file.open(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) raiseError(error, &errorVX::fileError, kLoadFileError);
    if (configFileSize(file) == 0) raiseError(error, &errorVX::fileError, kEmptyFile);
    loadDescription(d, file, error);
    file.close();
    validateDescription(d, error);
}

}  // namespace brennic
