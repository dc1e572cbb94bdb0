// What a page does with a path the user chose or dropped: the rules that need no platform.
#pragma once

#include <string>

#include "state/argument_slot.h"

namespace brennic {

class MessageBoxes;

inline constexpr const char kDroppedNameTooLong[] =
    "The dropped file's name is longer than 259 characters and cannot be used.";
inline constexpr const char kDroppedNameCaption[] = "Err...";

// File dialog flags, the platform's own values.
inline constexpr unsigned kOfnNoChangeDir = 0x8;
inline constexpr unsigned kOfnPathMustExist = 0x800;
inline constexpr unsigned kOfnFileMustExist = 0x1000;

// The flags a file dialog runs with. Neither dialog may move the process's current directory; the save dialog
// must accept a name that does not exist yet, so only the open dialog asks for an existing file.
unsigned fileDialogFlags(bool saveDialog);

// A path from a file or folder dialog. An empty one, or one longer than 259 characters, counts as a cancel:
// the slot is left as it was. True when the slot took the path.
bool takeChosenPath(ArgumentSlot& slot, const std::string& chosen);

// The first dropped file's name. A name longer than 259 characters is refused with a message box; the slot
// keeps its path. True when the slot took the name.
bool takeDroppedName(ArgumentSlot& slot, const std::string& name, MessageBoxes& boxes);

}  // namespace brennic
