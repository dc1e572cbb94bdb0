// The save file: the state of the three argument pages, written on request and restored at start-up.
//
// Layout (no header; numbers little-endian; texts end in one zero byte):
//   1. per page: enabled (1 byte); when non-zero, path flag and manual flag (1 byte each)
//   2. per page in use: group, item (2 bytes each)
//   3. the number of texts that follow (1 byte)
//   4. per page: the path when its path flag is set, then the manual text when its manual flag is set
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pages/argument_slot.h"
#include "pages/page_controls.h"

namespace brennic {

class FileStore;
class MessageBoxes;
class ProgramDescription;

// A longer save file is read only up to this size (a valid one is under 2 kB).
inline constexpr std::size_t kSaveFileReadLimit = 1 << 20;

// The file's bytes for the slots. A page's manual text is read from its field (at most 259 characters);
// a non-empty one is also kept as the slot's manualText.
std::string encodeSaveFile(ArgumentSlots& slots, const PageControlsTable& controls);

// Reads a whole save file into the slots. False, with the slots untouched, when the file ends before all
// its blocks and announced texts were read; bytes after the last text are ignored.
bool decodeSaveFile(std::string_view bytes, ArgumentSlots& slots);

// Writes the save file: a temporary file beside it is written and flushed, then moved over the old one,
// so a failed save leaves the previous file as it was. Any failure shows "Error save!" and returns false.
bool writeSaveFile(ArgumentSlots& slots, const PageControlsTable& controls, const std::string& saveFilePath,
                   FileStore& files, MessageBoxes& boxes);

// Reads the save file into the slots; false, silently and with the slots untouched, when it is missing,
// unreadable or incomplete.
bool loadSaveFile(ArgumentSlots& slots, const std::string& saveFilePath, FileStore& files);

// Beeps and asks whether the damaged save file should go; Yes deletes it.
void offerSaveFileRemoval(const std::string& saveFilePath, FileStore& files, MessageBoxes& boxes);

// The start-up step: loads the save file, checks it against the description and offers a file that does
// not fit for removal. Returns savedStateValid. When it is false the slots hold no restored state.
bool restoreSavedState(ArgumentSlots& slots, const ProgramDescription& description,
                       const std::string& saveFilePath, FileStore& files, MessageBoxes& boxes);

}  // namespace brennic
