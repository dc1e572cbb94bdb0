// The Presets menu's Win32 side: the name and delete dialogs (modal, as functions) and the menu items that
// list the presets and the recent runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/presets_commands.h"

namespace brennic {

// Dialog 130: asks for a preset's name, `initial` shown selected; nothing when cancelled.
std::optional<std::string> askPresetNameDialog(HWND owner, const std::string& initial);
// Dialog 131: one of the names, or nothing when cancelled.
std::optional<std::string> choosePresetDialog(HWND owner, const std::vector<std::string>& names);

// Replaces the listed items of the menu bar's "Presets" popup (the presets) or of its "Recent runs" submenu.
void setPresetMenuItems(HMENU bar, const std::vector<PresetsMenuItem>& items);
void setRecentRunMenuItems(HMENU bar, const std::vector<PresetsMenuItem>& items);

// "YYYY-MM-DD HH:MM" in the user's local time.
std::string localTimeText(std::int64_t secondsSince1970);

}  // namespace brennic
