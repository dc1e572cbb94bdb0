// Writing config files: the raw part of a description as bytes, and the raw part made from built tables.
#pragma once

#include <cstdint>
#include <vector>

#include "state/program_description.h"

namespace brennic {

// The raw part of the description as config bytes: the header as stored (reserved bytes included), the action
// records, path-spec records, listLengths, listItems, filterItems and stringTable, each written in full.
// The header counts are written as they stand, so a test can declare more than the arrays hold; the arrays are
// not checked against them. A string holding a zero byte cannot be stored: std::invalid_argument.
std::vector<std::uint8_t> writeConfig(const ProgramDescription& description);

// Fills the raw part (header counts, records, arrays, string table) from the built tables and the six
// description texts, so that loading writeConfig's bytes and building gives the same tables again.
// version, firstList and the reserved header bytes are kept as they stand in the header; record reserved bytes
// are 0. An action takes two strings exactly when its actionText is not empty; every list and path
// spec is written with as many entries as its vector holds (entryCount and filterCount are not read).
// Throws std::length_error when a count or index cannot be stored (more than 65535 entries, more than 255
// filters in one path spec, a filter index above 255, or a table mode flag naming an index too large).
void rawFromTables(ProgramDescription& description);

}  // namespace brennic
