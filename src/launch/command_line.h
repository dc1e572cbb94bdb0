// Assembly of the described program's parameter text from the three argument pages.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "state/program_description.h"
#include "state/argument_slot.h"
#include "state/page_controls.h"

namespace brennic {

// Placeholder marks inside an action text.
inline constexpr std::string_view kPathMark = "p@";
inline constexpr std::string_view kManualMark = "m@";

inline constexpr const char* kEmptyPathWarning = "Empty path";
inline constexpr const char* kEmptyManualWarning = "Empty manual args";

// What one page lacks of what its selected entry asks for: the ingredients a Start warns about.
struct MissingIngredients {
    bool path = false;    // the entry takes a path and none is chosen
    bool manual = false;  // the entry takes manual arguments and the field is empty
};
using MissingByPage = std::array<MissingIngredients, kArgumentCount>;

// Appends "Argument <pageIndex + 1> <message>\n" to the log.
void addWarning(WarningLog& log, int pageIndex, const std::string& message);
// Appends the lines for everything missing: pages in order, each page's path before its manual arguments.
void addWarnings(WarningLog& log, const MissingByPage& missing);

// Cuts the next token off the front of manual (which has no leading spaces): a quoted token with its
// quotes when a closing quote follows the opening one, otherwise everything up to the first space (the
// space is dropped) or the whole text.
std::string takeToken(std::string& manual);

// Puts successive tokens of manual into the "m@" marks of action, from index 1 on. Marks left over stay
// literally; tokens left over stay in manual.
void distributeManualArguments(std::string& action, std::string& manual);

// The text of one page. Reads the live manual text through controls (none: empty), cut to 259
// characters, and records in missing what the entry asks for and the page lacks. Changes nothing else.
std::string buildArgumentText(const ArgumentSlot& slot, const ActionEntry& entry, const PageControls* controls,
                              MissingIngredients& missing);
// The same, with what is missing appended to the description's log as warning lines.
std::string buildArgumentText(ProgramDescription& description, int pageIndex, const ArgumentSlot& slot,
                              const ActionEntry& entry, const PageControls* controls);

// The parameter text of all enabled pages in page order, and what each of them lacks. A slot whose list or
// entry does not exist in the description contributes nothing.
std::string buildParameters(const ProgramDescription& description, const ArgumentSlots& slots,
                            const PageControlsTable& controls, MissingByPage& missing);
// The same, with what is missing appended to the description's log as warning lines.
std::string buildParameters(ProgramDescription& description, const ArgumentSlots& slots,
                            const PageControlsTable& controls);

}  // namespace brennic
