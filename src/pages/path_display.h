// How a path is shown on a page, and the file-type filter list the file dialogs receive.
#pragma once

#include <cstddef>
#include <string>

namespace brennic {

class ProgramDescription;
struct PathSpec;

// Size of the file dialogs' filter buffer, terminating zeros included.
inline constexpr std::size_t kFilterBufferSize = 2000;

// The filter used when a path spec names none or its texts do not fit: description, 0x01, pattern, 0x01.
inline constexpr const char kDefaultFilter[] = "Default (*.*)\x01*.*\x01";

// The path's components in reverse order: C:\Tools\app\in.txt shows as in.txt\app\Tools\C: and C:\ as \C:.
std::string displayPath(const std::string& path);

// The filter text of a path spec in its stored form (0x01 between the parts): its filter texts joined
// in order, or the default filter when it names none, names one that does not exist, or the joined
// text reaches the filter buffer's size.
std::string buildFilterText(const ProgramDescription& description, const PathSpec& spec);

// The list handed to a file dialog, built from a filter text: description and pattern pairs, each part
// ended by a zero byte, the list ended by one more zero byte. Only complete pairs before the first empty part
// are kept; when none remains, or the list would not fit the filter buffer, it is the default filter's list.
// The result never exceeds kFilterBufferSize bytes and always ends in two zero bytes.
std::string filterList(const std::string& filterText);

// A remembered path as it may be placed in a dialog's 260-byte text buffer: cut to at most 259 characters.
std::string dialogInitialText(const std::string& path);

}  // namespace brennic
