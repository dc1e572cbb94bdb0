// The save file: the state of the three argument pages, written on request and restored at start-up.
//
// Layout (no header; numbers little-endian; texts end in one zero byte):
//   1. per page: enabled (1 byte); when non-zero, path flag and manual flag (1 byte each)
//   2. per page in use: group, item (2 bytes each)
//   3. the number of texts that follow (1 byte)
//   4. per page: the path when its path flag is set, then the manual text when its manual flag is set
//
// Texts are stored in the system's ANSI code page, so that a file whose texts all fit it is exactly the file
// earlier versions wrote and read. When a text does not fit (a name in another script), its block-4 form has
// '?' for each character the code page lacks, and the file goes on after the last text with
//   5. the 6 bytes "UTF-8" and a zero byte, then every text of block 4 again, in the same order, as UTF-8
// Earlier versions ignore bytes after the last text and restore the '?' forms; this one restores the UTF-8 texts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "state/argument_slot.h"
#include "state/page_controls.h"
#include "platform/text.h"

namespace brennic {

class FileStore;
class MessageBoxes;
class ProgramDescription;

// A longer save file is read only up to this size (a valid one is under 2 kB).
inline constexpr std::size_t kSaveFileReadLimit = 1 << 20;

// Block 5's opening bytes.
inline constexpr std::string_view kUtf8TextsTag{"UTF-8\0", 6};

// The file's bytes for the slots. A page's manual text is read from its field (at most 259 characters);
// a non-empty one is also kept as the slot's manualText.
std::string encodeSaveFile(ArgumentSlots& slots, const PageControlsTable& controls, const CodePage& legacyTexts);

// Reads a whole save file into the slots. False, with the slots untouched, when the file ends before all
// its blocks and announced texts were read. After the last text, a complete block 5 of valid UTF-8 texts
// replaces block 4's texts; any other bytes there are ignored.
bool decodeSaveFile(std::string_view bytes, ArgumentSlots& slots, const CodePage& legacyTexts);

// Writes the save file: a temporary file beside it is written and flushed, then moved over the old one,
// so a failed save leaves the previous file as it was. Any failure shows "Error save!" and returns false.
bool writeSaveFile(ArgumentSlots& slots, const PageControlsTable& controls, const std::string& saveFilePath,
                   FileStore& files, MessageBoxes& boxes, const CodePage& legacyTexts);

// Reads the save file into the slots; false, silently and with the slots untouched, when it is missing,
// unreadable or incomplete.
bool loadSaveFile(ArgumentSlots& slots, const std::string& saveFilePath, FileStore& files,
                  const CodePage& legacyTexts);

// Why slots read from a save file or a preset do not fit the description, in plain words; empty when they
// fit. `source` names where they were kept ("the file", "the preset").
std::string savedStateMisfit(const ProgramDescription& description, const ArgumentSlots& slots,
                             const std::string& source);

// Beeps and asks whether the damaged save file should go; Yes deletes it. A non-empty `reason` is shown on
// the lines below the question.
void offerSaveFileRemoval(const std::string& saveFilePath, FileStore& files, MessageBoxes& boxes,
                          const std::string& reason = {});

// Texts stored as UTF-8 as they are: the code page of the page states inside Brennic's own record files.
class Utf8Texts : public CodePage {
public:
    std::string toUtf8(std::string_view bytes) const override;
    std::optional<std::string> fromUtf8(std::string_view text) const override;
};

// The start-up step: loads the save file, checks it against the description and offers a file that does
// not fit for removal. Returns savedStateValid. When it is false the slots hold no restored state.
bool restoreSavedState(ArgumentSlots& slots, const ProgramDescription& description,
                       const std::string& saveFilePath, FileStore& files, MessageBoxes& boxes,
                       const CodePage& legacyTexts);

}  // namespace brennic
