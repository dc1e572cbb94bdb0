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

// The name a save dialog gives back, with the extension of the chosen filter added when the typed name has
// none and the filter's pattern is one "*.ext" (no wildcard in ext, no second pattern). `list` is the
// zero-separated list the dialog was given, `filterIndex` its 1-based choice (0: no filter chosen).
std::string withDefaultExtension(const std::string& name, const std::string& list, unsigned filterIndex);

// A path from a file or folder dialog. An empty one, or one longer than 259 characters, counts as a cancel:
// the slot is left as it was. True when the slot took the path.
bool takeChosenPath(ArgumentSlot& slot, const std::string& chosen);

// The first dropped file's name. A name longer than 259 characters is refused with a message box; the slot
// keeps its path. True when the slot took the name.
bool takeDroppedName(ArgumentSlot& slot, const std::string& name, MessageBoxes& boxes);

}  // namespace brennic
