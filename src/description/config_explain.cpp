// Why a config file was refused, in words for its author.
#include "description/config_explain.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "description/config_loader.h"
#include "platform/files.h"

namespace brennic {

namespace {

std::string count(std::uint64_t n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

// Where a file that ends too soon ends: in the header, in one of the arrays, or in a string, from the header
// counts and the file's length.
std::string whereTheFileEnds(const ProgramDescription& d, std::uint64_t size) {
    if (size < kConfigHeaderSize) {
        return "the file is " + count(size, "byte", "bytes") + " long and ends inside the 26-byte header";
    }
    const ConfigHeader& h = d.header;
    struct Section {
        const char* name;
        std::size_t count;
        std::size_t size;
    };
    const Section sections[] = {{"action records", h.actionCount, kActionRecordSize},
                                {"path-spec records", h.pathSpecCount, kPathSpecRecordSize},
                                {"list lengths", h.listCount, 2},
                                {"list items", h.listItemCount, 2},
                                {"filter items", h.filterItemCount, 1}};
    std::uint64_t start = kConfigHeaderSize;
    for (const Section& section : sections) {
        const std::uint64_t end = start + std::uint64_t{section.count} * section.size;
        if (size < end) {
            return "the file ends inside the " + std::string(section.name) + ": it holds " +
                   std::to_string((size - start) / section.size) + " of the " + std::to_string(section.count) +
                   " the header counts";
        }
        start = end;
    }
    return "string " + std::to_string(d.stringTable.size()) + " of " + std::to_string(h.stringCount) +
           " has no zero byte: the file ends first";
}

std::uint64_t sizeOf(const std::string& path) {
    const FilePointer file = openFile(path, "rb");
    return file ? fileSize(file.get()) : 0;
}

}  // namespace

std::string explainConfigError(const errorVX& raised, const std::string& path, const ProgramDescription& d,
                               int openError) {
    switch (raised.configError) {
        case kOldConfigVersion:
        case kNewConfigVersion: {
            const std::uint64_t size = sizeOf(path);
            if (size < 8) {
                return "the file is " + count(size, "byte", "bytes") +
                       " long, too short to hold the version (bytes 7 and 8)";
            }
            return "the version is " + std::to_string(d.header.version) + ", and Brennic reads versions " +
                   std::to_string(ProgramDescription::minVersion) + " to " +
                   std::to_string(ProgramDescription::maxVersion);
        }
        case kUnexpectedConfigEnd: return whereTheFileEnds(d, sizeOf(path));
        case kConfigDamaged:
            if (const auto damage = explainDamage(d)) return damage->detail;
            return {};
        default: break;
    }
    if (raised.fileError == kLoadFileError) {
        if (path.empty()) return "the file name is empty";
        if (openError == EISDIR || isFolder(path)) return "it is a folder";
        if (openError == ENOENT) return "there is no such file";
        std::string reason = "the file cannot be opened for reading";
        if (openError != 0) reason += " (" + std::generic_category().message(openError) + ")";
        return reason;
    }
    if (raised.fileError == kEmptyFile) return "the file is 0 bytes long";
    return {};
}

std::string configErrorBoxText(const std::string& message, const std::string& path, const std::string& reason) {
    if (path.empty() && reason.empty()) return message;
    std::string text = message + "\n";
    if (!path.empty()) text += "\nConfig file: " + path;
    if (!reason.empty()) {
        std::string sentence = reason;
        if (sentence[0] >= 'a' && sentence[0] <= 'z') sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
        text += "\n" + sentence;
    }
    return text;
}

}  // namespace brennic
