// Assembly of the described program's parameter text from the three argument pages.
#pragma once

#include <string>
#include <string_view>

#include "description/program_description.h"
#include "pages/argument_slot.h"
#include "pages/page_controls.h"

namespace brennic {

// Placeholder marks inside an action text.
inline constexpr std::string_view kPathMark = "p@";
inline constexpr std::string_view kManualMark = "m@";

inline constexpr const char* kEmptyPathWarning = "Empty path";
inline constexpr const char* kEmptyManualWarning = "Empty manual args";

// Appends "Argument <pageIndex + 1> <message>\n" to the log.
void addWarning(WarningLog& log, int pageIndex, const std::string& message);

// Cuts the next token off the front of manual (which has no leading spaces): a quoted token with its
// quotes when a closing quote follows the opening one, otherwise everything up to the first space (the
// space is dropped) or the whole text.
std::string takeToken(std::string& manual);

// Puts successive tokens of manual into the "m@" marks of action, from index 1 on. Marks left over stay
// literally; tokens left over stay in manual.
void distributeManualArguments(std::string& action, std::string& manual);

// The text of one page. Reads the live manual text through controls (none: empty), cut to 259
// characters; may append warnings to the description's log.
std::string buildArgumentText(ProgramDescription& description, int pageIndex, const ArgumentSlot& slot,
                              const ActionEntry& entry, const PageControls* controls);

// The parameter text of all enabled pages in page order. A slot whose list or entry does not exist in the
// description contributes nothing.
std::string buildParameters(ProgramDescription& description, const ArgumentSlots& slots,
                            const PageControlsTable& controls);

}  // namespace brennic
