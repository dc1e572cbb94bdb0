// Reading a config file into a ProgramDescription and the consistency tests made right after reading.
//
// File layout (little-endian, no padding): a 26-byte header (6 reserved bytes, then version, stringCount,
// firstList, listCount, listItemCount, filterItemCount, actionCount, pathSpecCount, filterTextCount,
// manualSpecCount as 16-bit values), actionCount 10-byte action records, pathSpecCount 2-byte path-spec
// records, listCount 16-bit list lengths, listItemCount 16-bit list items, filterItemCount 8-bit filter items,
// then stringCount zero-terminated strings. Bytes after the last string are never read.
//
// Start-up runs: loadConfigFile (open, size, loadDescription, validateDescription), then makeSaveFilePath and
// checkSlots on the raw state, then buildTables. Every failure is raised as an errorVX (see config_error.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

#include "description/config_error.h"
#include "state/program_description.h"

namespace brennic {

class CodePage;

inline constexpr std::size_t kConfigHeaderSize = 26;
inline constexpr std::size_t kActionRecordSize = 10;
inline constexpr std::size_t kPathSpecRecordSize = 2;

// The length of an opened stream in bytes (seek to the end, take the position, seek back to the start);
// 0 when the stream cannot tell its length.
std::uint64_t configFileSize(std::istream& stream);

// A sequential source of config bytes: read() copies up to size bytes and returns how many it copied; fewer
// than asked for means the source has ended.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t read(char* into, std::size_t size) = 0;
};

// Reads the header, the raw arrays and the string table into the description.
// The header is filled by three reads of 10, 8 and 8 bytes; a short read keeps the rest of the header as it was.
// Raises configError 1 (version below minVersion) or 2 (above maxVersion) before any array is read, and
// configError 3 when the file ends before the zero byte of a string, or when it ends inside the header or the
// arrays at all (also for a file that declares no strings). Arrays grow only as far as the file holds data, so
// no count causes a large allocation up front. After a raise the raw state is incomplete and must not be used.
void loadDescription(ProgramDescription& description, ByteSource& source, errorVX& error);
// The same from a stream (read unformatted; it must not have an exception mask set) and from bytes in memory,
// with identical results.
void loadDescription(ProgramDescription& description, std::istream& stream, errorVX& error);
void loadDescription(ProgramDescription& description, std::span<const std::uint8_t> bytes, errorVX& error);

// The number of strings buildTables takes for this header and these action records.
std::size_t stringsTaken(const ConfigHeader& header, std::span<const ActionRecord> actionRecords);

// Why the loaded raw state cannot be built into tables, or nullptr when it can. Tests, in this order:
// every listItems entry below actionCount; per action record nextListNo <= listCount, pathSpecNo <=
// pathSpecCount, manualSpecNo <= manualSpecCount, textCount <= 2; every filterItems entry below
// filterTextCount; every list length at most 20; then the counts below their table limits, firstList below
// listCount, list lengths and filter counts within their arrays, enough strings (at least 2, and all that
// buildTables takes), and entries in every list a page can show (firstList and every action's next list).
// A raw state whose arrays do not match the header counts is refused first.
const char* findDamage(const ProgramDescription& description);

// What findDamage finds, with its detail for a config author: which record or table, which field, its value
// and the limit it breaks, e.g. "action 1's next list is 99, and there are 4 lists". Records and entries are
// counted from 1, as the file's references count them; values the file counts from 0 say so.
struct ConfigDamage {
    const char* reason;  // findDamage's text
    std::string detail;
};
std::optional<ConfigDamage> explainDamage(const ProgramDescription& description);

// Raises configError 4 ("The config is damaged") when findDamage finds a fault.
void validateDescription(const ProgramDescription& description, errorVX& error);

// Turns the string table into the UTF-8 texts Brennic works with: a config marked kUtf8TextsMarker holds UTF-8
// (a malformed byte shows as U+FFFD), any other holds texts in the system's ANSI code page. Byte 1, the filter
// texts' separator, stays byte 1 in both.
void decodeConfigTexts(ProgramDescription& description, const CodePage& legacyTexts);

// What start-up does with the config file up to validation: raises fileError 1 when the file cannot be opened
// (an empty path included), fileError 2 when it is empty, then loadDescription and validateDescription.
// The caller runs makeSaveFilePath, checkSlots and buildTables afterwards.
void loadConfigFile(const std::string& path, ProgramDescription& description, errorVX& error);
// The same, and `openError` is the errno value of a failed open (0 when the file opened), for saying why.
void loadConfigFile(const std::string& path, ProgramDescription& description, errorVX& error, int& openError);

}  // namespace brennic
